#pragma once

#include <QString>
#include <QStyle>

#include <initializer_list>
#include <string>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace quenderlink {

// Dialog texts carry Windows line ends; a label wants '\n' alone.
QString DialogText(const std::string& text);

// A label that shows its text as written, never as markup.
QLabel* PlainLabel(const QString& text, const char* objectName, QWidget* parent);

// A bold heading label.
QLabel* HeadingLabel(const QString& text, const char* objectName, QWidget* parent);

// The dialog's picture: decoration only, it does nothing when clicked.
QLabel* PictureLabel(QStyle::StandardPixmap picture, QWidget* parent);

// A push button that tests and callers find by its object name.
QPushButton* NamedButton(const QString& caption, const char* objectName, QWidget* parent);

// The common dialogs answer with large buttons.
QPushButton* LargeButton(const QString& caption, const char* objectName, QWidget* parent);

// A row of controls packed to the left, as the windows' button rows are.
QHBoxLayout* LeftPackedRow(std::initializer_list<QWidget*> controls);

}  // namespace quenderlink
