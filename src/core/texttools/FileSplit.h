#pragma once
// A long program cut into parts for a controller with little memory. A part ends only after a
// line holding "M91" once it has reached its nominal size; every part ends with the closing line
// and the "File End" word, and every part after the first starts with the "File End" word and its
// own program number. The last three lines of the program are never copied.
#include <optional>
#include <string>
#include <vector>

#include "core/profile/Dialect.h"

namespace kw {

inline constexpr int kDefaultSplitLines = 5000;
inline constexpr int kDefaultSplitProgram = 3000;

struct SplitSettings {
  explicit SplitSettings(const Dialect& dialect);
  int linesPerPart = kDefaultSplitLines;    // row 72, when a whole number
  int baseProgram = kDefaultSplitProgram;   // row 23 without blanks and colons, when a whole number
  std::string closingLine;                  // row 78
  std::string fileEnd;                      // row 10
};

// "File is too samll to split Less than <lines per part> Lines".
std::string splitRefusal(const SplitSettings& settings);

// The parts, or nothing when the program is shorter than one part (fewer than lines per part + 1
// lines).
std::optional<std::vector<std::vector<std::string>>> splitProgram(const std::vector<std::string>& lines,
                                                                  const SplitSettings& settings);

// The name of part `part` (from 1): the program's name with its extension replaced by "_", the
// part number and ".TXT".
std::string splitFileName(const std::string& programName, int part);

}  // namespace kw
