#include "core/text/BlockScanner.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <limits>

#include "core/text/DecimalNumber.h"

namespace kw {
namespace {

constexpr std::array<bool, 256> makeTerminatorTable() {
  std::array<bool, 256> table{};
  for (char ch : WordTerminators) table[static_cast<unsigned char>(ch)] = true;
  return table;
}
constexpr std::array<bool, 256> kTerminator = makeTerminatorTable();

std::string_view cutBlock(std::string_view block) { return block.substr(0, std::min(block.size(), kMaxBlockLength)); }

// Converts `text` when the whole of it is a decimal number with digits on both sides of a
// point. A value beyond the float range does not convert; a value too small for a float
// becomes a zero of the same sign.
bool convertNumber(std::string_view text, float& out) {
  return readDecimal(text, PointDigits::BothSides, out) == NumberRead::Number;
}

float toFloat(long double value) {
  if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
  if (value > FLT_MAX) return std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

// Appends `text` to `out` without its blanks and tabs.
void appendWithoutBlanks(std::string& out, std::string_view text) {
  for (char ch : text)
    if (ch != ' ' && ch != '\t') out.push_back(ch);
}

// Takes the first word of `letter` out of `work`; returns it followed by one blank, or an
// empty text when the letter does not occur.
std::string takeWord(std::string& work, std::string_view letter) {
  if (letter.empty()) return {};
  const std::size_t start = work.find(letter);
  if (start == std::string::npos) return {};
  std::size_t end = start + letter.size();
  if (end < work.size()) ++end;  // the character right after the letter always belongs
  while (end < work.size() && !isWordTerminator(work[end])) ++end;
  std::string word;
  word.reserve(end - start + 1);
  word.append(work, start, end - start);
  word.push_back(' ');
  work.erase(start, end - start);
  return word;
}

}  // namespace

bool isWordTerminator(char ch) { return kTerminator[static_cast<unsigned char>(ch)]; }

LetterValue FindLetterValue(std::string_view letter, std::string_view block) {
  if (letter.empty()) return {};
  block = cutBlock(block);
  char stripped[kMaxBlockLength];
  std::size_t length = 0;
  for (char ch : block)
    if (ch != ' ' && ch != '\t') stripped[length++] = ch;
  const std::string_view text(stripped, length);

  const std::size_t at = text.find(letter);
  if (at == std::string_view::npos) return {};
  const std::size_t start = at + letter.size();
  if (start >= length) return {};
  std::size_t end = start + 1;  // the first character always belongs to the number
  while (end < length && !isWordTerminator(text[end])) ++end;
  const std::string_view number = text.substr(start, end - start);

  float value = 0.0f;
  if (convertNumber(number, value)) return {value, true};

  // One repair: ".5" -> "0.5", "-.5" -> "-0.5", then "5." -> "5".
  char repaired[kMaxBlockLength + 2];
  std::size_t size = 0;
  if (number.front() == '.') repaired[size++] = '0';
  for (char ch : number) repaired[size++] = ch;
  if (size >= 2 && repaired[0] == '-' && repaired[1] == '.') {
    for (std::size_t q = size; q > 1; --q) repaired[q] = repaired[q - 1];
    repaired[1] = '0';
    ++size;
  }
  if (size > 0 && repaired[size - 1] == '.') --size;
  if (convertNumber(std::string_view(repaired, size), value)) return {value, true};
  return {};
}

BlockWords SplitBlockWords(std::string_view block, const BlockLetters& letters) {
  block = cutBlock(block);
  std::string work;
  work.reserve(block.size());
  std::string comments;
  const std::string_view open = letters.commentStart;
  const std::string_view close = letters.commentEnd;
  if (open.empty()) {
    appendWithoutBlanks(work, block);
  } else {
    std::size_t pos = 0;
    while (pos < block.size()) {
      const std::size_t start = block.find(open, pos);
      if (start == std::string_view::npos) {
        appendWithoutBlanks(work, block.substr(pos));
        break;
      }
      appendWithoutBlanks(work, block.substr(pos, start - pos));
      std::size_t stop = block.size();
      if (!close.empty()) {
        const std::size_t endAt = block.find(close, start + open.size());
        if (endAt != std::string_view::npos) stop = endAt + close.size();
      }
      comments.append(block.substr(start, stop - start));
      pos = stop;
    }
  }

  BlockWords words;
  words.g = takeWord(work, "G");
  words.m = takeWord(work, "M");
  words.n = takeWord(work, letters.n);
  words.x = takeWord(work, letters.x);
  words.y = takeWord(work, letters.y);
  words.z = takeWord(work, letters.z);
  words.r = takeWord(work, letters.r);
  words.i = takeWord(work, letters.i);
  words.j = takeWord(work, letters.j);
  words.k = takeWord(work, letters.k);
  words.rest = std::move(work);
  words.rest += comments;
  return words;
}

std::string StripChar(char mode, char ch, std::string_view text) {
  if (mode >= 'a' && mode <= 'z') mode = static_cast<char>(mode - 'a' + 'A');
  std::size_t first = 0, last = text.size();
  switch (mode) {
    case 'A': {
      std::string out;
      out.reserve(text.size());
      for (char c : text)
        if (c != ch) out.push_back(c);
      return out;
    }
    case 'B':
    case 'L':
      while (first < last && text[first] == ch) ++first;
      if (mode == 'L') break;
      [[fallthrough]];
    case 'R':
      while (last > first && text[last - 1] == ch) --last;
      break;
    default:
      break;
  }
  return std::string(text.substr(first, last - first));
}

float RootOfSquareDifference(float a, float b) {
  const long double la = a, lb = b;
  return toFloat(std::sqrt(std::fabs(la * la - lb * lb)));
}

float RootOfSquareSum(float a, float b) {
  const long double la = a, lb = b;
  return toFloat(std::sqrt(la * la + lb * lb));
}

}  // namespace kw
