#pragma once

#include <QPlainTextEdit>

#include <string>

class QPaintEvent;

namespace quenderlink {

// The terminal's text: what the unit sends is appended at the end, keys the
// user types are handed to the owner (and shown at the end when local echo is
// on) instead of editing the text. Line numbers sit in a margin of their own
// colours. Built to stay quick with hundreds of thousands of lines: the text is
// kept in blocks, each append is one edit, and only visible lines get numbered.
class COurBCGEditCtrl : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit COurBCGEditCtrl(QWidget* parent = nullptr);

  void SetLocalEcho(bool on) { localEcho_ = on; }
  bool localEcho() const { return localEcho_; }
  void SetColors(const QColor& text, const QColor& back);
  void SetLineNumberColors(const QColor& text, const QColor& back);
  // A fixed, bold font of that height in pixels.
  void SetFontHeight(int pixels);

  // Adds the text at the end; the user's caret and selection stay where they
  // are, and the view keeps showing the end when it showed it before.
  void AppendText(const QString& text);
  void CaretToEnd();
  // The caret to the end, then a page further: the old text scrolls out of sight.
  void ClearScreen();
  void DeleteAllText();
  void CopyAllText();
  // The whole text as UTF-8, lines ending in '\n'.
  std::string AllText() const;

  int lineNumberWidth() const;

 signals:
  // A typed character, `repeatCount` times over (1 to kMaxKeyRepeat).
  void characterTyped(char character, int repeatCount);
  // The right mouse button, before any menu of the control's own.
  void rightClicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // The terminal keeps Tab for the unit.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  void PaintLineNumbers(QPaintEvent* event);
  void FitMargin();
  void PlaceMargin();
  void ScrollMargin(const QRect& rect, int dy);
  bool ShowsEnd() const;
  void FollowEnd();

  QWidget* margin_;
  QColor lineNumberText_;
  QColor lineNumberBack_;
  bool localEcho_ = true;
};

}  // namespace quenderlink
