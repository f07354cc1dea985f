#include "core/texttools/CoordinateConversion.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "core/text/BlockScanner.h"
#include "core/text/FixedText.h"

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

bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

// Where the G word `code` ("G20") stands as a word of its own in the line, npos when it does not:
// after no other letter (a word before it may end right there, "G17G20") and before no digit.
std::size_t gWordAt(std::string_view line, std::string_view code) {
  for (std::size_t at = line.find(code); at != std::string_view::npos; at = line.find(code, at + 1)) {
    const bool startsWord = at == 0 || !std::isalpha(static_cast<unsigned char>(line[at - 1]));
    const std::size_t after = at + code.size();
    const bool endsWord = after == line.size() || !(isDigit(line[after]) || line[after] == '.');
    if (startsWord && endsWord) return at;
  }
  return std::string_view::npos;
}

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

void changeUnitWords(std::vector<std::string>& lines, std::size_t begin, std::size_t end, bool toMetric,
                     double factor, int decimals) {
  end = std::min(end, lines.size());
  const std::string_view from = toMetric ? "G20" : "G21", to = toMetric ? "G21" : "G20";
  bool inverseTime = false;
  for (const std::string& line : lines) inverseTime |= gWordAt(line, "G93") != std::string_view::npos;
  for (std::size_t index = begin; index < end; ++index) {
    std::string& line = lines[index];
    for (std::size_t at = gWordAt(line, from); at != std::string_view::npos; at = gWordAt(line, from))
      line.replace(at, from.size(), to);
    if (inverseTime) continue;
    // The feed: the first F followed by a number, as the letter reader takes it.
    const std::size_t f = line.find('F');
    if (f == std::string::npos) continue;
    const LetterValue feed = FindLetterValue("F", line);
    if (!feed.found) continue;
    std::size_t first = f + 1;
    while (first < line.size() && (line[first] == ' ' || line[first] == '\t')) ++first;
    std::size_t last = first;
    while (last < line.size() && !isWordTerminator(line[last]) && line[last] != ' ' && line[last] != '\t') ++last;
    if (last == first) continue;
    line.replace(first, last - first, FixedText(static_cast<float>(feed.value * factor), decimals, 7));
  }
}

}  // namespace kw
