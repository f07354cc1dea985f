#include "gui/ProgramEditor.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>

namespace kw {

namespace {

constexpr int kMargin = 4;                             // pixels left of the text
// A longer line is drawn a character width a column, and only its part in view: shaping a
// line of millions of characters on every paint would freeze the window.
constexpr size_t kLongLine = 4096;
constexpr size_t kUndoBytes = size_t(512) << 20;       // the oldest edits go beyond this
constexpr char16_t kCrSymbol = 0x240D;                 // a carriage return inside a line
constexpr char16_t kLfSymbol = 0x240A;                 // a line feed inside a line

bool isWordByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) || c == '_' || u >= 0xC0;
}

size_t bytesOf(const std::vector<std::string>& lines) {
  size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size() + sizeof(std::string);
  return bytes;
}

// How a line's bytes are shown: a line break byte inside a line as its symbol.
QString shownBytes(std::string_view bytes) {
  QString text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  if (bytes.find('\r') != std::string_view::npos) text.replace(u'\r', QChar(kCrSymbol));
  if (bytes.find('\n') != std::string_view::npos) text.replace(u'\n', QChar(kLfSymbol));
  return text;
}

// The lines of clipboard text: any line break ends a line, the symbols are the bytes again.
std::vector<std::string> linesOfClipboard(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  text.replace(QChar::ParagraphSeparator, u'\n');
  text.replace(QChar::LineSeparator, u'\n');
  std::vector<std::string> lines;
  for (QString line : text.split(u'\n')) {
    line.replace(QChar(kCrSymbol), u'\r');
    line.replace(QChar(kLfSymbol), u'\n');
    lines.push_back(line.toLatin1().toStdString());
  }
  return lines;
}

}  // namespace

ProgramEditor::ProgramEditor(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  verticalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setSingleStep(20);
  blink_.setInterval(std::max(100, QGuiApplication::styleHints()->cursorFlashTime() / 2));
  connect(&blink_, &QTimer::timeout, this, [this] {
    caretShown_ = !caretShown_;
    const int row = caret_.line - firstVisibleLine();
    viewport()->update(0, row * lineHeight(), viewport()->width(), lineHeight());
  });
  // While a drag selects beyond the top or bottom, the text scrolls on under the mouse.
  dragScroll_.setInterval(50);
  connect(&dragScroll_, &QTimer::timeout, this, [this] { setSelection(anchor_, positionAtPoint(dragAt_)); });
  updateScrollBars();
}

// The text.

void ProgramEditor::setLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  if (lines_.empty()) lines_.emplace_back();
  undo_.clear();
  undoBytes_ = 0;
  cleanDepth_ = 0;
  modified_ = false;
  joinTyping_ = false;
  widest_ = 0;
  updateWidestLine(0, lineCount() - 1);
  anchor_ = caret_ = {};
  preferredColumn_ = -1;
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  changed();
  emit caretMoved();
}

void ProgramEditor::replaceLines(const std::vector<std::string>& given) {
  static const std::vector<std::string> kEmptyText{std::string()};
  const std::vector<std::string>& lines = given.empty() ? kEmptyText : given;
  // Only the lines between the unchanged start and end are copied, and kept for Undo.
  const size_t oldSize = lines_.size(), newSize = lines.size();
  size_t head = 0;
  while (head < oldSize && head < newSize && lines_[head] == lines[head]) ++head;
  if (head == oldSize && head == newSize) return;
  size_t tail = 0;
  while (tail < oldSize - head && tail < newSize - head && lines_[oldSize - 1 - tail] == lines[newSize - 1 - tail])
    ++tail;
  std::vector<std::string> middle(lines.begin() + static_cast<ptrdiff_t>(head),
                                  lines.end() - static_cast<ptrdiff_t>(tail));
  changeKeepingSelection(static_cast<int>(head), static_cast<int>(oldSize - head - tail), std::move(middle));
}

std::string ProgramEditor::text() const {
  size_t total = 0;
  for (const std::string& line : lines_) total += line.size() + 1;
  std::string all;
  all.reserve(total);
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) all += '\n';
    all += lines_[i];
  }
  return all;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find('\n', start);
    lines.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return lines;
    start = end + 1;
  }
}

void ProgramEditor::setText(std::string_view text) { setLines(splitLines(text)); }

void ProgramEditor::replaceLine(int line, std::string bytes) {
  if (line < 0 || line >= lineCount()) return;
  std::vector<std::string> with;
  with.push_back(std::move(bytes));
  changeKeepingSelection(line, 1, std::move(with));
}

void ProgramEditor::changeKeepingSelection(int first, int count, std::vector<std::string> with) {
  change(first, count, std::move(with), false);
  anchor_ = clamp(anchor_);
  caret_ = clamp(caret_);
  emit caretMoved();
}

void ProgramEditor::setModified(bool modified) {
  modified_ = modified;
  cleanDepth_ = modified ? -1 : static_cast<int>(undo_.size());
  joinTyping_ = false;
}

void ProgramEditor::change(int first, int count, std::vector<std::string> with, bool typing) {
  const int added = static_cast<int>(with.size());
  Edit* last = undo_.empty() ? nullptr : &undo_.back();
  if (typing && joinTyping_ && last && last->typing && static_cast<int>(undo_.size()) != cleanDepth_ &&
      first >= last->first && first + count <= last->first + last->newCount) {
    last->newCount += added - count;
  } else {
    Edit edit;
    edit.first = first;
    edit.newCount = added;
    edit.anchor = anchor_;
    edit.caret = caret_;
    edit.typing = typing;
    auto from = lines_.begin() + first;
    edit.old.assign(std::make_move_iterator(from), std::make_move_iterator(from + count));
    undoBytes_ += bytesOf(edit.old);
    undo_.push_back(std::move(edit));
    trimUndo();
  }
  auto from = lines_.begin() + first;
  const int common = std::min(count, added);
  std::move(with.begin(), with.begin() + common, from);
  if (added > count)
    lines_.insert(from + common, std::make_move_iterator(with.begin() + common), std::make_move_iterator(with.end()));
  else if (count > added)
    lines_.erase(from + common, from + count);
  modified_ = true;
  joinTyping_ = typing;
  updateWidestLine(first, first + added - 1);
  changed();
}

void ProgramEditor::trimUndo() {
  while (undo_.size() > 1 && undoBytes_ > kUndoBytes) {
    undoBytes_ -= bytesOf(undo_.front().old);
    undo_.erase(undo_.begin());
    if (cleanDepth_ >= 0) --cleanDepth_;  // at 0 the unmodified text can no longer come back
  }
}

void ProgramEditor::changed() {
  ++revision_;
  updateScrollBars();
  viewport()->update();
  emit textChanged();
}

void ProgramEditor::undo() {
  if (undo_.empty()) return;
  Edit edit = std::move(undo_.back());
  undo_.pop_back();
  undoBytes_ -= bytesOf(edit.old);
  auto from = lines_.begin() + edit.first;
  lines_.erase(from, from + edit.newCount);
  lines_.insert(lines_.begin() + edit.first, std::make_move_iterator(edit.old.begin()),
                std::make_move_iterator(edit.old.end()));
  if (lines_.empty()) lines_.emplace_back();
  modified_ = static_cast<int>(undo_.size()) != cleanDepth_;
  joinTyping_ = false;
  updateWidestLine(edit.first, edit.first + static_cast<int>(edit.old.size()) - 1);
  changed();
  setSelection(edit.anchor, edit.caret);
}

void ProgramEditor::updateWidestLine(int first, int last) {
  for (int i = std::max(first, 0); i <= last && i < lineCount(); ++i)
    widest_ = std::max(widest_, lines_[static_cast<size_t>(i)].size());
}

// The caret and the selection.

TextPos ProgramEditor::clamp(TextPos position) const {
  position.line = std::clamp(position.line, 0, lineCount() - 1);
  position.column =
      std::clamp(position.column, 0, static_cast<int>(lines_[static_cast<size_t>(position.line)].size()));
  return position;
}

void ProgramEditor::setSelection(TextPos anchor, TextPos caret) {
  anchor_ = clamp(anchor);
  caret_ = clamp(caret);
  preferredColumn_ = -1;
  joinTyping_ = false;
  ensureCaretVisible();
  restartBlink();
  viewport()->update();
  emit caretMoved();
}

void ProgramEditor::moveCaret(TextPos to, bool select) {
  const int preferred = preferredColumn_;
  setSelection(select ? anchor_ : to, to);
  preferredColumn_ = preferred;
}

std::string ProgramEditor::selectedText() const {
  const TextPos start = selectionStart(), end = selectionEnd();
  const auto& first = lines_[static_cast<size_t>(start.line)];
  if (start.line == end.line)
    return first.substr(static_cast<size_t>(start.column), static_cast<size_t>(end.column - start.column));
  std::string text = first.substr(static_cast<size_t>(start.column));
  for (int i = start.line + 1; i < end.line; ++i) (text += '\n') += lines_[static_cast<size_t>(i)];
  (text += '\n') += lines_[static_cast<size_t>(end.line)].substr(0, static_cast<size_t>(end.column));
  return text;
}

void ProgramEditor::insertText(std::string_view bytes) { replaceSelection(bytes, false); }

void ProgramEditor::replaceSelection(std::string_view bytes, bool typing) {
  replaceRange(selectionStart(), selectionEnd(), splitLines(bytes), typing);
}

void ProgramEditor::replaceRange(TextPos start, TextPos end, std::vector<std::string> pieces, bool typing) {
  if (start == end && pieces.size() == 1 && pieces[0].empty()) return;
  const std::string& endLine = lines_[static_cast<size_t>(end.line)];
  const std::string tail = endLine.substr(static_cast<size_t>(end.column));
  pieces.front().insert(0, lines_[static_cast<size_t>(start.line)], 0, static_cast<size_t>(start.column));
  const TextPos caret{start.line + static_cast<int>(pieces.size()) - 1, static_cast<int>(pieces.back().size())};
  pieces.back() += tail;
  // The selection before the change is what Undo brings back.
  change(start.line, end.line - start.line + 1, std::move(pieces), typing);
  anchor_ = caret_ = caret;
  preferredColumn_ = -1;
  ensureCaretVisible();
  restartBlink();
  joinTyping_ = typing;
  emit caretMoved();
}

size_t ProgramEditor::offsetOf(TextPos position) const {
  position = clamp(position);
  size_t offset = 0;
  for (int i = 0; i < position.line; ++i) offset += lines_[static_cast<size_t>(i)].size() + 1;
  return offset + static_cast<size_t>(position.column);
}

TextPos ProgramEditor::positionAt(size_t offset) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (offset <= lines_[i].size()) return {static_cast<int>(i), static_cast<int>(offset)};
    offset -= lines_[i].size() + 1;
  }
  return {lineCount() - 1, static_cast<int>(lines_.back().size())};
}

void ProgramEditor::cut() {
  if (!hasSelection()) return;
  copy();
  removeSelectedText();
}

void ProgramEditor::copy() {
  if (!hasSelection()) return;
  const TextPos start = selectionStart(), end = selectionEnd();
  QStringList shownLines;
  for (int i = start.line; i <= end.line; ++i) {
    std::string_view line = lines_[static_cast<size_t>(i)];
    if (i == end.line) line = line.substr(0, static_cast<size_t>(end.column));
    if (i == start.line) line = line.substr(static_cast<size_t>(start.column));
    shownLines << shownBytes(line);
  }
  QGuiApplication::clipboard()->setText(shownLines.join(u'\n'));
}

void ProgramEditor::paste() {
  const QString text = QGuiApplication::clipboard()->text();
  if (!text.isEmpty()) replaceRange(selectionStart(), selectionEnd(), linesOfClipboard(text), false);
}

void ProgramEditor::selectAll() {
  setSelection({}, {lineCount() - 1, static_cast<int>(lines_.back().size())});
}

// The view.

int ProgramEditor::lineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }

int ProgramEditor::firstVisibleLine() const { return verticalScrollBar()->value(); }

int ProgramEditor::lastVisibleLine() const {
  return std::min(lineCount() - 1, firstVisibleLine() + (viewport()->height() - 1) / lineHeight());
}

QString ProgramEditor::shown(int line) const { return shownBytes(lines_[static_cast<size_t>(line)]); }

int ProgramEditor::columnWidth() const { return std::max(1, fontMetrics().horizontalAdvance(u'0')); }

ProgramEditor::Piece ProgramEditor::pieceOf(int line) const {
  const int length = static_cast<int>(lines_[static_cast<size_t>(line)].size());
  if (static_cast<size_t>(length) <= kLongLine) return {0, length, 0};
  const int width = columnWidth();
  const int from = std::clamp(horizontalScrollBar()->value() / width - 8, 0, length);
  const int to = std::min(length, from + viewport()->width() / width + 16);
  return {from, to, from * width};
}

int ProgramEditor::lineX(int line, int column) const {
  if (lines_[static_cast<size_t>(line)].size() > kLongLine) return kMargin + column * columnWidth();
  const QString text = shown(line);
  return kMargin + fontMetrics().horizontalAdvance(text.left(column));
}

void ProgramEditor::updateScrollBars() {
  const int full = std::max(1, viewport()->height() / lineHeight());
  QScrollBar* vertical = verticalScrollBar();
  vertical->setPageStep(full);
  vertical->setRange(0, std::max(0, lineCount() - full));
  const QFontMetrics metrics = fontMetrics();
  const qint64 width =
      2 * kMargin + static_cast<qint64>(widest_ + 2) * std::max(metrics.averageCharWidth(), metrics.horizontalAdvance('0'));
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setPageStep(viewport()->width());
  horizontal->setRange(0, static_cast<int>(std::clamp<qint64>(width - viewport()->width(), 0, INT_MAX / 2)));
}

void ProgramEditor::ensureCaretVisible() {
  QScrollBar* vertical = verticalScrollBar();
  const int full = std::max(1, viewport()->height() / lineHeight());
  if (caret_.line < vertical->value())
    vertical->setValue(caret_.line);
  else if (caret_.line >= vertical->value() + full)
    vertical->setValue(caret_.line - full + 1);
  QScrollBar* horizontal = horizontalScrollBar();
  const int x = lineX(caret_.line, caret_.column);
  const int room = viewport()->width();
  if (x - kMargin < horizontal->value()) {
    horizontal->setValue(std::max(0, x - kMargin - room / 3));
  } else if (x + kMargin > horizontal->value() + room) {
    if (x + kMargin - room > horizontal->maximum()) horizontal->setMaximum(x + kMargin - room + room / 3);
    horizontal->setValue(x + kMargin - room + room / 3);
  }
}

void ProgramEditor::setColouring(Colouring colouring) {
  colouring_ = std::move(colouring);
  viewport()->update();
}

TextPos ProgramEditor::positionAtPoint(QPoint point) const {
  const int line = std::clamp(firstVisibleLine() + (point.y() < 0 ? point.y() / lineHeight() - 1 : point.y() / lineHeight()),
                              0, lineCount() - 1);
  const int x = point.x() + horizontalScrollBar()->value() - kMargin;
  if (lines_[static_cast<size_t>(line)].size() > kLongLine) {
    const int width = columnWidth();
    return clamp({line, (std::max(x, 0) + width / 2) / width});
  }
  QTextLayout layout(shown(line), font());
  layout.beginLayout();
  QTextLine row = layout.createLine();
  layout.endLayout();
  return clamp({line, row.isValid() ? row.xToCursor(x) : 0});
}

void ProgramEditor::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::Text));
  const int height = lineHeight();
  const int left = kMargin - horizontalScrollBar()->value();
  const TextPos start = selectionStart(), end = selectionEnd();
  const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
  QTextCharFormat selected;
  selected.setBackground(palette().brush(group, QPalette::Highlight));
  selected.setForeground(palette().brush(group, QPalette::HighlightedText));
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  // Only the rows asked for are laid out: the caret's blink asks for its row alone.
  const int top = event->rect().top() / height, bottom = event->rect().bottom() / height;
  const int last = std::min(lastVisibleLine(), firstVisibleLine() + bottom);
  for (int line = firstVisibleLine() + top, y = top * height; line <= last; ++line, y += height) {
    const std::string_view bytes = lines_[static_cast<size_t>(line)];
    const Piece piece = pieceOf(line);
    const std::string_view part = bytes.substr(static_cast<size_t>(piece.from), static_cast<size_t>(piece.to - piece.from));
    QTextLayout layout(shownBytes(part), font());
    layout.setTextOption(option);
    if (colouring_) layout.setFormats(colouring_(part));
    layout.beginLayout();
    QTextLine row = layout.createLine();
    layout.endLayout();
    if (!row.isValid()) continue;
    const QPointF at(left + piece.x, y);
    QList<QTextLayout::FormatRange> selection;
    if (start.line <= line && line <= end.line && start != end) {
      const int from = std::max(line == start.line ? start.column : 0, piece.from) - piece.from;
      const int to = std::min(line == end.line ? end.column : static_cast<int>(bytes.size()), piece.to) - piece.from;
      if (to > from) selection.append({from, to - from, selected});
      // A selected line break shows as a blank's width of selection after the line.
      if (line < end.line && piece.to == static_cast<int>(bytes.size())) {
        const qreal x = at.x() + row.cursorToX(piece.to - piece.from);
        painter.fillRect(QRectF(x, y, fontMetrics().horizontalAdvance(u' '), height), selected.background());
      }
    }
    layout.draw(&painter, at, selection);
    if (line == caret_.line && caretShown_ && hasFocus() && piece.from <= caret_.column && caret_.column <= piece.to)
      layout.drawCursor(&painter, at, caret_.column - piece.from);
  }
}

void ProgramEditor::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void ProgramEditor::scrollContentsBy(int, int) { viewport()->update(); }

void ProgramEditor::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    updateScrollBars();
    viewport()->update();
  }
}

void ProgramEditor::restartBlink() {
  caretShown_ = true;
  if (hasFocus() && blink_.interval() > 0) blink_.start();
}

void ProgramEditor::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  restartBlink();
  viewport()->update();
}

void ProgramEditor::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  blink_.stop();
  viewport()->update();
}

// Keys and the mouse.

namespace {

// The keys that move the caret, and whether they extend the selection.
struct Move {
  QKeySequence::StandardKey key;
  int kind;
  bool select;
};
enum { kNextChar, kPreviousChar, kNextWord, kPreviousWord, kNextLine, kPreviousLine, kLineStart, kLineEnd,
       kNextPage, kPreviousPage, kTextStart, kTextEnd };
constexpr Move kMoves[] = {
    {QKeySequence::MoveToNextChar, kNextChar, false},         {QKeySequence::SelectNextChar, kNextChar, true},
    {QKeySequence::MoveToPreviousChar, kPreviousChar, false}, {QKeySequence::SelectPreviousChar, kPreviousChar, true},
    {QKeySequence::MoveToNextWord, kNextWord, false},         {QKeySequence::SelectNextWord, kNextWord, true},
    {QKeySequence::MoveToPreviousWord, kPreviousWord, false}, {QKeySequence::SelectPreviousWord, kPreviousWord, true},
    {QKeySequence::MoveToNextLine, kNextLine, false},         {QKeySequence::SelectNextLine, kNextLine, true},
    {QKeySequence::MoveToPreviousLine, kPreviousLine, false}, {QKeySequence::SelectPreviousLine, kPreviousLine, true},
    {QKeySequence::MoveToStartOfLine, kLineStart, false},     {QKeySequence::SelectStartOfLine, kLineStart, true},
    {QKeySequence::MoveToEndOfLine, kLineEnd, false},         {QKeySequence::SelectEndOfLine, kLineEnd, true},
    {QKeySequence::MoveToNextPage, kNextPage, false},         {QKeySequence::SelectNextPage, kNextPage, true},
    {QKeySequence::MoveToPreviousPage, kPreviousPage, false}, {QKeySequence::SelectPreviousPage, kPreviousPage, true},
    {QKeySequence::MoveToStartOfDocument, kTextStart, false}, {QKeySequence::SelectStartOfDocument, kTextStart, true},
    {QKeySequence::MoveToEndOfDocument, kTextEnd, false},     {QKeySequence::SelectEndOfDocument, kTextEnd, true},
};

const Move* moveOf(QKeyEvent* event) {
  for (const Move& move : kMoves)
    if (event->matches(move.key)) return &move;
  return nullptr;
}

// Typed text: printable characters (and the tab) without Ctrl or Alt.
bool isTyping(QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = event->text();
  if (text.isEmpty()) return false;
  for (QChar c : text)
    if (c.unicode() > 0xFF || (c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F) return false;
  return true;
}

bool isEditKey(QKeyEvent* event) {
  const int key = event->key();
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  return (plain && (key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Return ||
                    key == Qt::Key_Enter)) ||
         event->matches(QKeySequence::DeleteStartOfWord);
}

}  // namespace

bool ProgramEditor::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // The editor keeps the keys that move and type; the window's commands get the rest.
    auto* key = static_cast<QKeyEvent*>(event);
    if (moveOf(key) || isTyping(key) || isEditKey(key)) {
      event->accept();
      return true;
    }
  }
  // A tab is typed into the text rather than moving the focus on.
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab &&
      static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
    keyPressEvent(static_cast<QKeyEvent*>(event));
    return true;
  }
  return QAbstractScrollArea::event(event);
}

// The start of the word before a place, or the end of the line above at a line's start.
TextPos ProgramEditor::wordStartBefore(TextPos from) const {
  if (from.column == 0) return from.line > 0 ? TextPos{from.line - 1, INT_MAX} : from;
  const std::string& line = lines_[static_cast<size_t>(from.line)];
  size_t i = static_cast<size_t>(from.column);
  while (i > 0 && !isWordByte(line[i - 1])) --i;
  while (i > 0 && isWordByte(line[i - 1])) --i;
  return {from.line, static_cast<int>(i)};
}

void ProgramEditor::keyPressEvent(QKeyEvent* event) {
  if (const Move* move = moveOf(event)) {
    const std::string& line = lines_[static_cast<size_t>(caret_.line)];
    const int length = static_cast<int>(line.size());
    const int page = std::max(1, viewport()->height() / lineHeight() - 1);
    TextPos to = caret_;
    auto upDown = [&](int lines) {
      if (preferredColumn_ < 0) preferredColumn_ = caret_.column;
      to.line = std::clamp(caret_.line + lines, 0, lineCount() - 1);
      to.column = preferredColumn_;
      if (lines > 0 && caret_.line + lines > lineCount() - 1) to.column = INT_MAX;  // past the end: its end
      if (lines < 0 && caret_.line + lines < 0) to.column = 0;
    };
    switch (move->kind) {
      case kNextChar:
        if (!move->select && hasSelection()) to = selectionEnd();
        else if (caret_.column < length) ++to.column;
        else if (caret_.line + 1 < lineCount()) to = {caret_.line + 1, 0};
        break;
      case kPreviousChar:
        if (!move->select && hasSelection()) to = selectionStart();
        else if (caret_.column > 0) --to.column;
        else if (caret_.line > 0) to = {caret_.line - 1, INT_MAX};
        break;
      case kNextWord: {
        if (caret_.column >= length) {
          if (caret_.line + 1 < lineCount()) to = {caret_.line + 1, 0};
          break;
        }
        size_t i = static_cast<size_t>(caret_.column);
        while (i < line.size() && isWordByte(line[i])) ++i;
        while (i < line.size() && !isWordByte(line[i])) ++i;
        to.column = static_cast<int>(i);
        break;
      }
      case kPreviousWord: to = wordStartBefore(caret_); break;
      case kNextLine: upDown(1); break;
      case kPreviousLine: upDown(-1); break;
      case kLineStart: to.column = 0; break;
      case kLineEnd: to.column = length; break;
      case kNextPage:
        upDown(page);
        verticalScrollBar()->setValue(verticalScrollBar()->value() + page);
        break;
      case kPreviousPage:
        upDown(-page);
        verticalScrollBar()->setValue(verticalScrollBar()->value() - page);
        break;
      case kTextStart: to = {}; break;
      case kTextEnd: to = {lineCount() - 1, INT_MAX}; break;
    }
    const bool keepsColumn = move->kind == kNextLine || move->kind == kPreviousLine || move->kind == kNextPage ||
                             move->kind == kPreviousPage;
    if (!keepsColumn) preferredColumn_ = -1;
    moveCaret(clamp(to), move->select);
    return;
  }
  if (event->matches(QKeySequence::Copy)) return copy();
  if (event->matches(QKeySequence::Cut)) return cut();
  if (event->matches(QKeySequence::Paste)) return paste();
  if (event->matches(QKeySequence::SelectAll)) return selectAll();
  if (event->matches(QKeySequence::Undo)) return undo();
  if (event->matches(QKeySequence::DeleteStartOfWord)) {
    if (!hasSelection()) return replaceRange(clamp(wordStartBefore(caret_)), caret_, {std::string()}, true);
    return replaceSelection({}, true);
  }
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) return replaceSelection("\n", true);
  if (plain && (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)) {
    if (!hasSelection()) {
      const bool back = event->key() == Qt::Key_Backspace;
      TextPos other = caret_;
      const int length = static_cast<int>(lines_[static_cast<size_t>(caret_.line)].size());
      if (back) {
        if (caret_.column > 0) --other.column;
        else if (caret_.line > 0) other = {caret_.line - 1, static_cast<int>(lines_[static_cast<size_t>(caret_.line - 1)].size())};
        else return;
      } else {
        if (caret_.column < length) ++other.column;
        else if (caret_.line + 1 < lineCount()) other = {caret_.line + 1, 0};
        else return;
      }
      // Undo puts the caret back where it stood, with nothing selected.
      return replaceRange(std::min(caret_, other), std::max(caret_, other), {std::string()}, true);
    }
    return replaceSelection({}, true);
  }
  if (isTyping(event)) return replaceSelection(event->text().toLatin1().toStdString(), true);
  QAbstractScrollArea::keyPressEvent(event);
}

void ProgramEditor::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  selectingWords_ = false;
  const TextPos at = positionAtPoint(event->position().toPoint());
  setSelection(event->modifiers() & Qt::ShiftModifier ? anchor_ : at, at);
}

void ProgramEditor::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton) || selectingWords_) return;
  dragAt_ = event->position().toPoint();
  setSelection(anchor_, positionAtPoint(dragAt_));
  if (dragAt_.y() < 0 || dragAt_.y() >= viewport()->height())
    dragScroll_.start();
  else
    dragScroll_.stop();
}

void ProgramEditor::mouseReleaseEvent(QMouseEvent* event) {
  dragScroll_.stop();
  event->accept();
}

void ProgramEditor::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const TextPos at = positionAtPoint(event->position().toPoint());
  const std::string& line = lines_[static_cast<size_t>(at.line)];
  size_t from = static_cast<size_t>(at.column), to = from;
  while (from > 0 && isWordByte(line[from - 1])) --from;
  while (to < line.size() && isWordByte(line[to])) ++to;
  selectingWords_ = true;
  setSelection({at.line, static_cast<int>(from)}, {at.line, static_cast<int>(to)});
}

}  // namespace kw
