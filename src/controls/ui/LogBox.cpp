#include "controls/ui/LogBox.h"

#include <QScrollBar>
#include <QTextCursor>

namespace quenderlink {

namespace {

QColor ColorOf(LogClass logClass) {
  switch (logClass) {
    case LogClass::Progress: return Qt::black;
    case LogClass::Response: return QColor(0, 0, 192);
    case LogClass::Caution: return QColor(204, 102, 0);
    case LogClass::Error: return QColor(192, 0, 0);
    case LogClass::Success: return QColor(0, 128, 0);
  }
  return Qt::black;
}

}  // namespace

LogBox::LogBox(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setUndoRedoEnabled(false);
}

void LogBox::Append(LogClass logClass, const std::string& text) { AppendAll({{logClass, text}}); }

void LogBox::AppendAll(const std::vector<std::pair<LogClass, std::string>>& texts) {
  if (texts.empty()) return;
  // A cursor of its own: the user's selection stays where it is.
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  end.beginEditBlock();
  for (const auto& [logClass, text] : texts) {
    QTextCharFormat format;
    format.setForeground(ColorOf(logClass));
    end.insertText(QString::fromStdString(text).remove(QLatin1Char('\r')), format);
  }
  end.endEditBlock();
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

LogSink LogBox::Sink() {
  return [this](LogClass logClass, const std::string& text) { Append(logClass, text); };
}

}  // namespace quenderlink
