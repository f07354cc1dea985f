#pragma once
// Print Text: the program text laid out on printed pages. Every page starts with a five-line
// header naming the page, the date, the time and the file; each program line follows,
// indented by eleven blanks. The window puts the lines on the printer one by one.
#include <string>
#include <string_view>
#include <vector>

namespace kw {

// Program lines counted per page number: the header of a page shows
// (index of its first program line div kTextPrintLinesPerNumber) + 1.
inline constexpr int kTextPrintLinesPerNumber = 50;
inline constexpr int kTextPrintHeaderLines = 5;
inline constexpr const char* kTextPrintIndent = "           ";  // eleven blanks

// The header of the page whose first program line has index firstLine (from 0).
std::vector<std::string> textPrintHeader(size_t firstLine, std::string_view date, std::string_view time,
                                         std::string_view fileName);

// The printed pages, each a list of text lines: the header, then as many program lines as
// fill the page to linesPerPage lines. A page holds at least one program line, even when
// linesPerPage leaves no room beside the header. No lines give no pages.
std::vector<std::vector<std::string>> layoutTextPages(const std::vector<std::string>& lines, int linesPerPage,
                                                      std::string_view fileName, std::string_view date,
                                                      std::string_view time);

}  // namespace kw
