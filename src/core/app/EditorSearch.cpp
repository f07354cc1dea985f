#include "core/app/EditorSearch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace kw {

namespace {

// Stands for "no byte here": the start or the end of the text.
constexpr int kTextEdge = -1;

constexpr std::array<unsigned char, 256> makeUpperTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) {
    bool lower = (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
    table[c] = static_cast<unsigned char>(lower ? c - 32 : c);
  }
  return table;
}

constexpr std::array<bool, 256> makeDelimiterTable() {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) {
    bool wordChar = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    table[c] = !wordChar;
  }
  return table;
}

constexpr auto kUpper = makeUpperTable();
constexpr auto kDelimiter = makeDelimiterTable();

int byteAt(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }

bool delimiterOrEdge(int c) { return c == kTextEdge || kDelimiter[static_cast<unsigned char>(c)]; }

struct Pattern {
  std::string_view find;
  bool matchCase;
  bool wholeWord;

  bool equalAt(std::string_view s, size_t p) const {
    if (matchCase) return std::memcmp(s.data() + p, find.data(), find.size()) == 0;
    for (size_t i = 0; i < find.size(); ++i) {
      if (kUpper[byteAt(s, p + i)] != kUpper[byteAt(find, i)]) return false;
    }
    return true;
  }
};

// The first match lying wholly inside s. before is the byte in front of s (kTextEdge at the
// start of the text); s runs to the end of the text.
std::optional<size_t> scanDown(std::string_view s, int before, const Pattern& pattern) {
  const size_t m = pattern.find.size();
  if (m > s.size()) return std::nullopt;
  if (pattern.matchCase && !pattern.wholeWord) {
    size_t at = s.find(pattern.find);
    if (at == std::string_view::npos) return std::nullopt;
    return at;
  }
  const size_t last = s.size() - m;
  for (size_t p = 0; p <= last; ++p) {
    if (pattern.wholeWord) {
      int previous = p == 0 ? before : byteAt(s, p - 1);
      if (!delimiterOrEdge(previous)) continue;
      if (p + m < s.size() && !kDelimiter[byteAt(s, p + m)]) continue;
    }
    if (pattern.equalAt(s, p)) return p;
  }
  return std::nullopt;
}

// The last match starting at or before from, lying wholly inside s. s starts at the start of
// the text; after is the byte behind s (kTextEdge at the end of the text). Requires
// from + find.size() <= s.size().
std::optional<size_t> scanUp(std::string_view s, size_t from, int after, const Pattern& pattern) {
  const size_t m = pattern.find.size();
  for (size_t p = from + 1; p-- > 0;) {
    if (pattern.wholeWord) {
      if (p > 0 && !kDelimiter[byteAt(s, p - 1)]) continue;
      int next = p + m == s.size() ? after : byteAt(s, p + m);
      if (!delimiterOrEdge(next)) continue;
    }
    if (pattern.equalAt(s, p)) return p;
  }
  return std::nullopt;
}

void clampSelection(std::string_view text, size_t& selStart, size_t& selLength) {
  selStart = std::min(selStart, text.size());
  selLength = std::min(selLength, text.size() - selStart);
}

// Replace's first step: a selection equal to find (ignoring case) becomes the replacement and
// the selection a caret beside it, after it when searching down and before it when searching up.
ReplaceResult replaceSelection(std::string_view text, size_t selStart, size_t selLength, std::string_view find,
                               std::string_view replacement, bool down) {
  ReplaceResult result;
  result.selStart = selStart;
  result.selLength = selLength;
  if (find.empty() || selLength != find.size() || !equalsIgnoringCase(text.substr(selStart, selLength), find)) {
    result.text = text;
    return result;
  }
  result.text.reserve(text.size() - selLength + replacement.size());
  result.text.append(text.substr(0, selStart));
  result.text.append(replacement);
  result.text.append(text.substr(selStart + selLength));
  result.selStart = down ? selStart + replacement.size() : selStart;
  result.selLength = 0;
  result.replacements = 1;
  return result;
}

// Replaces every match after the caret, each search starting behind the previous replacement.
void replaceRestDown(ReplaceResult& result, const Pattern& pattern, std::string_view replacement) {
  const std::string_view work = result.text;
  size_t rest = result.selStart + result.selLength;
  std::string out;
  out.reserve(work.size());
  out.append(work.substr(0, rest));
  size_t caret = 0;
  size_t count = 0;
  for (;;) {
    int before = out.empty() ? kTextEdge : static_cast<unsigned char>(out.back());
    auto at = scanDown(work.substr(rest), before, pattern);
    if (!at) break;
    out.append(work.substr(rest, *at));
    out.append(replacement);
    caret = out.size();
    rest += *at + pattern.find.size();
    ++count;
  }
  if (count == 0) return;
  out.append(work.substr(rest));
  result.text = std::move(out);
  result.selStart = caret;
  result.selLength = 0;
  result.replacements += count;
}

// Replaces every match before the caret, each search starting in front of the previous
// replacement. The text behind the scan is collected back to front and joined at the end.
void replaceRestUp(ReplaceResult& result, const Pattern& pattern, std::string_view replacement) {
  const std::string_view work = result.text;
  const size_t m = pattern.find.size();
  const size_t end = result.selStart;
  int after = end < work.size() ? byteAt(work, end) : kTextEdge;
  std::vector<std::string_view> behind;  // pieces after the scan point, last piece first
  size_t scanEnd = end;
  size_t grownSize = 0;
  while (scanEnd >= m) {
    auto at = scanUp(work.substr(0, scanEnd), scanEnd - m, after, pattern);
    if (!at) break;
    std::string_view between = work.substr(*at + m, scanEnd - (*at + m));
    behind.push_back(between);
    behind.push_back(replacement);
    grownSize += between.size() + replacement.size();
    if (!replacement.empty()) {
      after = static_cast<unsigned char>(replacement.front());
    } else if (!between.empty()) {
      after = static_cast<unsigned char>(between.front());
    }
    scanEnd = *at;
  }
  if (behind.empty()) return;
  std::string out;
  out.reserve(scanEnd + grownSize + (work.size() - end));
  out.append(work.substr(0, scanEnd));
  for (auto piece = behind.rbegin(); piece != behind.rend(); ++piece) out.append(*piece);
  out.append(work.substr(end));
  result.text = std::move(out);
  result.selStart = scanEnd;
  result.selLength = 0;
  result.replacements += behind.size() / 2;
}

}  // namespace

unsigned char latin1Upper(unsigned char c) { return kUpper[c]; }

bool isWordDelimiter(unsigned char c) { return kDelimiter[c]; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (kUpper[byteAt(a, i)] != kUpper[byteAt(b, i)]) return false;
  }
  return true;
}

std::optional<size_t> searchEditorText(std::string_view text, size_t selStart, size_t selLength, std::string_view find,
                                       bool down, bool matchCase, bool wholeWord) {
  if (find.empty()) return std::nullopt;
  clampSelection(text, selStart, selLength);
  const Pattern pattern{find, matchCase, wholeWord};
  if (down) {
    const size_t from = selStart + selLength;
    int before = from == 0 ? kTextEdge : byteAt(text, from - 1);
    auto at = scanDown(text.substr(from), before, pattern);
    if (!at) return std::nullopt;
    return from + *at;
  }
  if (selStart < find.size()) return std::nullopt;
  return scanUp(text, selStart - find.size(), kTextEdge, pattern);
}

std::string cannotFindMessage(std::string_view find) {
  std::string message = "Cannot find \"";
  message.append(find);
  message.append("\".");
  return message;
}

std::string replacedMessage(size_t replacements) {
  return "Replaced " + std::to_string(replacements) + (replacements == 1 ? " occurrence" : " occurrences");
}

ReplaceResult replaceStep(std::string_view text, size_t selStart, size_t selLength, std::string_view find,
                          std::string_view replacement, bool down, bool matchCase, bool wholeWord) {
  clampSelection(text, selStart, selLength);
  ReplaceResult result = replaceSelection(text, selStart, selLength, find, replacement, down);
  auto at = searchEditorText(result.text, result.selStart, result.selLength, find, down, matchCase, wholeWord);
  if (at) {
    result.selStart = *at;
    result.selLength = find.size();
    result.found = true;
  }
  return result;
}

ReplaceResult replaceAll(std::string_view text, size_t selStart, size_t selLength, std::string_view find,
                         std::string_view replacement, bool down, bool matchCase, bool wholeWord) {
  clampSelection(text, selStart, selLength);
  ReplaceResult result = replaceSelection(text, selStart, selLength, find, replacement, down);
  if (find.empty()) return result;
  const Pattern pattern{find, matchCase, wholeWord};
  if (down) {
    replaceRestDown(result, pattern, replacement);
  } else {
    replaceRestUp(result, pattern, replacement);
  }
  return result;
}

}  // namespace kw
