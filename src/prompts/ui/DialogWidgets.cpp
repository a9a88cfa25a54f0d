#include "prompts/ui/DialogWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace quenderlink {

QString DialogText(const std::string& text) { return QString::fromStdString(text).remove(QLatin1Char('\r')); }

QLabel* PlainLabel(const QString& text, const char* objectName, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(objectName);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  return label;
}

QLabel* HeadingLabel(const QString& text, const char* objectName, QWidget* parent) {
  QLabel* label = PlainLabel(text, objectName, parent);
  label->setWordWrap(false);
  QFont font = label->font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.3);
  label->setFont(font);
  return label;
}

QLabel* PictureLabel(QStyle::StandardPixmap picture, QWidget* parent) {
  auto* label = new QLabel(parent);
  const int size = parent->style()->pixelMetric(QStyle::PM_MessageBoxIconSize) * 3 / 2;
  label->setPixmap(parent->style()->standardIcon(picture).pixmap(size, size));
  label->setAlignment(Qt::AlignTop);
  return label;
}

QPushButton* NamedButton(const QString& caption, const char* objectName, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(objectName);
  return button;
}

QPushButton* LargeButton(const QString& caption, const char* objectName, QWidget* parent) {
  QPushButton* button = NamedButton(caption, objectName, parent);
  button->setMinimumSize(180, 48);
  QFont font = button->font();
  font.setBold(true);
  button->setFont(font);
  return button;
}

QHBoxLayout* LeftPackedRow(std::initializer_list<QWidget*> controls) {
  auto* row = new QHBoxLayout;
  for (QWidget* control : controls) row->addWidget(control);
  row->addStretch(1);
  return row;
}

}  // namespace quenderlink
