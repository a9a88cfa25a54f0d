#include "terminal/ui/COurBCGEditCtrl.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

#include <chrono>

#include "support/DialogTesting.h"

namespace quenderlink {
namespace {

QString Lines(const char* text, int count) {
  QString lines;
  for (int line = 1; line <= count; ++line) lines += QString("%1 %2\n").arg(text).arg(line);
  return lines;
}

class COurBCGEditCtrlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureApplication(); }
  void SetUp() override {
    terminal_.SetFontHeight(16);
    terminal_.resize(600, 300);
    terminal_.show();
  }

  int TopLine() { return terminal_.cursorForPosition(QPoint(2, 2)).blockNumber(); }
  bool LastLineInSight() {
    const QPoint bottom(2, terminal_.viewport()->height() - 2);
    return terminal_.cursorForPosition(bottom).blockNumber() == terminal_.blockCount() - 1;
  }

  COurBCGEditCtrl terminal_;
};

TEST_F(COurBCGEditCtrlTest, TypedKeysGoToTheOwnerAndAreEchoedAtTheEndOnlyWithEchoOn) {
  QSignalSpy typed(&terminal_, &COurBCGEditCtrl::characterTyped);
  terminal_.AppendText("login: ");
  terminal_.moveCursor(QTextCursor::Start);
  QTest::keyClicks(&terminal_, "a");
  QTest::keyClick(&terminal_, Qt::Key_Return);
  // A key held down: one event for many repeats, never more than 250.
  QKeyEvent held(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x", false, 300);
  QApplication::sendEvent(&terminal_, &held);
  QTest::keyClick(&terminal_, Qt::Key_S, Qt::ControlModifier);
  QTest::keyClick(&terminal_, Qt::Key_V, Qt::ControlModifier);  // no paste into a terminal
  // The unit's bytes are Windows-1252: the euro sign is 0x80, an omega has no byte and is not sent.
  QKeyEvent euroAndOmega(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("\u20AC\u03A9"));
  QApplication::sendEvent(&terminal_, &euroAndOmega);
  terminal_.SetLocalEcho(false);
  QTest::keyClick(&terminal_, Qt::Key_Q);

  QStringList sent;
  for (const QList<QVariant>& call : typed) sent << QString("%1*%2").arg(int(call[0].value<char>())).arg(call[1].toInt());
  EXPECT_EQ(sent, QStringList({"97*1", "13*1", "120*250", "19*1", "-128*1", "113*1"}));
  EXPECT_EQ(terminal_.toPlainText(), "login: a\n" + QString(250, 'x') + QString::fromUtf8("\u20AC"));
}

TEST_F(COurBCGEditCtrlTest, TheViewFollowsTheEndOnlyWhenItShowedItTheSelectionStaysAndClearScreenPutsTheEndAtTheTop) {
  // Fewer than a hundred lines: the margin keeps its width, so only the font changes the lines in sight.
  terminal_.AppendText(Lines("line", 40));
  QTextCursor selection(terminal_.document()->findBlockByNumber(39));
  selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  terminal_.setTextCursor(selection);
  terminal_.AppendText("more\n");
  EXPECT_EQ(terminal_.textCursor().selectedText(), "line 40");
  EXPECT_TRUE(LastLineInSight());
  terminal_.SetFontHeight(24);
  EXPECT_TRUE(LastLineInSight());

  // Scrolled up to read: new text does not pull the view away.
  terminal_.verticalScrollBar()->setValue(10);
  terminal_.AppendText("still more\n");
  EXPECT_EQ(TopLine(), 10);

  // Clear screen puts the end at the top until new text fills the page.
  terminal_.AppendText(Lines("old", 100));
  terminal_.ClearScreen();
  const int lastOld = terminal_.blockCount() - 1;
  EXPECT_EQ(TopLine(), lastOld);
  terminal_.AppendText("new 1\nnew 2\n");
  EXPECT_EQ(TopLine(), lastOld) << "the new lines still fit below";
  terminal_.AppendText(Lines("old", 100));
  EXPECT_TRUE(LastLineInSight());
  EXPECT_EQ(terminal_.toPlainText().count("old"), 200) << "nothing was deleted";
}

// Checks the control stays usable with a long session's text, not how fast the machine is.
TEST_F(COurBCGEditCtrlTest, AHundredThousandLinesStayQuickToAppendAndNumber) {
  const auto start = std::chrono::steady_clock::now();
  for (int block = 0; block < 100; ++block) terminal_.AppendText(Lines("unit log", 1000));
  terminal_.AppendText("last line");
  terminal_.viewport()->repaint();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(terminal_.blockCount(), 100001);
  EXPECT_EQ(terminal_.document()->lastBlock().text(), "last line");
  // Six digits need more than the margin's least width.
  EXPECT_GT(terminal_.lineNumberWidth(), 45);
  EXPECT_GE(terminal_.viewport()->x(), terminal_.lineNumberWidth());
}

}  // namespace
}  // namespace quenderlink
