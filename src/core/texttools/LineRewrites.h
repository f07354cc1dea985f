#pragma once
// Whole-program text rewrites, line by line: line numbers added and removed, the first comment
// of a line removed, blanks removed, a line-end text added and removed. Dialect words are
// matched as case-sensitive substrings; an empty word is never found. The rewrites that look
// inside a line (numbers removed, comments, blanks) cut the lines they rewrite to
// kMaxBlockLength bytes; the others keep whole lines.
#include <string>
#include <string_view>
#include <vector>

namespace kw {

// Every line without the N letter becomes the letter, the counter, a blank and the old line,
// except the tape mark "%" alone on its line, which must stay alone. The counter starts at
// `start` and grows by `step` after every line, numbered or not.
void Renumber(std::vector<std::string>& lines, std::string_view nLetter, int start, int step);

// A line holding the N letter loses everything before the first N letter, the letter and what
// follows it up to the next word terminator (blanks, digits, periods, ...). Returns the number of
// lines changed.
std::size_t RemoveNumbers(std::vector<std::string>& lines, std::string_view nLetter);

// In every line, from the first start delimiter up to and including the first character of the
// first end delimiter, when both are found and the end does not come first.
void RemoveComments(std::vector<std::string>& lines, std::string_view start, std::string_view end);

// Every blank of every line (tabs stay).
void RemoveSpaces(std::vector<std::string>& lines);

// Appends the text to every line that does not hold it anywhere.
void addLineEnds(std::vector<std::string>& lines, std::string_view text);

// Deletes the first occurrence of the text from every line that holds it.
void removeLineEnds(std::vector<std::string>& lines, std::string_view text);

}  // namespace kw
