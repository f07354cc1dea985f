#include "core/texttools/LineOrder.h"

#include <utility>

namespace kw {
namespace {

BlockWords orderedWords(std::string_view line, const BlockLetters& letters) {
  BlockWords w = SplitBlockWords(line, letters);
  // Only a pair of X and Y words says anything about swapped letters; a lone X or Y word
  // must not move the I and J words.
  if (!w.x.empty() && !w.y.empty() &&
      static_cast<unsigned char>(w.x.front()) > static_cast<unsigned char>(w.y.front())) {
    std::swap(w.x, w.y);
    std::swap(w.i, w.j);
  }
  return w;
}

// The words in their order into `out`, whose buffer is reused.
void rebuildInto(std::string& out, const BlockWords& w, bool mLast) {
  out.clear();
  out.reserve(w.n.size() + w.g.size() + w.m.size() + w.x.size() + w.y.size() + w.z.size() + w.i.size() + w.j.size() +
              w.k.size() + w.r.size() + w.rest.size());
  out += w.n;
  out += w.g;
  if (!mLast) out += w.m;
  out += w.x;
  out += w.y;
  out += w.z;
  out += w.i;
  out += w.j;
  out += w.k;
  out += w.r;
  if (mLast) out += w.m;
  out += w.rest;
}

std::string rebuild(const BlockWords& w, bool mLast) {
  std::string out;
  rebuildInto(out, w, mLast);
  return out;
}

}  // namespace

std::string lineOrderNGMXYZIJKR(std::string_view line, const BlockLetters& letters) {
  return rebuild(orderedWords(line, letters), false);
}

std::string lineOrderNGXYZIJKRM(std::string_view line, const BlockLetters& letters) {
  return rebuild(orderedWords(line, letters), true);
}

void applyLineOrder(std::vector<std::string>& lines, bool mLast, const BlockLetters& letters) {
  std::string ordered;
  PlainWords w;
  const PlainWordSplitter plain(letters);
  for (std::string& line : lines) {
    if (!plain.split(line, w)) {
      rebuildInto(line, orderedWords(line, letters), mLast);
      continue;
    }
    // As orderedWords and rebuildInto have it, on the words where they stand.
    if (!w.x.empty() && !w.y.empty() &&
        static_cast<unsigned char>(w.x.front()) > static_cast<unsigned char>(w.y.front())) {
      std::swap(w.x, w.y);
      std::swap(w.i, w.j);
    }
    ordered.clear();
    for (const std::string_view word : {w.n, w.g, mLast ? std::string_view() : w.m, w.x, w.y, w.z, w.i, w.j, w.k, w.r,
                                        mLast ? w.m : std::string_view()}) {
      if (word.empty()) continue;
      ordered += word;
      ordered += ' ';
    }
    ordered += w.rest;
    line.assign(ordered);
  }
}

}  // namespace kw
