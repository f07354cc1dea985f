#include "core/texttools/BlockSwap.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <utility>

#include "core/text/FileIo.h"
#include "core/text/FixedText.h"
#include "core/text/TempFiles.h"
#include "core/ui/UiPort.h"

namespace kw {

namespace {

constexpr int kCentrePrecision = 7;

bool holds(std::string_view text, const std::string& word) {
  return !word.empty() && text.find(word) != std::string_view::npos;
}

float valueOf(const std::string& letter, const std::string& word) {
  return word.empty() ? 0.0f : FindLetterValue(letter, word).value;
}

std::string concat(std::initializer_list<const std::string*> words) {
  std::string out;
  for (const std::string* w : words) out += *w;
  return out;
}

// Where a line of an absolute program leaves the tool: each axis it gives, the others as they were.
void moveTo(AxisPosition& at, std::string_view line, const BlockLetters& letters) {
  for (auto [letter, value] : {std::pair{&letters.x, &at.x}, {&letters.y, &at.y}, {&letters.z, &at.z}}) {
    const LetterValue read = FindLetterValue(*letter, line);
    if (read.found) *value = read.value;
  }
}

// The turning sense of a line's G word: an arc word of the dialect, or none.
enum class Turn { None, Cw, Ccw };
Turn turnOf(const std::string& g, const SwapSettings& s) {
  const std::string word = StripChar('A', ' ', g);
  if (word.empty()) return Turn::None;
  return word == s.arcCw ? Turn::Cw : word == s.arcCcw ? Turn::Ccw : Turn::None;
}

// A line that leaves out an axis ends where the line before it left that axis. Travelled the
// other way, the line before is another one, so each move of the block (and the end of each
// line that an arc starts from) is given every axis the block moves along, at the position it
// ends at going forward. Lines that give them all stay as they are.
void giveEveryMoveItsAxes(std::vector<BlockWords>& lastLineFirst, const SwapSettings& s, AxisPosition at) {
  const BlockLetters& l = s.letters;
  bool usesX = false, usesY = false, usesZ = false;
  for (const BlockWords& w : lastLineFirst) usesX |= !w.x.empty(), usesY |= !w.y.empty(), usesZ |= !w.z.empty();
  for (std::size_t k = lastLineFirst.size(); k-- > 0;) {  // the block in its own order
    BlockWords& w = lastLineFirst[k];
    const bool arcStartsHere = k > 0 && turnOf(lastLineFirst[k - 1].g, s) != Turn::None;
    const bool ends = arcStartsHere || !w.x.empty() || !w.y.empty() || !w.z.empty();
    for (auto [word, letter, value, used] : {std::tuple{&w.x, &l.x, &at.x, usesX}, std::tuple{&w.y, &l.y, &at.y, usesY},
                                             std::tuple{&w.z, &l.z, &at.z, usesZ}}) {
      if (!word->empty()) {
        const LetterValue read = FindLetterValue(*letter, *word);
        if (read.found) *value = read.value;
      } else if (ends && used) {
        *word = *letter + FixedText(*value, s.decimals, kCentrePrecision) + " ";
      }
    }
  }
}

// Where the feed word of a text stands outside its comments: [begin, end), and the word with its
// blanks left out. Comments run from the comment start to the next comment end, or to the end of
// the text, as the scanner lifts them out.
struct FeedPlace {
  std::size_t begin = 0, end = 0;
  std::string word;
};
FeedPlace feedPlace(std::string_view text, const BlockLetters& letters) {
  const std::string_view open = letters.commentStart, close = letters.commentEnd;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (!open.empty() && text.substr(at, open.size()) == open) {
      const std::size_t shut = close.empty() ? std::string_view::npos : text.find(close, at + open.size());
      if (shut == std::string_view::npos) break;
      at = shut + close.size() - 1;
      continue;
    }
    if (text[at] != 'F') continue;
    FeedPlace place{at, at + 1, "F"};
    bool digits = false;
    for (std::size_t q = at + 1; q < text.size(); ++q) {
      const char ch = text[q];
      const bool blank = ch == ' ' || ch == '\t';
      if (blank && place.word.size() == 1) continue;  // blanks between the letter and the number
      const bool digit = ch >= '0' && ch <= '9';
      if (!(digit || ch == '.' || ((ch == '-' || ch == '+') && place.word.size() == 1))) break;
      place.word += ch;
      place.end = q + 1;
      digits |= digit;
    }
    if (digits) return place;
  }
  return {};
}

// Whether the feed word `wanted` must be written where `inEffect` holds (either may be empty).
bool changesFeed(const std::string& wanted, const std::string& inEffect) {
  return !wanted.empty() &&
         (inEffect.empty() || std::strtod(wanted.c_str() + 1, nullptr) != std::strtod(inEffect.c_str() + 1, nullptr));
}

}  // namespace

std::string feedWord(std::string_view line, const BlockLetters& letters) { return feedPlace(line, letters).word; }

SwapSettings::SwapSettings(const Dialect& dialect, bool relative, int places)
    : letters(dialect.lettersWithoutBlanks()),
      line(dialect.rowWithoutBlanks(LabelRow::Line)),
      arcCw(dialect.rowWithoutBlanks(LabelRow::ArcCw)),
      arcCcw(dialect.rowWithoutBlanks(LabelRow::ArcCcw)),
      incrementalIJ(relative),
      decimals(places) {}

AxisPosition positionAfter(const std::vector<std::string>& lines, std::size_t count, const BlockLetters& letters) {
  AxisPosition at;
  for (std::size_t line = 0; line < std::min(count, lines.size()); ++line) {
    moveTo(at, lines[line], letters);
    if (std::string feed = feedWord(lines[line], letters); !feed.empty()) at.feed = std::move(feed);
  }
  return at;
}

std::vector<std::string> reversedPath(const std::vector<std::string>& lastLineFirst, const SwapSettings& s,
                                      const AxisPosition& before) {
  std::vector<std::string> out;
  out.reserve(lastLineFirst.size() * 2 + 1);
  const BlockLetters& l = s.letters;
  std::vector<BlockWords> words;
  words.reserve(lastLineFirst.size());
  for (const std::string& text : lastLineFirst) words.push_back(SplitBlockWords(text, l));
  giveEveryMoveItsAxes(words, s, before);
  // The feed each line leaves in effect, going forward from the one before the block; the feed
  // words leave the rests, and the moves travelled back get them where the feed changes.
  const std::size_t count = words.size();
  std::vector<std::string> feedAfter(count);  // last line first, as the words
  std::string feed = before.feed;
  for (std::size_t k = count; k-- > 0;) {
    const FeedPlace place = feedPlace(words[k].rest, l);
    if (!place.word.empty()) {
      words[k].rest.erase(place.begin, place.end - place.begin);
      feed = place.word;
    }
    feedAfter[k] = feed;
  }
  // The feed of move j of the block (from 1, in its own order); the move to the block's end point
  // that starts the path runs at the feed of its last move.
  const std::string noFeed;
  auto feedOfMove = [&](std::size_t j) -> const std::string& {
    return count == 0 ? noFeed : feedAfter[count - std::min(j, count)];
  };
  std::string inEffect = before.feed;
  auto feedText = [&](const std::string& wanted) {
    if (!changesFeed(wanted, inEffect)) return std::string();
    inEffect = wanted;
    return wanted + " ";
  };
  BlockWords a;  // the move that came after b in the block
  // The turning sense an arc is travelled back in.
  const std::string backOfCw = s.arcCcw + " ", backOfCcw = s.arcCw + " ";
  for (std::size_t at = 0; at < count; ++at) {
    const BlockWords& b = words[at];
    // a is line j of the block: the line written to its end point travels move j + 1 back.
    const std::size_t j = count - at + 1;
    const Turn turn = turnOf(a.g, s);
    const bool cw = turn == Turn::Cw, ccw = turn == Turn::Ccw;
    if (s.incrementalIJ && (cw || ccw)) {
      auto offset = [&](std::string& word, const std::string& letter, const std::string& axis, const std::string& bAxis,
                        const std::string& aAxis) {
        if (word.empty()) return;
        const double value = static_cast<double>(valueOf(axis, bAxis)) - valueOf(axis, aAxis) + valueOf(letter, word);
        word = letter + FixedText(static_cast<float>(value), s.decimals, kCentrePrecision) + " ";
      };
      offset(a.i, l.i, l.x, b.x, a.x);
      offset(a.j, l.j, l.y, b.y, a.y);
      offset(a.k, l.k, l.z, b.z, a.z);
    }
    if (cw || ccw) {
      const std::string lineFeed = feedText(feedOfMove(j + 1));
      out.push_back(concat({&a.m, &s.line, &a.x, &a.y, &a.z, &lineFeed, &a.rest}));
      const std::string arcFeed = feedText(feedOfMove(j));
      out.push_back(
          concat({&b.m, cw ? &backOfCw : &backOfCcw, &b.x, &b.y, &b.z, &a.i, &a.j, &a.k, &a.r, &arcFeed, &b.rest}));
    } else {
      const std::string lineFeed = at == 0 ? std::string() : feedText(feedOfMove(j + 1));
      out.push_back(concat({&a.m, &a.g, &a.x, &a.y, &a.z, &lineFeed, &b.rest}));
    }
    a = b;
  }
  // The move to the end point of the block's first line ends the path, travelling its second
  // move back; then the feed the block left in effect holds again for the lines after it.
  const std::string lastFeed = feedText(feedOfMove(2));
  out.push_back(concat({&a.g, &a.m, &a.x, &a.y, &a.z, &lastFeed, &a.rest}));
  if (!feedText(feedOfMove(count)).empty()) out.push_back(feedOfMove(count));
  return out;
}

bool SWAP_BLOCK3(const std::string& folder, const SwapSettings& settings, UiPort& ui, const AxisPosition& before) {
  std::vector<std::string> block;
  std::string error;
  const std::string temp = folder + "/" + kTempFile, newFile = folder + "/" + kNewFile;
  if (!readTextLines(temp, block, &error)) {
    ui.message("Cannot read " + temp + ": " + error);
    return false;
  }
  for (std::string& line : block) line = cut255(line);
  if (!writeTempLines(newFile, reversedPath(block, settings, before), &error)) {
    ui.message("Cannot write " + newFile + ": " + error);
    return false;
  }
  return true;
}

int moveStartForward(std::vector<std::string>& lines, int first, int count, const SwapSettings& s, bool absolute) {
  const BlockLetters& letters = s.letters;
  const long long top = static_cast<long long>(first) + 1, end = static_cast<long long>(first) + count;
  if (count < 2 || top < 0 || end >= static_cast<long long>(lines.size())) return 0;
  const std::string l1 = lines[static_cast<std::size_t>(top)], l2 = lines[static_cast<std::size_t>(top + 1)];
  if (!holds(l1, letters.x) && !(holds(l1, letters.y) && count >= 3)) return 0;
  const BlockWords w = SplitBlockWords(l2, letters);
  // L2' now follows the line before the block: an axis that L2 leaves to the lines before it is
  // written out where L1 moved it, or L2' would go where the line before the block left it.
  const AxisPosition before = positionAfter(lines, static_cast<std::size_t>(top), letters);
  AxisPosition reached = before;
  moveTo(reached, l1, letters);
  moveTo(reached, l2, letters);
  auto axis = [&](const std::string& word, const std::string& letter, float was, float now) {
    if (!absolute || !word.empty() || was == now) return word;
    return letter + FixedText(now, s.decimals, kCentrePrecision) + " ";
  };
  // L2' is a straight move, and a cutting one: the line before the block is mostly the rapid to
  // the path's start, whose motion word it would otherwise take. It keeps L2's own motion word
  // unless that is an arc's, whose centre words are gone.
  const std::string motion = !w.g.empty() && turnOf(w.g, s) == Turn::None ? w.g : s.line + " ";
  // The feed in effect after each line of the block going forward: L2's, given on L1 or
  // before, and the one the block leaves in effect.
  std::string feedAtL2 = before.feed, feedAtEnd;
  for (long long line = top; line <= end; ++line) {
    if (std::string feed = feedWord(lines[static_cast<std::size_t>(line)], letters); !feed.empty())
      (line <= top + 1 ? feedAtL2 : feedAtEnd) = std::move(feed);
  }
  if (feedAtEnd.empty()) feedAtEnd = feedAtL2;
  const std::string feed =
      feedWord(l2, letters).empty() && changesFeed(feedAtL2, before.feed) ? feedAtL2 + " " : std::string();
  lines[static_cast<std::size_t>(top + 1)] = motion + w.m + axis(w.x, letters.x, before.x, reached.x) +
                                             axis(w.y, letters.y, before.y, reached.y) +
                                             axis(w.z, letters.z, before.z, reached.z) + feed + w.rest;
  // The block now ends with L1 and L2, at L2's feed; the lines after it get back the feed the
  // block left in effect.
  std::vector<std::string> moved = {l1, l2};
  if (changesFeed(feedAtEnd, feedAtL2)) moved.push_back(feedAtEnd);
  const auto after = lines.begin() + static_cast<std::ptrdiff_t>(end) + 1;
  lines.insert(after, moved.begin(), moved.end());
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(top));
  return static_cast<int>(moved.size()) - 1;
}

}  // namespace kw
