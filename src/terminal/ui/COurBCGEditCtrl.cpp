#include "terminal/ui/COurBCGEditCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>
#include <functional>

#include "core/RecordText.h"
#include "terminal/TelnetSession.h"

namespace quenderlink {
namespace {

constexpr int kMinMarginWidth = 45;
constexpr int kMarginPadding = 8;
// A session left open for days keeps only its latest lines.
constexpr int kMaxLines = 200000;
// What the save shortcut sends: the unit's "stop output" byte.
constexpr char kSaveKeyByte = 0x13;

// The margin beside the text; the control paints it, since only the control
// knows where its lines are.
class PaintedMargin : public QWidget {
 public:
  PaintedMargin(QWidget* parent, std::function<void(QPaintEvent*)> paint) : QWidget(parent), paint_(std::move(paint)) {}

 protected:
  void paintEvent(QPaintEvent* event) override { paint_(event); }

 private:
  std::function<void(QPaintEvent*)> paint_;
};

// Commands of an editor that a terminal has no use for.
bool IsInactiveCommand(const QKeyEvent* event) {
  for (const QKeySequence::StandardKey key : {QKeySequence::Cut, QKeySequence::Paste, QKeySequence::SelectAll,
                                              QKeySequence::Undo, QKeySequence::Redo, QKeySequence::New,
                                              QKeySequence::Open})
    if (event->matches(key)) return true;
  return false;
}

// How a typed character looks when echoed: Enter starts a line, other control characters show nothing.
QString EchoOf(QChar character, int repeat) {
  if (character == QLatin1Char('\r')) return QString(repeat, QLatin1Char('\n'));
  if (character.unicode() < 0x20 && character != QLatin1Char('\t')) return {};
  return QString(repeat, character);
}

}  // namespace

COurBCGEditCtrl::COurBCGEditCtrl(QWidget* parent)
    : QPlainTextEdit(parent), margin_(new PaintedMargin(this, [this](QPaintEvent* event) { PaintLineNumbers(event); })) {
  setReadOnly(true);
  // Read-only to edits, yet with a caret that the keys move and select with.
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setUndoRedoEnabled(false);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  document()->setMaximumBlockCount(kMaxLines);
  connect(this, &QPlainTextEdit::blockCountChanged, this, &COurBCGEditCtrl::FitMargin);
  connect(this, &QPlainTextEdit::updateRequest, this, &COurBCGEditCtrl::ScrollMargin);
  FitMargin();
}

void COurBCGEditCtrl::SetColors(const QColor& text, const QColor& back) {
  QPalette colors = palette();
  colors.setColor(QPalette::Text, text);
  colors.setColor(QPalette::Base, back);
  setPalette(colors);
}

void COurBCGEditCtrl::SetLineNumberColors(const QColor& text, const QColor& back) {
  lineNumberText_ = text;
  lineNumberBack_ = back;
  margin_->update();
}

void COurBCGEditCtrl::SetFontHeight(int pixels) {
  QFont terminalFont(QStringLiteral("Courier New"));
  // Where that family is missing, the system's fixed font stands in.
  terminalFont.setStyleHint(QFont::Monospace);
  terminalFont.setFixedPitch(true);
  terminalFont.setWeight(QFont::Bold);
  terminalFont.setPixelSize(pixels);
  const bool follow = ShowsEnd();
  setFont(terminalFont);
  FitMargin();
  // Fewer lines fit now, which the scroll range does not see by itself; it is worked out again on a change of mode.
  setCenterOnScroll(!centerOnScroll());
  setCenterOnScroll(!centerOnScroll());
  if (follow) FollowEnd();
}

void COurBCGEditCtrl::AppendText(const QString& text) {
  if (text.isEmpty()) return;
  const bool follow = ShowsEnd();
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  end.insertText(text);
  if (follow) FollowEnd();
}

void COurBCGEditCtrl::CaretToEnd() { moveCursor(QTextCursor::End); }

void COurBCGEditCtrl::ClearScreen() {
  CaretToEnd();
  // Only this mode lets the last line scroll up to the top.
  setCenterOnScroll(true);
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void COurBCGEditCtrl::DeleteAllText() {
  setCenterOnScroll(false);
  clear();
}

void COurBCGEditCtrl::CopyAllText() { QApplication::clipboard()->setText(toPlainText()); }

std::string COurBCGEditCtrl::AllText() const { return toPlainText().toStdString(); }

bool COurBCGEditCtrl::ShowsEnd() const {
  const QScrollBar* bar = verticalScrollBar();
  return centerOnScroll() || bar->value() >= bar->maximum();
}

void COurBCGEditCtrl::FollowEnd() {
  // After a clear screen the new text fills the empty page first; once it
  // reaches the bottom, the text scrolls as usual.
  if (centerOnScroll()) {
    const QRectF last = blockBoundingGeometry(document()->lastBlock()).translated(contentOffset());
    if (last.bottom() <= viewport()->height()) return;
    setCenterOnScroll(false);
  }
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void COurBCGEditCtrl::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Save)) {
    emit characterTyped(kSaveKeyByte, 1);
    return;
  }
  if (event->matches(QKeySequence::Copy)) {
    copy();
    return;
  }
  if (IsInactiveCommand(event)) return;
  const QString text = event->text();
  if (text.isEmpty()) {
    QPlainTextEdit::keyPressEvent(event);  // the caret and page keys
    return;
  }
  const int repeat = std::clamp(event->count(), 1, kMaxKeyRepeat);
  QString echo;
  for (const QChar character : text) {
    // The unit talks in Windows-1252 bytes: a character it has no byte for is not sent.
    const Windows1252Text byte = Windows1252FromUtf8(QString(character).toStdString());
    if (byte.text.size() != 1 || byte.firstReplaced == 0) continue;
    emit characterTyped(byte.text[0], repeat);
    echo += EchoOf(character, repeat);
  }
  if (!localEcho_ || echo.isEmpty()) return;
  CaretToEnd();
  AppendText(echo);
}

void COurBCGEditCtrl::contextMenuEvent(QContextMenuEvent* event) {
  emit rightClicked();
  // The owner offers its menu when nothing is selected; a selection gets the copy menu.
  if (textCursor().hasSelection()) QPlainTextEdit::contextMenuEvent(event);
}

void COurBCGEditCtrl::resizeEvent(QResizeEvent* event) {
  const bool follow = ShowsEnd();
  QPlainTextEdit::resizeEvent(event);
  PlaceMargin();
  if (follow) FollowEnd();
}

int COurBCGEditCtrl::lineNumberWidth() const {
  const int lastNumber = std::max(1, blockCount());
  const int digits = static_cast<int>(QString::number(lastNumber).size());
  return std::max(kMinMarginWidth, kMarginPadding + digits * fontMetrics().horizontalAdvance(QLatin1Char('9')));
}

void COurBCGEditCtrl::FitMargin() {
  setViewportMargins(lineNumberWidth(), 0, 0, 0);
  PlaceMargin();
}

void COurBCGEditCtrl::PlaceMargin() {
  const QRect inside = contentsRect();
  margin_->setGeometry(inside.left(), inside.top(), lineNumberWidth(), inside.height());
}

void COurBCGEditCtrl::ScrollMargin(const QRect& rect, int dy) {
  if (dy != 0)
    margin_->scroll(0, dy);
  else
    margin_->update(0, rect.y(), margin_->width(), rect.height());
}

void COurBCGEditCtrl::PaintLineNumbers(QPaintEvent* event) {
  QPainter painter(margin_);
  painter.fillRect(event->rect(), lineNumberBack_);
  painter.setPen(lineNumberText_);
  painter.setFont(font());
  const int right = margin_->width() - kMarginPadding / 2;
  QTextBlock block = firstVisibleBlock();
  qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
  // Only the lines in sight are numbered, however long the text.
  while (block.isValid() && top <= event->rect().bottom()) {
    const qreal height = blockBoundingRect(block).height();
    if (block.isVisible() && top + height >= event->rect().top())
      painter.drawText(QRectF(0, top, right, fontMetrics().height()), Qt::AlignRight,
                       QString::number(block.blockNumber() + 1));
    top += height;
    block = block.next();
  }
}

}  // namespace quenderlink
