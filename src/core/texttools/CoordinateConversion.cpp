#include "core/texttools/CoordinateConversion.h"

namespace kw {

namespace {

bool holds(std::string_view text, const std::string& word) {
  return !word.empty() && text.find(word) != std::string_view::npos;
}

// The G word becomes `code`, with the blank the old word had after it.
void replaceG(std::string& g, const std::string& code) {
  const bool blank = !g.empty() && g.back() == ' ';
  g = code;
  if (blank) g += ' ';
}

float single(double value) { return static_cast<float>(value); }

}  // namespace

bool ToIncremental::convert(SlideLine& line) {
  SlideValues& v = line.value;
  const SlideValues& before = line.previous;
  for (SlideWord w : {WordX, WordY, WordZ})
    v[w] = v[w] == before[w] ? 0.0f : single(static_cast<double>(v[w]) - before[w]);
  if (holds(line.text, codes_.absolute)) replaceG(line.words.g, codes_.incremental);
  if (!codes_.incrementalIJ) {
    v[WordI] = single(static_cast<double>(v[WordI]) - before[WordX]);
    v[WordJ] = single(static_cast<double>(v[WordJ]) - before[WordY]);
    v[WordK] = single(static_cast<double>(v[WordK]) - before[WordZ]);
  }
  return true;
}

bool ToAbsolute::convert(SlideLine& line) {
  if (holds(line.text, codes_.absolute)) {
    stopped_ = true;
    return false;
  }
  SlideValues& v = line.value;
  auto& present = line.present;
  const bool relative = codes_.incrementalIJ;
  // A centre relative to the start stays relative: the position added is taken off again.
  auto centre = [&](SlideWord w, double position) {
    v[w] = !present[w] ? single(position) : single(relative ? v[w] : position + v[w]);
  };
  const bool hadI = present[WordI], hadJ = present[WordJ];
  centre(WordI, x_);
  centre(WordJ, y_);
  centre(WordK, z_);
  if (hadI || hadJ) present[WordI] = present[WordJ] = true;

  const bool hadX = present[WordX], hadY = present[WordY];
  if (hadX) x_ = single(x_ + v[WordX]);
  if (hadY) y_ = single(y_ + v[WordY]);
  if (present[WordZ]) z_ = single(z_ + v[WordZ]);
  v[WordX] = single(x_);
  v[WordY] = single(y_);
  v[WordZ] = single(z_);
  if (hadX || hadY) present[WordX] = present[WordY] = true;
  if (holds(line.text, codes_.incremental)) replaceG(line.words.g, codes_.absolute);
  return true;
}

}  // namespace kw
