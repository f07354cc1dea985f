#include "core/texttools/LineRewrites.h"

#include <charconv>

#include "core/text/BlockScanner.h"

namespace kw {

namespace {

std::size_t find(std::string_view line, std::string_view word) {
  return word.empty() ? std::string_view::npos : line.find(word);
}

void cut(std::string& line) {
  if (line.size() > kMaxBlockLength) line.resize(kMaxBlockLength);
}

// The tape mark that opens and closes a program, alone on its line (blanks around it allowed).
bool isTapeMark(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  return first != std::string_view::npos && line[first] == '%' &&
         line.find_first_not_of(" \t", first + 1) == std::string_view::npos;
}

}  // namespace

void Renumber(std::vector<std::string>& lines, std::string_view nLetter, int start, int step) {
  long long counter = start;
  std::string numbered;
  char digits[24];
  for (std::string& line : lines) {
    // A number before the tape mark would make it a block that a control refuses.
    if (find(line, nLetter) == std::string_view::npos && !isTapeMark(line)) {
      const auto end = std::to_chars(digits, digits + sizeof digits, counter).ptr;
      numbered.assign(nLetter);
      numbered.append(digits, end);
      numbered += ' ';
      numbered += line;
      line.swap(numbered);
    }
    counter += step;
  }
}

std::size_t RemoveNumbers(std::vector<std::string>& lines, std::string_view nLetter) {
  std::size_t changed = 0;
  for (std::string& line : lines) {
    const std::size_t at = find(std::string_view(line).substr(0, kMaxBlockLength), nLetter);
    if (at == std::string_view::npos) continue;
    cut(line);
    std::size_t from = at + nLetter.size();
    while (from < line.size() && !isWordTerminator(line[from])) ++from;
    line.erase(0, from);
    ++changed;
  }
  return changed;
}

void RemoveComments(std::vector<std::string>& lines, std::string_view start, std::string_view end) {
  for (std::string& line : lines) {
    cut(line);
    const std::size_t p1 = find(line, start), p2 = find(line, end);
    if (p1 != std::string_view::npos && p2 != std::string_view::npos && p2 >= p1) line.erase(p1, p2 - p1 + 1);
  }
}

void RemoveSpaces(std::vector<std::string>& lines) {
  for (std::string& line : lines) {
    cut(line);
    std::erase(line, ' ');
  }
}

void addLineEnds(std::vector<std::string>& lines, std::string_view text) {
  if (text.empty()) return;
  for (std::string& line : lines)
    if (line.find(text) == std::string::npos) line += text;
}

void removeLineEnds(std::vector<std::string>& lines, std::string_view text) {
  for (std::string& line : lines) {
    const std::size_t at = find(line, text);
    if (at != std::string_view::npos) line.erase(at, text.size());
  }
}

}  // namespace kw
