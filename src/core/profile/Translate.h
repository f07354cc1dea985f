#pragma once
// The translate table: LabelTable rows 29 to 69 hold pairs, column 0 the text to find and
// column 1 its replacement, that rewrite program text for a particular controller.
#include <string>
#include <string_view>
#include <vector>

namespace kw {

class MachineProfile;

inline constexpr int kTranslateFirstRow = 29;
inline constexpr int kTranslateLastRow = 69;
inline constexpr int kTranslateMiddleRow = 49;

// Replaces the first occurrence of the row's find text (case-sensitive) by its replacement;
// the result is cut to 255 characters. An empty find text never occurs.
std::string Translate(const MachineProfile& profile, int row, std::string_view line);

// Applies rows first..last in ascending order, each to the result of the one before, after
// cutting the line to 255 characters.
std::string translateRows(const MachineProfile& profile, int first, int last, std::string_view line);

// Every line of a program, written back whether or not it changed.
void translateLines(std::vector<std::string>& lines, const MachineProfile& profile, int first, int last);

}  // namespace kw
