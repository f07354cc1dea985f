#include "core/geometry/Slide2.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/geometry/RotateZ.h"
#include "core/text/DecimalNumber.h"
#include "core/text/FixedText.h"

namespace kw {

namespace {

constexpr double kDegreesToRadians = 0.01745329252;
constexpr int kSlidePrecision = 7;

bool contains(std::string_view text, const std::string& word) {
  return !word.empty() && text.find(word) != std::string_view::npos;
}

// The slide of each keypad code, in steps of the distance along X and Y (before the signs).
struct SlideStep {
  char code;
  int x, y;
};
constexpr SlideStep kSlideSteps[] = {
    {'7', -1, -1}, {'8', -1, 0}, {'9', -1, 1}, {'4', 0, -1}, {'6', 0, 1}, {'1', 1, -1}, {'2', 1, 0}, {'3', 1, 1},
};

const SlideStep* slideStep(char code) {
  for (const SlideStep& step : kSlideSteps)
    if (step.code == code) return &step;
  return nullptr;
}

float single(double value) { return static_cast<float>(value); }

// The G word "<arc or kerf text> " for its opposite, the arc texts first.
void swapDirectionCodes(std::string& g, const Dialect& dialect) {
  using enum LabelRow;
  for (auto [one, other] : {std::pair{ArcCw, ArcCcw}, std::pair{KerfCompLeft, KerfCompRight}}) {
    if (contains(g, dialect.row(one)))
      g = dialect.row(other) + " ";
    else if (contains(g, dialect.row(other)))
      g = dialect.row(one) + " ";
  }
}

void applyOperation(char code, const SlideSettings& settings, SlideValues& v) {
  const Dialect& dialect = settings.dialect;
  if (const SlideStep* step = slideStep(code)) {
    const double dx = static_cast<double>(settings.distance) * step->x * dialect.xSign;
    const double dy = static_cast<double>(settings.distance) * step->y * dialect.ySign;
    v[WordX] = single(v[WordX] + dx);
    v[WordY] = single(v[WordY] + dy);
    if (!settings.incrementalIJ) {  // I and J are absolute centres and move with the part
      v[WordI] = single(v[WordI] + dx);
      v[WordJ] = single(v[WordJ] + dy);
    }
  } else if (code == '5') {
    const float angle = single(settings.distance * kDegreesToRadians);
    const RotatedPoint p = RotateZ(v[WordX], v[WordY], v[WordI], v[WordJ], angle, settings.incrementalIJ);
    v[WordX] = p.x;
    v[WordY] = p.y;
    v[WordI] = p.i;
    v[WordJ] = p.j;
  } else if (code == '0') {
    v[WordY] = -v[WordY];
    v[WordJ] = -v[WordJ];
  } else if (code == 'F') {
    v[WordX] = -v[WordX];
    v[WordI] = -v[WordI];
  } else if (code == 'X') {
    for (float& value : v) value = single(static_cast<double>(value) * settings.size);
  }
}

// A turn moves a point along both axes at once. A line that gives only one of X and Y, leaving
// the other to the line before as most programs do, gets both, or it would end where the turned
// line before left the other axis. The same for the centre words, where the one left out stands
// for no offset from the arc's start, as the interpreter reads it.
void writeBothAxesOfATurn(SlideLine& line, bool incrementalIJ) {
  if (line.present[WordX] != line.present[WordY]) line.present[WordX] = line.present[WordY] = true;
  if (line.present[WordI] != line.present[WordJ]) {
    const bool noI = !line.present[WordI];
    const std::size_t absent = noI ? WordI : WordJ;
    line.value[absent] = incrementalIJ ? 0.0f : line.previous[noI ? WordX : WordY];
    line.present[WordI] = line.present[WordJ] = true;
  }
}

std::string rebuild(const SlideLine& line, const std::array<std::string, kSlideWords>& letters, int decimals) {
  std::string out;
  out.reserve(64);
  out += line.words.g;
  out += line.words.m;
  bool first = true;
  for (std::size_t w = 0; w < kSlideWords; ++w) {
    if (!line.present[w]) continue;
    if (!first) out += ' ';
    first = false;
    out += letters[w];
    out += slideNumber(line.value[w], decimals);
  }
  if (!line.words.rest.empty()) {
    if (!first) out += ' ';
    out += line.words.rest;
  }
  if (out.size() > kMaxBlockLength) out.resize(kMaxBlockLength);
  return out;
}

}  // namespace

float slideValue(std::string& editText) {
  const std::optional<double> typed = typedNumber(editText);
  if (!typed) {
    editText = "1.000";
    return 1.0f;
  }
  if (*typed > kMaxSlideValue) {
    editText = "100.0";
    return static_cast<float>(kMaxSlideValue);
  }
  return static_cast<float>(*typed);
}

std::string slideNumber(float value, int decimals) {
  if (std::isfinite(value) && std::fabs(value) >= 1e7f) {
    char buffer[80];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed,
                                   std::clamp(decimals, 0, kMaxDecimalPlaces))
                         .ptr;
    return std::string(buffer, end);
  }
  return FixedText(value, decimals, kSlidePrecision);
}

SlideLines slideLines(std::size_t count, SlideRange block) {
  SlideLines range{0, count};
  if (block.count > 1) {  // lines first .. first + count; first is -1 for a block from line 0
    const long long last = static_cast<long long>(block.first) + block.count;
    range.begin = static_cast<std::size_t>(std::max(block.first, 0));
    range.end = std::min(count, static_cast<std::size_t>(std::max(last + 1, 0LL)));
  }
  return range;
}

SlideResult SLIDE2(std::vector<std::string>& lines, char code, const SlideSettings& settings, SlideRange block,
                   UiPort& ui, LineConversion* conversion) {
  const Dialect& dialect = settings.dialect;
  using enum LabelRow;
  BlockLetters split;
  std::array<std::string, kSlideWords> letters;
  {
    auto strip = [](const std::string& text) { return StripChar('A', ' ', text); };
    split.n = strip(dialect.n);
    split.x = letters[WordX] = strip(dialect.x);
    split.y = letters[WordY] = strip(dialect.y);
    split.z = letters[WordZ] = strip(dialect.z);
    split.i = letters[WordI] = strip(dialect.i);
    split.j = letters[WordJ] = strip(dialect.j);
    split.k = letters[WordK] = strip(dialect.k);
    split.r = letters[WordR] = strip(dialect.r);
    split.commentStart = dialect.row(Trans170);
    split.commentEnd = dialect.row(Trans171);
  }

  const auto [begin, end] = slideLines(lines.size(), block);

  ui.setBusy(true);
  SlideResult result;
  SlideValues previous{};
  bool absolute = true;
  std::string text;
  for (std::size_t index = begin; index < end; ++index) {
    SlideLine line;
    line.words = SplitBlockWords(lines[index], split);
    text.clear();
    for (char ch : std::string_view(lines[index]).substr(0, kMaxBlockLength))
      if (ch != ' ') text.push_back(ch);
    line.text = text;
    if (contains(text, dialect.row(Absolute))) absolute = true;
    if (contains(text, dialect.row(Incremental))) absolute = false;
    if (!absolute && code != 'A') {
      ui.message(kIncrementalRefusal);
      ui.setBusy(false);
      result.end = SlideEnd::Refused;
      return result;
    }

    const std::string* words[kSlideWords] = {&line.words.x, &line.words.y, &line.words.z, &line.words.i,
                                             &line.words.j, &line.words.k, &line.words.r};
    for (std::size_t w = 0; w < kSlideWords; ++w) {
      line.present[w] = !words[w]->empty();
      const LetterValue read = line.present[w] ? FindLetterValue(letters[w], *words[w]) : LetterValue{};
      line.value[w] = read.found ? read.value : previous[w];
    }
    line.previous = previous;
    previous = line.value;

    if (code == '0' || code == 'F') swapDirectionCodes(line.words.g, dialect);
    if (code == '5') writeBothAxesOfATurn(line, settings.incrementalIJ);
    if (code == 'I' || code == 'A') {
      if (conversion && !conversion->convert(line)) {
        ui.setBusy(false);
        result.end = SlideEnd::Stopped;
        return result;
      }
    } else {
      applyOperation(code, settings, line.value);
    }

    std::string rebuilt = rebuild(line, letters, settings.decimals);
    if (settings.reorder) rebuilt = settings.reorder(rebuilt);
    if (!settings.arrayMode) {
      lines[index] = std::move(rebuilt);
    } else {
      // The program stays; the moved line is a new copy at its end.
      if (contains(rebuilt, dialect.row(FileStart))) rebuilt.clear();
      if (contains(rebuilt, dialect.row(FileEnd))) lines[index].clear();
      if (!contains(rebuilt, dialect.row(FileStart))) lines.push_back(std::move(rebuilt));
    }
    ++result.rewritten;
  }
  ui.setBusy(false);
  return result;
}

}  // namespace kw
