#include "gui/GcodeHighlighter.h"

namespace kw {

QColor wordColour(WordKind kind) {
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

ProgramEditor::Colouring gcodeColouring(std::function<HighlightWords()> words) {
  return [words = std::move(words)](std::string_view line) {
    QList<QTextLayout::FormatRange> ranges;
    for (const WordSpan& span : highlightLine(line, words())) {
      QTextLayout::FormatRange range;
      range.start = static_cast<int>(span.start);
      range.length = static_cast<int>(span.length);
      range.format.setForeground(wordColour(span.kind));
      ranges.append(range);
    }
    return ranges;
  };
}

}  // namespace kw
