#include "gui/GcodeHighlighter.h"

#include <QTextBlock>
#include <QTextLayout>

namespace kw {

namespace {

// Which text (its hash: a program loaded without undo keeps its blocks' revisions) and which
// dialect a line was coloured for.
struct Coloured : QTextBlockUserData {
  size_t text;
  unsigned generation;
  Coloured(size_t t, unsigned g) : text(t), generation(g) {}
};

bool sameWords(const HighlightWords& a, const HighlightWords& b) {
  return a.motion == b.motion && a.cutOn == b.cutOn && a.cutOff == b.cutOff && a.commentStart == b.commentStart &&
         a.commentEnd == b.commentEnd && a.lineNumber == b.lineNumber && a.axes == b.axes && a.centres == b.centres;
}

}  // namespace

GcodeHighlighter::GcodeHighlighter(QPlainTextEdit* editor, std::function<HighlightWords()> words)
    : QObject(editor), editor_(editor), words_(std::move(words)) {
  connect(editor_, &QPlainTextEdit::updateRequest, this, [this] { highlightVisible(); });
}

QColor GcodeHighlighter::colour(WordKind kind) {
  switch (kind) {
    case WordKind::Motion: return QColor(0x00, 0x44, 0xcc);
    case WordKind::Axis: return QColor(0x00, 0x66, 0x00);
    case WordKind::Centre: return QColor(0x7a, 0x3e, 0x9d);
    case WordKind::CutOn: return QColor(0xcc, 0x00, 0x00);
    case WordKind::CutOff: return QColor(0x99, 0x66, 0x00);
    case WordKind::Comment: return QColor(0x80, 0x80, 0x80);
    case WordKind::LineNumber: return QColor(0xa0, 0x5a, 0x00);
  }
  return {};
}

void GcodeHighlighter::highlightVisible() {
  // A coloured line asks for a repaint, which asks for this again: once is enough.
  if (busy_) return;
  busy_ = true;
  HighlightWords words = words_();
  if (!current_ || !sameWords(*current_, words)) {
    current_ = std::move(words);
    ++generation_;
  }
  QTextDocument* document = editor_->document();
  const int last = editor_->cursorForPosition(QPoint(0, editor_->viewport()->height() - 1)).blockNumber();
  for (QTextBlock block = editor_->cursorForPosition(QPoint(0, 0)).block(); block.isValid() && block.blockNumber() <= last;
       block = block.next()) {
    auto* done = static_cast<Coloured*>(block.userData());
    const QString text = block.text();
    const size_t hash = qHash(text);
    if (done && done->text == hash && done->generation == generation_) continue;
    QList<QTextLayout::FormatRange> ranges;
    // The spans are found in the line's bytes, one byte a character as the editor holds them.
    const QByteArray bytes = text.toLatin1();
    for (const WordSpan& span : highlightLine(std::string_view(bytes.constData(), bytes.size()), *current_)) {
      QTextLayout::FormatRange range;
      range.start = static_cast<int>(span.start);
      range.length = static_cast<int>(span.length);
      range.format.setForeground(colour(span.kind));
      ranges.append(range);
    }
    if (!done && ranges.isEmpty()) {
      block.setUserData(new Coloured(hash, generation_));
      continue;
    }
    block.layout()->setFormats(ranges);
    block.setUserData(new Coloured(hash, generation_));
    document->markContentsDirty(block.position(), block.length());
  }
  busy_ = false;
}

}  // namespace kw
