#include "core/texttools/LineOrder.h"

#include <utility>

namespace kw {
namespace {

// The words of `line` in their order into `out` (its room reused): N G M X Y Z I J K R rest, or
// M after R when `mLast`. A plain block's words are read where they stand, any other's through
// SplitBlockWords into `held`.
void orderInto(std::string& out, std::string_view line, const PlainWordSplitter& plain, const BlockLetters& letters,
               BlockWords& held, bool mLast) {
  PlainWords w;
  if (!plain.split(line, w)) {
    held = SplitBlockWords(line, letters);
    w = wordViews(held);
  }
  // Only a pair of X and Y words says anything about swapped letters; a lone X or Y word
  // must not move the I and J words.
  if (!w.x.empty() && !w.y.empty() && static_cast<unsigned char>(w.x.front()) > static_cast<unsigned char>(w.y.front())) {
    std::swap(w.x, w.y);
    std::swap(w.i, w.j);
  }
  out.clear();
  appendWords(out, {w.n, w.g, mLast ? std::string_view() : w.m, w.x, w.y, w.z, w.i, w.j, w.k, w.r,
                    mLast ? w.m : std::string_view()});
  out += w.rest;
}

std::string ordered(std::string_view line, const BlockLetters& letters, bool mLast) {
  std::string out;
  BlockWords held;
  orderInto(out, line, PlainWordSplitter(letters), letters, held, mLast);
  return out;
}

}  // namespace

std::string lineOrderNGMXYZIJKR(std::string_view line, const BlockLetters& letters) {
  return ordered(line, letters, false);
}

std::string lineOrderNGXYZIJKRM(std::string_view line, const BlockLetters& letters) {
  return ordered(line, letters, true);
}

LineOrderer::LineOrderer(const BlockLetters& letters, bool mLast)
    : letters_(letters),
      plain_(letters),
      mLast_(mLast),
      swapped_(!letters.x.empty() && !letters.y.empty() &&
               static_cast<unsigned char>(letters.x[0]) > static_cast<unsigned char>(letters.y[0])) {}

std::string_view LineOrderer::ordered(std::string_view line) {
  // Where each word goes, in SplitBlockWords' order G M N X Y Z R I J K. A line that already
  // stands so is left as it is, unless the X and Y letters are swapped: then its X and Y words
  // are exchanged.
  static constexpr unsigned char kMAfterG[10] = {1, 2, 0, 3, 4, 5, 9, 6, 7, 8};
  static constexpr unsigned char kMLast[10] = {1, 9, 0, 2, 3, 4, 8, 5, 6, 7};
  if (!swapped_ && plain_.standsInOrder(line, mLast_ ? kMLast : kMAfterG)) return line;
  orderInto(ordered_, line, plain_, letters_, held_, mLast_);  // the words read point into the line
  return ordered_;
}

void applyLineOrder(std::vector<std::string>& lines, bool mLast, const BlockLetters& letters) {
  LineOrderer orderer(letters, mLast);
  for (std::string& line : lines)
    if (const std::string_view ordered = orderer.ordered(line); ordered.data() != line.data()) line.assign(ordered);
}

}  // namespace kw
