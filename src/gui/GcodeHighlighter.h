#pragma once
// Colours the words of the program in the main editor by the machine's dialect. The editor asks
// only for the lines in view, so a program of millions of lines opens and scrolls as fast as
// without colours.
#include <functional>

#include <QColor>

#include "core/texttools/GcodeHighlight.h"
#include "gui/ProgramEditor.h"

namespace kw {

QColor wordColour(WordKind kind);
// The editor's colouring; `words` is asked for the dialect's words each time the view is drawn,
// so a change of profile shows at once.
ProgramEditor::Colouring gcodeColouring(std::function<HighlightWords()> words);

}  // namespace kw
