#include "core/text/BlockScanner.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstring>
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

// What a character is to a scan of a block: part of a word, a blank (or tab), or a terminator.
enum CharClass : unsigned char { kPlain = 0, kBlank = 1, kEnds = 2 };
constexpr std::array<unsigned char, 256> makeClassTable() {
  std::array<unsigned char, 256> table{};
  for (char ch : WordTerminators) table[static_cast<unsigned char>(ch)] = kEnds;
  table[static_cast<unsigned char>(' ')] = table[static_cast<unsigned char>('\t')] = kBlank;
  return table;
}
constexpr std::array<unsigned char, 256> kClass = makeClassTable();

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

bool singleLetters(const BlockLetters& l) {
  for (const std::string* letter : {&l.n, &l.x, &l.y, &l.z, &l.r, &l.i, &l.j, &l.k})
    if (letter->size() > 1) return false;
  return true;
}

// takeWord for every letter in turn when each letter is one character: the words are marked
// as taken instead of cut out, and what is left is gathered once at the end. One scan finds
// where each letter first occurs; only a letter whose first occurrence went with an earlier
// word is looked for again.
void splitSingleLetters(const char* work, std::size_t length, const BlockLetters& letters, BlockWords& words) {
  const std::string_view order[] = {"G",       "M",       letters.n, letters.x, letters.y,
                                    letters.z, letters.r, letters.i, letters.j, letters.k};
  constexpr std::size_t kNone = kMaxBlockLength;
  std::size_t first[256];
  for (const std::string_view letter : order)
    if (!letter.empty()) first[static_cast<unsigned char>(letter[0])] = kNone;
  for (std::size_t q = length; q-- > 0;) first[static_cast<unsigned char>(work[q])] = q;
  bool taken[kMaxBlockLength];
  std::fill_n(taken, length, false);
  char word[kMaxBlockLength + 1];
  auto take = [&](std::string_view letter, std::string& out) {
    if (letter.empty()) return;
    std::size_t at = first[static_cast<unsigned char>(letter[0])];
    if (at == kNone) return;
    while (taken[at]) {  // an earlier word holds it: the next occurrence, if any
      const void* hit = ++at < length ? std::memchr(work + at, letter[0], length - at) : nullptr;
      if (!hit) return;
      at = static_cast<std::size_t>(static_cast<const char*>(hit) - work);
    }
    taken[at] = true;
    std::size_t size = 0;
    word[size++] = work[at];
    bool firstAfter = true;  // the character right after the letter always belongs
    for (std::size_t q = at + 1; q < length; ++q) {
      if (taken[q]) continue;
      if (!firstAfter && isWordTerminator(work[q])) break;
      firstAfter = false;
      taken[q] = true;
      word[size++] = work[q];
    }
    word[size++] = ' ';
    out.assign(word, size);
  };
  std::string* const into[] = {&words.g, &words.m, &words.n, &words.x, &words.y,
                               &words.z, &words.r, &words.i, &words.j, &words.k};
  for (std::size_t l = 0; l < std::size(order); ++l) take(order[l], *into[l]);
  std::size_t size = 0;
  for (std::size_t q = 0; q < length; ++q)
    if (!taken[q]) word[size++] = work[q];
  words.rest.assign(word, size);
}

}  // namespace

PlainWordSplitter::PlainWordSplitter(const BlockLetters& letters) {
  std::fill(std::begin(slot_), std::end(slot_), kNoSlot);
  // A comment delimiter that ends a number is caught as a terminator inside a word; one that does
  // not, letters of more than one character and two letters alike are left to the general scan.
  comments_ = !letters.commentStart.empty();
  comment_ = comments_ ? letters.commentStart[0] : '\0';
  usable_ = singleLetters(letters) && (!comments_ || kClass[static_cast<unsigned char>(comment_)] == kEnds);
  const std::string_view order[] = {"G",       "M",       letters.n, letters.x, letters.y,
                                    letters.z, letters.r, letters.i, letters.j, letters.k};
  for (unsigned char slot = 0; slot < std::size(order); ++slot) {
    if (order[slot].empty()) continue;
    unsigned char& at = slot_[static_cast<unsigned char>(order[slot][0])];
    if (at != kNoSlot || order[slot][0] == '\0') usable_ = false;
    at = slot;
  }
}

bool PlainWordSplitter::split(std::string_view block, PlainWords& words, char* restBuffer) const {
  static constexpr std::string_view PlainWords::*kInto[] = {&PlainWords::g, &PlainWords::m, &PlainWords::n,
                                                             &PlainWords::x, &PlainWords::y, &PlainWords::z,
                                                             &PlainWords::r, &PlainWords::i, &PlainWords::j,
                                                             &PlainWords::k};
  if (!usable_ || block.size() > kMaxBlockLength) return false;
  words = PlainWords{};
  std::size_t restSize = 0;
  const char* const text = block.data();
  const std::size_t size = block.size();
  std::size_t q = 0;
  bool firstPiece = true;
  while (true) {
    while (q < size && kClass[static_cast<unsigned char>(text[q])] == kBlank) ++q;
    if (q == size) break;
    const std::size_t start = q;
    for (++q; q < size; ++q) {
      const unsigned char kind = kClass[static_cast<unsigned char>(text[q])];
      if (kind != kPlain) {
        if (kind == kEnds) return false;
        break;
      }
    }
    const char lead = text[start];
    if (q - start < 2 || (comments_ && lead == comment_) ||
        (!firstPiece && kClass[static_cast<unsigned char>(lead)] != kEnds))
      return false;
    firstPiece = false;
    const std::string_view piece(text + start, q - start);
    const unsigned char slot = slot_[static_cast<unsigned char>(lead)];
    if (slot != kNoSlot && (words.*kInto[slot]).empty()) {
      words.*kInto[slot] = piece;
    } else if (restBuffer) {
      std::memcpy(restBuffer + restSize, piece.data(), piece.size());
      restSize += piece.size();
    } else {
      if (!words.rest.empty()) return false;
      words.rest = piece;
    }
  }
  if (restBuffer) words.rest = std::string_view(restBuffer, restSize);
  return true;
}

bool PlainWordSplitter::standsInOrder(std::string_view block, const unsigned char (&rank)[10], bool rest) const {
  if (!usable_ || block.size() > kMaxBlockLength) return false;
  const auto* p = reinterpret_cast<const unsigned char*>(block.data());
  const auto* const end = p + block.size();
  unsigned taken = 0;
  int lastRank = -1;
  bool firstPiece = true;
  while (p != end) {
    if (kClass[*p] == kBlank) return false;  // a blank before the first word, or a second one
    const auto* const start = p;
    const unsigned char lead = *p++;
    while (p != end && kClass[*p] == kPlain) ++p;
    if (p != end && kClass[*p] == kEnds) return false;
    if (p - start < 2 || (comments_ && lead == static_cast<unsigned char>(comment_)) ||
        (!firstPiece && kClass[lead] != kEnds))
      return false;
    firstPiece = false;
    const unsigned char slot = slot_[lead];
    if (slot == kNoSlot || (taken & (1u << slot)) != 0) return rest && p == end;  // the rest, last
    if (rank[slot] == kNotWritten || rank[slot] <= lastRank) return false;
    lastRank = rank[slot];
    taken |= 1u << slot;
    if (p == end || *p != ' ') return false;
    ++p;
  }
  return true;
}

PlainWords wordViews(const BlockWords& w) {
  // Every word but the rest ends with its blank.
  auto bare = [](const std::string& word) { return std::string_view(word).substr(0, word.empty() ? 0 : word.size() - 1); };
  return {bare(w.g), bare(w.m), bare(w.n), bare(w.x), bare(w.y), bare(w.z),
          bare(w.r), bare(w.i), bare(w.j), bare(w.k), w.rest};
}

bool holdsWithoutBlanks(std::string_view block, std::string_view text, std::size_t from, bool once) {
  for (std::size_t start = from; start != std::string_view::npos;
       start = once ? std::string_view::npos : block.find(text[0], start + 1)) {
    std::size_t at = start, matched = 0;
    for (; matched < text.size() && at < block.size(); ++at) {
      if (block[at] == ' ' || block[at] == '\t') continue;
      if (block[at] != text[matched]) break;
      ++matched;
    }
    if (matched == text.size()) return true;
  }
  return false;
}

bool isWordTerminator(char ch) { return kTerminator[static_cast<unsigned char>(ch)]; }

LetterValue FindLetterValue(std::string_view letter, std::string_view block) {
  if (letter.empty()) return {};
  block = cutBlock(block);
  // The number after the letter, without blanks; a one-character letter is found in the block
  // itself, where blanks cannot hide or make an occurrence of it.
  char numberText[kMaxBlockLength];
  std::size_t numberLength = 0;
  std::size_t from = 0;
  if (letter.size() == 1) {
    if (letter[0] == ' ' || letter[0] == '\t') return {};
    const std::size_t at = block.find(letter[0]);
    if (at == std::string_view::npos) return {};
    from = at + 1;
  } else {
    char stripped[kMaxBlockLength];
    std::size_t length = 0;
    for (char ch : block)
      if (ch != ' ' && ch != '\t') stripped[length++] = ch;
    const std::size_t at = std::string_view(stripped, length).find(letter);
    if (at == std::string_view::npos) return {};
    // The letter's last character lies in the block after as many characters as were kept
    // before it, counting the blanks on the way.
    std::size_t kept = 0, q = 0;
    for (; q < block.size(); ++q) {
      if (block[q] == ' ' || block[q] == '\t') continue;
      if (++kept == at + letter.size()) break;
    }
    from = q + 1;
  }
  // Most numbers stand without a blank inside them: they are read where they stand when the
  // first character after them that is not a blank ends them.
  std::string_view number;
  std::size_t q = from;
  while (q < block.size() && kClass[static_cast<unsigned char>(block[q])] == kBlank) ++q;
  if (q < block.size()) {
    const std::size_t start = q;
    for (++q; q < block.size() && kClass[static_cast<unsigned char>(block[q])] == kPlain; ++q) {
    }
    std::size_t after = q;
    while (after < block.size() && kClass[static_cast<unsigned char>(block[after])] == kBlank) ++after;
    if (after == block.size() || kClass[static_cast<unsigned char>(block[after])] == kEnds)
      number = block.substr(start, q - start);
  }
  if (number.empty()) {
    for (std::size_t at = from; at < block.size(); ++at) {
      const char ch = block[at];
      if (ch == ' ' || ch == '\t') continue;
      if (numberLength > 0 && isWordTerminator(ch)) break;  // the first character always belongs
      numberText[numberLength++] = ch;
    }
    if (numberLength == 0) return {};
    number = std::string_view(numberText, numberLength);
  }

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
  BlockWords words;
  PlainWords plain;
  char restBuffer[kMaxBlockLength];
  if (PlainWordSplitter(letters).split(block, plain, restBuffer)) {
    const std::string_view* const from[] = {&plain.g, &plain.m, &plain.n, &plain.x, &plain.y,
                                            &plain.z, &plain.r, &plain.i, &plain.j, &plain.k};
    std::string* const into[] = {&words.g, &words.m, &words.n, &words.x, &words.y,
                                 &words.z, &words.r, &words.i, &words.j, &words.k};
    for (std::size_t slot = 0; slot < std::size(from); ++slot) {
      if (from[slot]->empty()) continue;
      into[slot]->reserve(from[slot]->size() + 1);
      into[slot]->assign(*from[slot]);
      into[slot]->push_back(' ');
    }
    words.rest.assign(plain.rest);
    return words;
  }
  block = cutBlock(block);
  // The block without its blanks and comments; the comments are kept apart.
  char work[kMaxBlockLength];
  std::size_t length = 0;
  auto appendWithoutBlanks = [&](std::string_view text) {
    for (char ch : text)
      if (ch != ' ' && ch != '\t') work[length++] = ch;
  };
  std::string comments;
  const std::string_view open = letters.commentStart;
  const std::string_view close = letters.commentEnd;
  if (open.empty()) {
    appendWithoutBlanks(block);
  } else {
    std::size_t pos = 0;
    while (pos < block.size()) {
      const std::size_t start = block.find(open, pos);
      if (start == std::string_view::npos) {
        appendWithoutBlanks(block.substr(pos));
        break;
      }
      appendWithoutBlanks(block.substr(pos, start - pos));
      std::size_t stop = block.size();
      if (!close.empty()) {
        const std::size_t endAt = block.find(close, start + open.size());
        if (endAt != std::string_view::npos) stop = endAt + close.size();
      }
      comments.append(block.substr(start, stop - start));
      pos = stop;
    }
  }

  if (singleLetters(letters)) {
    splitSingleLetters(work, length, letters, words);
    words.rest += comments;
    return words;
  }
  std::string rest(work, length);
  words.g = takeWord(rest, "G");
  words.m = takeWord(rest, "M");
  words.n = takeWord(rest, letters.n);
  words.x = takeWord(rest, letters.x);
  words.y = takeWord(rest, letters.y);
  words.z = takeWord(rest, letters.z);
  words.r = takeWord(rest, letters.r);
  words.i = takeWord(rest, letters.i);
  words.j = takeWord(rest, letters.j);
  words.k = takeWord(rest, letters.k);
  words.rest = std::move(rest);
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

bool programContains(const std::vector<std::string>& lines, std::string_view word) {
  if (word.empty()) return false;
  for (const std::string& line : lines)
    if (line.find(word) != std::string::npos) return true;
  return false;
}

}  // namespace kw
