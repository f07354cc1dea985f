#pragma once
// Colours the words of the program in the main editor by the machine's dialect. Only the
// lines in view are coloured, when they come into view or change, so a program of a million
// lines opens and scrolls as fast as without colours.
#include <QObject>
#include <QPlainTextEdit>
#include <functional>
#include <optional>

#include "core/texttools/GcodeHighlight.h"

namespace kw {

class GcodeHighlighter : public QObject {
  Q_OBJECT
 public:
  // `words` is asked for the dialect's words at each pass; a change colours the view anew.
  GcodeHighlighter(QPlainTextEdit* editor, std::function<HighlightWords()> words);
  static QColor colour(WordKind kind);
  // Colours the lines in view that are not coloured yet or have changed since.
  void highlightVisible();

 private:
  QPlainTextEdit* editor_;
  std::function<HighlightWords()> words_;
  std::optional<HighlightWords> current_;
  unsigned generation_ = 0;
  bool busy_ = false;
};

}  // namespace kw
