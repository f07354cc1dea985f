#pragma once
// "Find and Insert": fixed lines put before, after or between program lines that contain given
// texts, for example a dwell before every pierce. Matching is case-sensitive and a line matches
// when it holds the search text anywhere; an empty search text is never found.
#include <array>
#include <string>
#include <vector>

namespace kw {

// The twelve texts, numbered as the window's boxes Edit0 to Edit11.
using LineInsertTexts = std::array<std::string, 12>;

// Runs the insertion over the whole program, each program line in turn from the top:
//   1. the after-text of B (Edit5) after a line holding B (Edit0),
//   2. the after-text of A (Edit3) after a line holding A (Edit1), so above the one of B,
//   3. the before-text of A (Edit2) and then 4. that of B (Edit4) before it, never before the
//      first line of the program,
//   5. Edit8 between the line and the next when the line holds Edit6 and the next Edit7,
//   6. the same with Edit9, Edit10 and Edit11.
// A before- or after-text is inserted only when it is not blank, a between-text whenever its two
// search texts are not blank; each as it stands (untrimmed). Inserted lines
// are never searched themselves, so a text that holds its own search text cannot make the
// program grow without end; they do count as the next line of step 5 and 6. Returns the number of
// lines inserted.
std::size_t findAndInsert(std::vector<std::string>& lines, const LineInsertTexts& texts);

}  // namespace kw
