#pragma once
// Find and replace in the editor text. The text is a byte string (Latin-1, lines separated by
// '\n'); every position is a byte offset and a selection is a start and a length. The window
// does the selecting, scrolling and message boxes; these routines only decide where the match
// is and what the text becomes.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kw {

// Latin-1 upper case of one byte: a-z and 0xE0-0xFE (except 0xF7, the division sign) move to
// their capitals; every other byte stays.
unsigned char latin1Upper(unsigned char c);

// Whole-word delimiters: every byte except 0-9, A-Z and a-z.
bool isWordDelimiter(unsigned char c);

// Equal byte for byte after latin1Upper.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// The start of the next match of find, or nothing.
// - An empty find text finds nothing.
// - Down: the scan starts at the end of the selection and covers the whole remaining text.
// - Up: the scan starts at selStart - find.size() (so the match ends at or before the
//   selection start) and moves back one byte at a time to the start of the text.
// - Without matchCase both sides are compared in Latin-1 upper case.
// - With wholeWord only word starts are tried (the text start, or a position after a
//   delimiter), and a match counts only when the byte after it is a delimiter or the match
//   ends the text.
// A selection reaching past the end of the text is cut to the text.
std::optional<size_t> searchEditorText(std::string_view text, size_t selStart, size_t selLength, std::string_view find,
                                       bool down, bool matchCase, bool wholeWord);

// The message shown when a search finds nothing: Cannot find "X".
std::string cannotFindMessage(std::string_view find);

// The message after Replace All: how many matches it replaced ("Replaced 3 occurrences",
// "Replaced 1 occurrence").
std::string replacedMessage(size_t replacements);

// The text and selection after a Replace or Replace All.
struct ReplaceResult {
  std::string text;
  size_t selStart = 0;
  size_t selLength = 0;
  size_t replacements = 0;  // how many times the replacement text went in
  bool found = false;       // the last search found a match (then it is the selection)
};

// Replace: when the selection equals find (ignoring case) it becomes the replacement; then
// the search runs once. When it finds a match, that match is the new selection (found);
// otherwise the selection is a caret next to the replacement, or unchanged when nothing was
// replaced, and the window shows cannotFindMessage.
// After a replacement the caret stands after the inserted text when searching down and
// before it when searching up, so the next search never looks inside the inserted text.
// An empty find text replaces nothing and finds nothing.
ReplaceResult replaceStep(std::string_view text, size_t selStart, size_t selLength, std::string_view find,
                          std::string_view replacement, bool down, bool matchCase, bool wholeWord);

// Replace All: the same first replacement and search, then every match found is replaced in
// turn and the search runs again from the caret beside the replacement until nothing more is
// found. The final selection is the caret beside the last replacement (unchanged when there
// was none); found is always false. Ends after at most one pass over the text, also when the
// replacement contains the find text.
ReplaceResult replaceAll(std::string_view text, size_t selStart, size_t selLength, std::string_view find,
                         std::string_view replacement, bool down, bool matchCase, bool wholeWord);

}  // namespace kw
