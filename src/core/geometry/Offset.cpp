#include "core/geometry/Offset.h"

#include <algorithm>
#include <cmath>

#include "core/text/ArcGeometry.h"
#include "core/text/BlockScanner.h"
#include "core/text/DecimalNumber.h"
#include "core/text/FixedText.h"

namespace kw {

namespace {

constexpr int kGridPrecision = 7;
// Rows past the points: the lead-in pair (1, 2), the start at 3 and the lead-out pair.
constexpr std::size_t kExtraRows = 6;

bool contains(std::string_view text, const std::string& word) {
  return !word.empty() && text.find(word) != std::string_view::npos;
}

// Whether the line holds the text of `row` as the plot finds the cut texts, which lose their
// blanks before a plot (a router's "G00 Z0.25"): with the line's blanks left out too.
bool holdsCutText(std::string_view line, const Dialect& dialect, LabelRow row) {
  return holdsWithoutBlanks(line, dialect.rowWithoutBlanks(row));
}

OffsetRow emptyRow() {
  OffsetRow row;
  row.fill(kNoValue);
  return row;
}

// The point of a row (X, Y, Z and G) into another, with its own marker.
void copyPoint(const OffsetRow& from, OffsetRow& to, double marker) {
  to[ColX] = from[ColX];
  to[ColY] = from[ColY];
  to[ColZ] = from[ColZ];
  to[ColG] = from[ColG];
  to[ColMarker] = marker;
}

}  // namespace

float offsetValue(std::string& editText) {
  const std::optional<double> typed = typedNumber(editText);
  if (!typed) {
    editText = kOffsetDefaultText;
    return kOffsetDefault;
  }
  return static_cast<float>(*typed);
}

double Calc_VectorIJ(double px, double py, double qx, double qy) {
  const double dx = qx - px;
  double dy = qy - py;
  if (dy == 0) dy = 1e-8;
  double a = -std::atan(dx / dy);
  if ((dx > 0 && dy <= 0) || (dx <= 0 && dy < 0)) a += kPi;
  if (kTwoPi > a) a = kTwoPi - a;
  if (a > kTwoPi) a -= kTwoPi;
  return a;
}

Offsetter::Offsetter(OffsetSettings settings, UiPort& ui) : settings_(std::move(settings)), ui_(ui) {
  const Dialect& d = settings_.dialect;
  const std::string* letters[] = {&d.x, &d.y, &d.z, &d.i, &d.j, &d.k, &d.r};
  for (std::size_t w = 0; w < letters_.size(); ++w) letters_[w] = StripChar('A', ' ', *letters[w]);
}

std::size_t Offsetter::firstFreeRow(std::size_t from) const {
  while (from < table_.size() && has(from, ColX)) ++from;
  return from;
}

void Offsetter::Button6Click(std::size_t programLines) { table_.assign(2 * programLines + kExtraRows, emptyRow()); }

void Offsetter::Load_Array(const std::vector<std::string>& lines, std::size_t first, std::size_t last, float offset,
                           std::optional<std::size_t> start) {
  using enum LabelRow;
  const Dialect& d = settings_.dialect;
  offset_ = offset;
  if (lines.empty() || first >= lines.size()) return;
  last = std::min(last, lines.size() - 1);
  std::size_t row = 3, points = 0;
  float previousX = 0, previousY = 0;
  double modalG = kNoValue;
  bool previousWasArc = false;
  // The start line first, then the run; false when the visit ends.
  auto visit = [&](std::size_t index, bool mayEnd) {
    const std::string& line = lines[index];
    const LetterValue x = FindLetterValue(letters_[0], line);
    const LetterValue g = FindLetterValue("G", line);
    if (g.found) modalG = g.value;
    if (x.found) {
      const LetterValue yWord = FindLetterValue(letters_[1], line), z = FindLetterValue(letters_[2], line);
      LetterValue i = FindLetterValue(letters_[3], line), j = FindLetterValue(letters_[4], line);
      const LetterValue k = FindLetterValue(letters_[5], line), r = FindLetterValue(letters_[6], line);
      const float y = yWord.found ? yWord.value : previousY;
      const bool clockwise = contains(line, d.row(ArcCw));
      if (r.found && (clockwise || contains(line, d.row(ArcCcw)))) {
        const PlaneOffsets centre = radiusArcOffsets(previousX, previousY, x.value, y, r.value, clockwise);
        const float base[2] = {settings_.incrementalIJ ? 0.0f : previousX, settings_.incrementalIJ ? 0.0f : previousY};
        i = {base[0] + centre.a, true};
        j = {base[1] + centre.b, true};
      }
      const bool arc = (i.found || j.found) && points > 0 && (modalG == 2 || modalG == 3);
      if (points >= 2) copyPoint(table_[row - 1], table_[row], previousWasArc ? -1 : 0), ++row;
      if (arc) table_[row - 1][ColMarker] = kArcStart;
      OffsetRow& out = table_[row];
      out[ColX] = x.value;
      out[ColY] = y;
      if (z.found) out[ColZ] = z.value;
      if (g.found) out[ColG] = g.value;
      out[ColLine] = static_cast<double>(index);
      out[ColMarker] = arc ? modalG : -1;
      if (arc) {
        out[ColI] = i.value;  // a missing one of I and J beside the other is 0
        out[ColJ] = j.value;
        if (k.found && !r.found) out[ColK] = k.value;
        if (r.found) out[ColR] = r.value;
      }
      previousX = x.value;
      previousY = y;
      previousWasArc = arc;
      ++points;
      ++row;
    }
    return !(mayEnd && index + 1 < lines.size() &&
             (holdsCutText(lines[index + 1], d, EndBlock) || holdsCutText(lines[index + 1], d, FileEnd)));
  };
  if (start && *start < lines.size()) visit(*start, false);
  for (std::size_t index = first; index <= last && row + 1 < table_.size(); ++index)
    if (!visit(index, true)) break;
}

std::optional<std::size_t> Offsetter::startBefore(const std::vector<std::string>& lines, std::size_t begin,
                                                  std::size_t end) const {
  using enum LabelRow;
  const Dialect& d = settings_.dialect;
  std::size_t k = begin + 1;
  while (k < end && !FindLetterValue(letters_[0], lines[k]).found) ++k;
  if (k >= end || !(contains(lines[k], d.row(ArcCw)) || contains(lines[k], d.row(ArcCcw)))) return std::nullopt;
  for (std::size_t p = begin; p-- > 0;)
    if (FindLetterValue(letters_[0], lines[p]).found) return p;
  return std::nullopt;
}

void Offsetter::Button9Click() {
  for (std::size_t k = 3; k + 1 < table_.size(); ++k) {
    const double g = table_[k + 1][ColMarker];
    if (table_[k][ColMarker] != kArcStart || (g != 2 && g != 3) || !has(k, ColX)) continue;
    OffsetRow& s = table_[k];
    OffsetRow& e = table_[k + 1];
    const double qx = settings_.incrementalIJ ? s[ColX] + e[ColI] : e[ColI];
    const double qy = settings_.incrementalIJ ? s[ColY] + e[ColJ] : e[ColJ];
    const double sign = g == 2 ? -1.0 : 1.0;  // clockwise arcs shrink by a positive offset
    const double r1 = std::hypot(s[ColX] - qx, s[ColY] - qy) + sign * offset_;
    const double b1 = Calc_VectorIJ(qx, qy, s[ColX], s[ColY]);
    s[ColNewX] = qx + r1 * std::sin(b1);
    s[ColNewY] = qy + r1 * std::cos(b1);
    s[ColNewZ] = s[ColZ];

    const double r2 = std::hypot(e[ColX] - qx, e[ColY] - qy);
    caption_ = std::fabs(r2) >= std::fabs(offset_) ? kOffsetCaption : kOffsetWarning;
    ui_.setCaption(WindowId::Offset, caption_);
    minRadius_ = arcMet_ ? std::min(minRadius_, r2) : r2;
    arcMet_ = true;
    const double newR2 = r2 + sign * offset_;
    if (has(k + 1, ColR)) e[ColNewR] = e[ColR] < 0 ? -newR2 : newR2;
    const double b2 = Calc_VectorIJ(qx, qy, e[ColX], e[ColY]);
    e[ColNewX] = qx + newR2 * std::sin(b2);
    e[ColNewY] = qy + newR2 * std::cos(b2);
    e[ColNewZ] = e[ColZ];
    e[ColNewI] = settings_.incrementalIJ ? qx - s[ColNewX] : qx;
    e[ColNewJ] = settings_.incrementalIJ ? qy - s[ColNewY] : qy;
    e[ColNewK] = e[ColK];
  }
}

void Offsetter::Button10Click() {
  if (table_.size() < 5 || !has(3, ColX)) return;
  const OffsetRow& p0 = table_[3];
  copyPoint(p0, table_[2], table_[2][ColMarker]);
  table_[0][ColMarker] = 0;
  const OffsetRow& second = has(4, ColX) ? table_[4] : p0;
  const double b = Calc_VectorIJ(p0[ColX], p0[ColY], second[ColX], second[ColY]);
  table_[1][ColX] = p0[ColX] - std::sin(b);
  table_[1][ColY] = p0[ColY] - std::cos(b);
  table_[1][ColZ] = p0[ColZ];
  std::size_t match = 0;
  for (std::size_t r = 4; r < table_.size() && has(r, ColX); ++r)
    if (table_[r][ColX] == p0[ColX] && table_[r][ColY] == p0[ColY]) match = r;
  if (match == 0) return;
  table_[0][ColMarker] = kClosedPath;
  copyPoint(table_[match - 1], table_[1], table_[1][ColMarker]);
  copyPoint(table_[match], table_[2], table_[2][ColMarker]);
}

void Offsetter::Button13Click() {
  if (table_.size() < 5) return;
  if (table_[0][ColMarker] == kClosedPath) {
    const std::size_t n = firstFreeRow(4);
    if (n + 1 >= table_.size()) return;
    copyPoint(table_[3], table_[n], 0);
    copyPoint(table_[4], table_[n + 1], kArcStart);
    return;
  }
  const std::size_t n = firstFreeRow(2);
  if (n < 5 || n + 1 >= table_.size()) return;  // fewer than two points
  const OffsetRow& last = table_[n - 1];
  copyPoint(last, table_[n], 0);
  const double b = Calc_VectorIJ(table_[n - 2][ColX], table_[n - 2][ColY], last[ColX], last[ColY]);
  copyPoint(last, table_[n + 1], kArcStart);
  table_[n + 1][ColX] = last[ColX] + std::sin(b);
  table_[n + 1][ColY] = last[ColY] + std::cos(b);
}

void Offsetter::Button11Click() {
  for (std::size_t r = 1; r + 1 < table_.size(); r += 2)
    if (has(r, ColX) && has(r + 1, ColX))
      table_[r + 1][ColVect] = Calc_VectorIJ(table_[r][ColX], table_[r][ColY], table_[r + 1][ColX], table_[r + 1][ColY]);
}

void Offsetter::Button12Click() {
  double previous = -999, half = 0;
  for (std::size_t k = 1; k < table_.size(); ++k) {
    if (!has(k, ColVect)) continue;
    const double a = table_[k][ColVect];
    if (previous != -999) {
      half = (a - previous) / 2;
      table_[k - 1][ColOuterAngle] = half;
    }
    const double d = offset_ / std::cos(half);
    if (!has(k, ColNewX)) {
      const OffsetRow& corner = table_[k - 1];
      table_[k][ColNewX] = corner[ColX] + std::cos(half - a) * d;
      table_[k][ColNewY] = corner[ColY] + std::sin(half - a) * d;
      table_[k][ColNewZ] = corner[ColZ];
    }
    previous = a;
  }
}

void Offsetter::Button2Click() {
  for (std::size_t k = 2; k < table_.size(); ++k) {
    const bool arcBefore = has(k - 2, ColI) && has(k - 2, ColJ);
    if (arcBefore && !has(k, ColI) && !has(k, ColJ))
      table_[k][ColNewX] = table_[k][ColNewY] = table_[k][ColNewZ] = kNoValue;
  }
  for (OffsetRow& row : table_)
    if (row[ColNewX] == kNoValue) row[ColG] = kNoValue;
}

void Offsetter::Button7Click() {
  grid_.assign(table_.size(), GridRow{});
  if (grid_.empty()) return;
  GridRow& header = grid_[0];
  for (std::size_t w = 0; w < letters_.size(); ++w) header[ColX + w] = letters_[w];
  const char* names[] = {"Vect", "Outer Angle ", "newX", "newY", "newZ", "newI", "newJ", "newK", "newR", "Kerfwerk"};
  for (std::size_t c = 0; c < std::size(names); ++c) header[ColVect + c] = names[c];
  for (std::size_t r = 3; r < table_.size(); ++r) {
    if (!has(r, ColMarker)) continue;
    for (std::size_t c = 0; c < kGridColumns; ++c)
      if (has(r, c)) grid_[r][c] = FixedText(table_[r][c], settings_.decimals, kGridPrecision);
  }
}

void Offsetter::Button5Click(std::vector<std::string>& editor) const {
  using enum LabelRow;
  const Dialect& d = settings_.dialect;
  editor.emplace_back(" ");
  const std::pair<const char*, LabelRow> words[] = {{"0.0", Trans127}, {"1.0", Line}, {"2.0", ArcCw}, {"3.0", ArcCcw}};
  for (std::size_t r = 1; r < grid_.size(); ++r) {
    const GridRow& cells = grid_[r];
    std::string line;
    for (const auto& [value, word] : words) {
      if (cells[ColG].find(value) == std::string::npos) continue;
      line = d.row(word) + " ";
      break;
    }
    for (std::size_t c = ColNewX; c <= ColNewR; ++c) {
      if (cells[c].empty() || ((c == ColNewI || c == ColNewJ) && !cells[ColNewR].empty())) continue;
      line += letters_[c - ColNewX] + cells[c] + " ";
    }
    const bool arcWord = contains(line, d.row(ArcCw)) || contains(line, d.row(ArcCcw));
    if (arcWord && !contains(line, letters_[3]) && !contains(line, letters_[4]) && !contains(line, letters_[6]))
      continue;
    if (settings_.reorder) line = settings_.reorder(line);
    if (!line.empty()) editor.push_back(std::move(line));
  }
  editor.emplace_back(" ");
}

void Offsetter::run(const std::vector<std::string>& lines, std::size_t first, std::size_t last, float offset,
                    std::vector<std::string>& editor, std::optional<std::size_t> start) {
  Button6Click((last >= first ? last - first + 1 : 0) + (start ? 1 : 0));
  Load_Array(lines, first, last, offset, start);
  Button9Click();
  Button10Click();
  Button13Click();
  Button11Click();
  Button12Click();
  Button2Click();
  Button7Click();
  Button5Click(editor);
}

std::string Offsetter::minRadiusText() const {
  return std::string(kMinRadiusPrefix) +
         (arcMet_ ? FixedText(minRadius_, settings_.decimals, kGridPrecision) : std::string("0"));
}

void Button4Click(const std::vector<std::string>& program, SlideRange highlighted, OffsetWindowState& window,
                  const OffsetSettings& settings, UiPort& ui) {
  using enum LabelRow;
  const float offset = offsetValue(window.offsetText);
  Offsetter offsetter(settings, ui);
  const std::size_t size = program.size();
  if (highlighted.count > 1) {
    const std::size_t first = static_cast<std::size_t>(std::max(highlighted.first + 1, 0));
    if (first < size) offsetter.run(program, first, first + static_cast<std::size_t>(highlighted.count) - 1, offset,
                                    window.lines);
  } else {
    const Dialect& d = settings.dialect;
    std::size_t from = 0;
    for (;;) {
      std::size_t b = from;
      while (b < size && !holdsCutText(program[b], d, BeginBlock)) ++b;
      if (b + 1 >= size) break;
      std::size_t e = b + 1;
      while (e < size && !holdsCutText(program[e], d, EndBlock)) ++e;
      if (e >= size) break;
      offsetter.run(program, b + 1, e, offset, window.lines, offsetter.startBefore(program, b, e));
      from = e + 1;
    }
  }
  window.minRadius = offsetter.minRadiusText();
  if (!offsetter.caption().empty()) window.caption = offsetter.caption();
}

}  // namespace kw
