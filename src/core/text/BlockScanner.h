#pragma once
// Reading words and numbers out of a G-code block. Every part of the program that looks at
// a block goes through these routines, so the rules here are the program's G-code syntax:
// which characters end a number, which occurrence of a letter counts, how sloppy numbers
// such as ".5" or "5." are repaired. Letters are matched exactly as written (no case
// folding), and a block longer than kMaxBlockLength bytes is cut before it is scanned.
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

inline constexpr std::size_t kMaxBlockLength = 255;

// The characters that end a number: printable ASCII punctuation except + - . ' : and the
// upper-case letters. Digits, signs, the point, the apostrophe, the colon, blanks, lower-case
// letters, control characters and bytes above 126 do not end a number.
inline constexpr std::string_view WordTerminators = "!\"#$%&()*,/;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`{|}~";

bool isWordTerminator(char ch);

struct LetterValue {
  float value = 0.0f;
  bool found = false;
};

// The value that follows the first occurrence of `letter` in `block`, after blanks and tabs
// are removed. Comments are not skipped. The number is the character right after the letter
// plus every following character up to a word terminator. When that text is not a number it
// is repaired once (".5" -> "0.5", "-.5" -> "-0.5", "5." -> "5"). A number that does not fit
// a float (e.g. 1e39) counts as not found; one too small for a float reads as 0. An empty
// letter is never found. Not found always gives the value 0. Allocates nothing.
LetterValue FindLetterValue(std::string_view letter, std::string_view block);

// True when some line holds the word (never for an empty word): whether a program holds the
// incremental code, a K word, ...
bool programContains(const std::vector<std::string>& lines, std::string_view word);

// Whether `text` occurs in `block` read without its blanks and tabs: how a cut text, which loses
// its blanks before a plot (a router's plunge or retract of several words), is found in a line.
// `from` is the first occurrence of the text's first byte in the block, `once` when it occurs
// there only; without them the block is searched from its start.
bool holdsWithoutBlanks(std::string_view block, std::string_view text, std::size_t from, bool once);
inline bool holdsWithoutBlanks(std::string_view block, std::string_view text) {
  return !text.empty() && holdsWithoutBlanks(block, text, block.find(text[0]), false);
}

// The address letters of the machine's dialect and its comment delimiters.
struct BlockLetters {
  std::string n = "N", r = "R", i = "I", j = "J", k = "K", x = "X", y = "Y", z = "Z";
  std::string commentStart, commentEnd;
};

// The first word of each letter, each followed by one blank, or empty when the letter does
// not occur; `rest` is what remains of the block, without blanks, followed by its comments.
struct BlockWords {
  std::string g, m, n, x, y, z, i, j, r, k, rest;
  bool operator==(const BlockWords&) const = default;
};

// Splits a block into words. Comments (from letters.commentStart up to and including the next
// letters.commentEnd, or to the end of the block when no end follows or the end delimiter is
// empty) are lifted out first and kept byte for byte at the end of `rest`, in their order.
// Then blanks and tabs are removed and the letters G, M, N, X, Y, Z, R, I, J, K are searched
// in that order, each word being deleted before the next letter is searched. A word is the
// letter, the character after it (whatever it is) and every following character up to a word
// terminator. Only the first word of each letter is taken; an empty letter takes nothing.
BlockWords SplitBlockWords(std::string_view block, const BlockLetters& letters);

// The words of a block as views, each without the blank after it: of a plain block (below) into
// the block, `rest` then the one piece that no letter took, if any; of any block into its
// BlockWords (wordViews).
struct PlainWords {
  std::string_view g, m, n, x, y, z, r, i, j, k, rest;
};

// The words of `words` as views into them.
PlainWords wordViews(const BlockWords& words);

// Appends each word that is there and a blank after it: the room for all of them at once, then
// each copied into its place.
inline void appendWords(std::string& text, std::initializer_list<std::string_view> words) {
  const std::size_t from = text.size();
  std::size_t size = from;
  for (const std::string_view word : words)
    if (!word.empty()) size += word.size() + 1;
  text.resize(size);
  char* at = text.data() + from;
  for (const std::string_view word : words) {
    if (word.empty()) continue;
    std::memcpy(at, word.data(), word.size());
    at += word.size();
    *at++ = ' ';
  }
}

// SplitBlockWords for the blocks the conversion's writer and passes write: words parted by blanks
// or tabs, each of two or more characters of which only the first ends a number (a letter, or
// other punctuation that ends one), at most one piece that no letter takes, no comment, and the
// block within kMaxBlockLength. Such a block's words are its pieces, each letter taking the first
// piece it begins that an earlier letter has not taken, just as SplitBlockWords finds them. Made
// for one set of letters (one-letter addresses, no two alike, else it splits nothing), it reads
// them once for all the blocks it splits.
class PlainWordSplitter {
 public:
  explicit PlainWordSplitter(const BlockLetters& letters);
  // False, and `words` of no use, for a block that is not plain. With `restBuffer` (room for
  // kMaxBlockLength bytes) the pieces no letter takes are gathered there, as many as there are.
  bool split(std::string_view block, PlainWords& words, char* restBuffer = nullptr) const;
  // Whether the block is plain and stands as its words are written back in the order `rank`
  // gives (for each word in SplitBlockWords' order G M N X Y Z R I J K, its place, all
  // different): each word with one blank after it, then, when `rest`, the piece no letter takes,
  // if any, without one. Such a block is what appendWords of its words in that order (and the
  // piece) give. A word ranked kNotWritten must not be there.
  static constexpr unsigned char kNotWritten = 0xff;
  bool standsInOrder(std::string_view block, const unsigned char (&rank)[10], bool rest = true) const;

 private:
  static constexpr unsigned char kNoSlot = 0xff;
  unsigned char slot_[256];  // the word a piece beginning with the character is, in SplitBlockWords' order
  bool usable_ = false, comments_ = false;
  char comment_ = '\0';
};

// mode 'A' removes every `ch`; 'B' removes leading and trailing runs of `ch`; 'L' the leading
// run; 'R' the trailing run. The mode is compared in upper case; any other mode returns the
// text unchanged. The text is not cut.
std::string StripChar(char mode, char ch, std::string_view text);

// sqrt(|a*a - b*b|) and sqrt(a*a + b*b), computed in extended precision. A result beyond the
// float range is +infinity.
float RootOfSquareDifference(float a, float b);
float RootOfSquareSum(float a, float b);

}  // namespace kw
