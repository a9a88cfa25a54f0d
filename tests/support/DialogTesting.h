#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include <functional>
#include <stdexcept>
#include <string>

namespace quenderlink::testing {

// Widget tests need one application object per test program, made before the
// first widget. It is never destroyed: Qt's own statics may be gone by the
// time a static object would be.
inline void EnsureApplication() {
  if (QApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "quenderlink-tests";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

// The child of that object name; throws when there is none, which fails the test.
template <typename Widget>
Widget& Child(const QWidget& parent, const char* objectName) {
  Widget* child = parent.findChild<Widget*>(objectName);
  if (child == nullptr) throw std::runtime_error(std::string("no child named ") + objectName);
  return *child;
}

template <typename Widget>
QString Text(const QWidget& parent, const char* objectName) {
  return Child<Widget>(parent, objectName).text();
}

inline void Click(const QWidget& parent, const char* objectName) { Child<QAbstractButton>(parent, objectName).click(); }

inline bool Shown(const QWidget& parent, const char* objectName) { return Child<QWidget>(parent, objectName).isVisible(); }

// Checks the model's invariants now and after every change it announces, for as
// long as the model lives; a broken one ends the test program with Qt's reason.
inline void CheckModelThroughout(QAbstractItemModel& model) {
  new QAbstractItemModelTester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal, &model);
}

// What a dialog's log box shows.
inline QString LogText(const QWidget& dialog) { return Child<QPlainTextEdit>(dialog, "logBox").toPlainText(); }

// Answers the next modal dialog from inside its exec(); call it just before
// the code that opens the dialog. The answer must close the dialog; when it
// throws, the dialog is closed for it so the test does not hang.
inline void AnswerNextModal(std::function<void(QWidget&)> answer) {
  QTimer::singleShot(0, [answer = std::move(answer)] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) {
      ADD_FAILURE() << "no modal dialog to answer";
      return;
    }
    try {
      answer(*dialog);
    } catch (const std::exception& error) {
      ADD_FAILURE() << error.what();
      dialog->close();
    }
  });
}

}  // namespace quenderlink::testing
