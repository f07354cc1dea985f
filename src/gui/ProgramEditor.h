#pragma once
// The main window's program editor: plain text without wrapping, drawn line by line straight
// from its list of byte lines. Only the lines in view are laid out and coloured, so a program
// of millions of lines opens at once and takes little more memory than its lines.
//
// Every byte is one character (Latin-1). A carriage return or line feed inside a line is shown
// as the symbol for carriage return or line feed and kept as the byte.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <QAbstractScrollArea>
#include <QTextLayout>
#include <QTimer>

namespace kw {

// A place in the text: a line and the characters before it on that line.
struct TextPos {
  int line = 0;
  int column = 0;
  friend bool operator==(const TextPos& a, const TextPos& b) { return a.line == b.line && a.column == b.column; }
  friend bool operator!=(const TextPos& a, const TextPos& b) { return !(a == b); }
  friend bool operator<(const TextPos& a, const TextPos& b) {
    return a.line < b.line || (a.line == b.line && a.column < b.column);
  }
};

// Lines of a text joined by '\n' (an empty text is one empty line).
std::vector<std::string> splitLines(std::string_view text);

class ProgramEditor : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit ProgramEditor(QWidget* parent = nullptr);

  // The text.
  const std::vector<std::string>& lines() const { return lines_; }
  int lineCount() const { return static_cast<int>(lines_.size()); }
  // No text: the one line there is, empty.
  bool isEmpty() const { return lines_.size() == 1 && lines_[0].empty(); }
  // A new text: the caret goes to the start, the undo history is cleared, not modified.
  void setLines(std::vector<std::string> lines);
  // The text rewritten as one edit that Undo takes back; the caret stays where it was (within
  // the new text).
  void replaceLines(const std::vector<std::string>& lines);
  // One line rewritten as one edit (line break bytes in it stay in the line); the selection
  // stays where it was.
  void replaceLine(int line, std::string bytes);
  // The text as one string, lines joined by '\n'; and a new text from such a string.
  std::string text() const;
  void setText(std::string_view text);
  // Counts every change of the text, so that a reader knows whether it has changed since.
  unsigned revision() const { return revision_; }
  bool isModified() const { return modified_; }
  void setModified(bool modified);
  bool isUndoAvailable() const { return !undo_.empty(); }

  // The caret and the selection (from the anchor to the caret).
  TextPos anchor() const { return anchor_; }
  TextPos caret() const { return caret_; }
  TextPos selectionStart() const { return std::min(anchor_, caret_); }
  TextPos selectionEnd() const { return std::max(anchor_, caret_); }
  bool hasSelection() const { return anchor_ != caret_; }
  // Places the selection (both ends are kept within the text) and scrolls the caret into view.
  void setSelection(TextPos anchor, TextPos caret);
  void setCaret(TextPos caret) { setSelection(caret, caret); }
  std::string selectedText() const;
  // Replaces the selection by `bytes` (which may hold line feeds) as one edit; the caret
  // follows the inserted text.
  void insertText(std::string_view bytes);
  void removeSelectedText() { insertText({}); }
  // Character offsets in text(): a line feed ends each line but the last.
  size_t offsetOf(TextPos position) const;
  TextPos positionAt(size_t offset) const;

  // The lines [first, last] in view (last is first - 1 with no text).
  int firstVisibleLine() const;
  int lastVisibleLine() const;
  void ensureCaretVisible();

  // Colours a line's words: character ranges and their formats, asked for the lines in view.
  using Colouring = std::function<QList<QTextLayout::FormatRange>(std::string_view line)>;
  void setColouring(Colouring colouring);
  const Colouring& colouring() const { return colouring_; }

 public slots:
  void undo();
  void cut();
  void copy();
  void paste();
  void selectAll();

 signals:
  void caretMoved();
  void textChanged();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  // One change: lines [first, first + newCount) now stand where `old` stood.
  struct Edit {
    int first = 0;
    int newCount = 0;
    std::vector<std::string> old;
    TextPos anchor, caret;  // the selection before the change
    bool typing = false;    // typed keys that later keys may join
  };
  // Replaces lines [first, first + count) by `with`, recording the change for Undo.
  void change(int first, int count, std::vector<std::string> with, bool typing);
  void changed();
  // A change by a command: the selection stays where it was, within the new text.
  void changeKeepingSelection(int first, int count, std::vector<std::string> with);
  // Replaces the selection; typed keys in a row are one edit for Undo.
  void replaceSelection(std::string_view bytes, bool typing);
  void replaceRange(TextPos start, TextPos end, std::vector<std::string> pieces, bool typing);
  void moveCaret(TextPos to, bool select);
  TextPos clamp(TextPos position) const;
  TextPos wordStartBefore(TextPos from) const;
  TextPos positionAtPoint(QPoint point) const;
  QString shown(int line) const;
  int lineHeight() const;
  int lineX(int line, int column) const;
  // The columns of a line that are drawn, and the x of the first one.
  struct Piece {
    int from, to, x;
  };
  Piece pieceOf(int line) const;
  int columnWidth() const;
  void updateScrollBars();
  void updateWidestLine(int first, int last);
  void restartBlink();
  void trimUndo();

  std::vector<std::string> lines_{std::string()};
  TextPos anchor_, caret_;
  int preferredColumn_ = -1;  // the caret's column kept while moving up and down
  std::vector<Edit> undo_;
  size_t undoBytes_ = 0;
  int cleanDepth_ = 0;  // undo entries when the text was last marked unmodified, -1 when gone
  bool modified_ = false;
  unsigned revision_ = 0;
  bool joinTyping_ = false;  // the next typed key joins the last edit
  size_t widest_ = 0;        // characters of the longest line seen
  Colouring colouring_;
  QTimer blink_;
  QTimer dragScroll_;
  QPoint dragAt_;  // where the mouse is while a drag selects
  bool caretShown_ = true;
  bool selectingWords_ = false;
};

}  // namespace kw
