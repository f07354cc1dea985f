#include "core/texttools/LineInsertion.h"

#include <string_view>

namespace kw {

namespace {

bool blank(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) > ' ') return false;
  return true;
}

bool holds(std::string_view line, std::string_view text) {
  return !text.empty() && line.find(text) != std::string_view::npos;
}

}  // namespace

std::size_t findAndInsert(std::vector<std::string>& lines, const LineInsertTexts& t) {
  const std::string& searchA = t[1];
  const std::string& searchB = t[0];
  std::vector<std::string> out;
  out.reserve(lines.size());
  // The lines that follow a program line: its after-texts and between-texts, in program order.
  std::vector<const std::string*> following;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const std::string& line = lines[k];
    following.clear();
    if (!blank(t[5]) && holds(line, searchB)) following.insert(following.begin(), &t[5]);
    if (!blank(t[3]) && holds(line, searchA)) following.insert(following.begin(), &t[3]);
    if (k > 0 && !blank(t[2]) && holds(line, searchA)) out.push_back(t[2]);
    if (k > 0 && !blank(t[4]) && holds(line, searchB)) out.push_back(t[4]);
    const auto between = [&](const std::string& upper, const std::string& lower, const std::string& text) {
      if (blank(upper) || blank(lower) || !holds(line, upper)) return;
      const std::string* next = !following.empty() ? following.front() : k + 1 < lines.size() ? &lines[k + 1] : nullptr;
      if (next && holds(*next, lower)) following.insert(following.begin(), &text);
    };
    between(t[6], t[7], t[8]);
    between(t[9], t[10], t[11]);
    out.push_back(line);
    for (const std::string* f : following) out.push_back(*f);
  }
  const std::size_t inserted = out.size() - lines.size();
  lines = std::move(out);
  return inserted;
}

}  // namespace kw
