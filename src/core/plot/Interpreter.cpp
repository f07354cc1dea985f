// Backplot: the toolpath interpreter. SinglestepPlot reads one block and turns it into a
// straight move or an arc; PlotAll runs it over a whole text; SingleStepAline steps once.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/plot/Backplot.h"
#include "core/text/ArcGeometry.h"
#include "core/text/BlockScanner.h"

namespace kw {
namespace {

// Where every byte first and last occurs in a block (of at most kMaxBlockLength bytes): one
// scan of the block answers where a text or a letter can begin, for every text and letter of
// the dialect.
class Occurrences {
 public:
  static_assert(kMaxBlockLength <= 255);  // a position in a block fits a byte, 255 is none
  explicit Occurrences(std::string_view block) {
    std::memset(first_, kNone, sizeof first_);
    std::memset(last_, kNone, sizeof last_);
    const std::size_t size = block.size();
    for (std::size_t q = 0; q < size; ++q) last_[static_cast<unsigned char>(block[q])] = static_cast<std::uint8_t>(q);
    for (std::size_t q = size; q-- > 0;) first_[static_cast<unsigned char>(block[q])] = static_cast<std::uint8_t>(q);
  }
  // The first position of ch in the first `length` bytes of the block, or npos.
  std::size_t find(char ch, std::size_t length) const {
    const std::size_t at = first_[static_cast<unsigned char>(ch)];
    return at < length ? at : std::string_view::npos;
  }
  // True when ch, found at `at`, occurs nowhere else in the first `length` bytes.
  bool onlyAt(char ch, std::size_t at, std::size_t length) const {
    const std::size_t last = last_[static_cast<unsigned char>(ch)];
    return last < length && last == at;
  }

 private:
  static constexpr std::uint8_t kNone = 255;
  std::uint8_t first_[256];
  std::uint8_t last_[256];
};

// FindLetterValue of a letter of several bytes, in the block read without its blanks
// (`strippedBlock`, formed when first needed). It is handed only the word that begins at the
// letter's first occurrence (the letter, the character after it and everything up to the next
// word terminator), which reads the same value as the whole block.
LetterValue readLongLetter(std::string_view letter, std::string_view block, std::string_view& strippedBlock,
                           char* strippedBuffer) {
  if (strippedBlock.data() == nullptr) {
    std::size_t length = 0;
    for (char ch : block)
      if (ch != ' ' && ch != '\t') strippedBuffer[length++] = ch;
    strippedBlock = std::string_view(strippedBuffer, length);
  }
  const std::size_t at = strippedBlock.find(letter);
  if (at == std::string_view::npos) return {};
  std::size_t end = at + letter.size();
  if (end < strippedBlock.size()) ++end;
  while (end < strippedBlock.size() && !isWordTerminator(strippedBlock[end])) ++end;
  return FindLetterValue(letter, strippedBlock.substr(at, end - at));
}

// FindLetterValue of the block; a letter of one byte is read from where it first occurs.
[[gnu::always_inline]] inline LetterValue readWord(std::string_view letter, std::string_view block,
                                                   const Occurrences& first, std::string_view& strippedBlock,
                                                   char* strippedBuffer) {
  if (letter.size() != 1)
    return letter.empty() ? LetterValue{} : readLongLetter(letter, block, strippedBlock, strippedBuffer);
  if (letter[0] == ' ' || letter[0] == '\t') return {};
  const std::size_t at = first.find(letter[0], block.size());
  return at == std::string_view::npos ? LetterValue{} : FindLetterValue(letter, block.substr(at));
}

// The end of the word FindLetterValue reads for a letter of one byte at `at`: the first byte
// after the letter that is not a blank, then every byte up to the next word terminator.
std::size_t wordEnd(std::string_view block, std::size_t at) {
  std::size_t q = at + 1;
  while (q < block.size() && (block[q] == ' ' || block[q] == '\t')) ++q;
  if (q < block.size()) ++q;
  while (q < block.size() && !isWordTerminator(block[q])) ++q;
  return q;
}

// Whether the block holds the dialect's text of `row`.
[[gnu::always_inline]] inline bool containsRow(const Dialect& dialect, std::string_view block, const Occurrences& first,
                                               LabelRow row) {
  const std::string& text = dialect.row(row);
  if (text.empty()) return false;
  const std::size_t from = first.find(text[0], block.size());
  if (from == std::string_view::npos) return false;
  const bool once = first.onlyAt(text[0], from, block.size());
  auto startsAt = [&](std::size_t at) {
    if (block.size() - at < text.size()) return false;
    for (std::size_t q = 1; q < text.size(); ++q)
      if (block[at + q] != text[q]) return false;
    return true;
  };
  if (startsAt(from) || (!once && block.find(text, from + 1) != std::string_view::npos)) return true;
  return (row == LabelRow::BeginBlock || row == LabelRow::EndBlock) && holdsWithoutBlanks(block, text, from, once);
}

// A missing I or J beside a present one counts as a present 0.
void completeIJ(BlockValues& b) {
  if (b.jFound && !b.iFound) {
    b.i = 0;
    b.iFound = true;
  }
  if (b.iFound && !b.jFound) {
    b.j = 0;
    b.jFound = true;
  }
}

float scaled(float value, int sign, float scale) {
  return static_cast<float>(static_cast<double>(value) * sign * scale);
}

}  // namespace

void Backplot::SinglestepPlot(const std::vector<std::string>& lines, bool plottingAll,
                              const HighlightRange* highlight) {
  if (lines.empty()) return;
  if (!plottingAll) readOptions();
  const long long count = static_cast<long long>(lines.size());
  std::string_view block;
  if (state_.CurrentLine >= 0 && state_.CurrentLine < count) block = lines[state_.CurrentLine];
  block = block.substr(0, std::min(block.size(), kMaxBlockLength));
  interpretBlock(block, plottingAll, highlight);
  if (state_.CurrentLine >= count - 1) formStatistics();
}

bool Backplot::gWordReads(std::string_view block, std::size_t at) {
  if (at == std::string_view::npos) return false;
  const std::string_view word = block.substr(at, wordEnd(block, at) - at);
  if (word != lastGWord_) {
    lastGWord_.assign(word);
    lastGWordReads_ = FindLetterValue("G", word).found;
  }
  return lastGWordReads_;
}

void Backplot::interpretBlock(std::string_view block, bool plottingAll, const HighlightRange* highlight) {
  using enum LabelRow;
  PlotState& s = state_;
  plottingAll_ = plottingAll;

  const Occurrences firstAt(block);
  auto contains = [&](LabelRow row) { return containsRow(dialect_, block, firstAt, row); };
  // Everything from a stop text on is ignored.
  for (LabelRow row : {StopA, StopB, StopC}) {
    const std::string& stop = dialect_.row(row);
    if (stop.empty()) continue;
    const std::size_t from = firstAt.find(stop[0], block.size());
    const std::size_t at = from == std::string_view::npos ? from : block.find(stop, from);
    if (at != std::string_view::npos) block = block.substr(0, at);
  }

  if (contains(XYPlane)) s.ActivePlane = kPlaneXY;
  if (contains(XZPlane)) s.ActivePlane = kPlaneXZ;
  if (contains(YZPlane)) s.ActivePlane = kPlaneYZ;

  if (highlight && highlight->count > 1) {
    const long long line = s.CurrentLine;
    const long long first = highlight->first, last = first + highlight->count;
    if (line > first && line <= last) setPen(kBlack, 2);
    if (line == last + 1) setPen(kRed, 1);
  }

  const bool cutOn = contains(BeginBlock), cutOff = contains(EndBlock);
  if (cutOn) setPen(kRed, s.pen.width);
  if (cutOff) setPen(kBlue, s.pen.width);

  if (contains(Absolute)) s.AbsoluteMode = true;
  if (contains(Incremental)) s.AbsoluteMode = false;

  const bool clockwiseCode = contains(ArcCw);
  const bool counterCode = contains(ArcCcw);
  const bool arcCode = clockwiseCode || counterCode;
  if (clockwiseCode) {
    s.ArcCw = true;
    s.ArcCcw = false;
  }
  if (counterCode) {
    s.ArcCw = false;
    s.ArcCcw = true;
  }
  // Seen from the positive end of their normal axis, XZ and YZ arcs turn the other way.
  if (arcCode && (s.ActivePlane == kPlaneXZ || s.ActivePlane == kPlaneYZ)) std::swap(s.ArcCw, s.ArcCcw);

  char strippedBuffer[kMaxBlockLength];
  std::string_view strippedBlock;
  BlockValues& b = s.block;
  auto read = [&](std::string_view letter, float& value, bool& found) {
    const LetterValue word = readWord(letter, block, firstAt, strippedBlock, strippedBuffer);
    value = word.value;
    found = word.found;
  };
  b.gFound = gWordReads(block, firstAt.find('G', block.size()));
  read(dialect_.i, b.i, b.iFound);
  read(dialect_.j, b.j, b.jFound);
  read(dialect_.r, b.r, b.rFound);
  read(dialect_.k, b.k, b.kFound);
  read(dialect_.x, b.x, b.xFound);
  read(dialect_.y, b.y, b.yFound);
  read(dialect_.z, b.z, b.zFound);

  if (s.ActivePlane == kPlaneXY) completeIJ(b);
  if (b.gFound && !arcCode) s.ArcCw = s.ArcCcw = false;

  const bool anyAxis = b.xFound || b.yFound || b.zFound;
  if (options_.zIncluded && b.kFound && (b.iFound || b.jFound) && anyAxis) {
    s.spinFlipFlopDisabled = true;
    host_->disableSpinFlipFlop();
  }

  const float scale = s.PlotScale;
  // The axis words in program units, signs applied, as the plot takes them.
  const MovePoint axisWords{static_cast<double>(b.x) * dialect_.xSign / (options_.xDiv2 ? 2.0 : 1.0),
                            static_cast<double>(b.y) * dialect_.ySign, static_cast<double>(b.z) * dialect_.zSign};
  b.i = scaled(b.i, dialect_.xSign, scale);
  b.x = scaled(b.x, dialect_.xSign, scale);
  b.j = scaled(b.j, dialect_.ySign, scale);
  b.y = scaled(b.y, dialect_.ySign, scale);
  b.k = scaled(b.k, dialect_.zSign, scale);
  b.z = scaled(b.z, dialect_.zSign, scale);
  b.r = scaled(b.r, 1, scale);
  if (options_.xDiv2) b.x /= 2;
  if (options_.iDiv2) b.i /= 2;

  MovePoint& to = s.programTo;
  to = s.programAt;
  if (!s.AbsoluteMode) {
    completeIJ(b);
    b.i += s.prevX;
    b.j += s.prevY;
    b.k += s.prevZ;
    if (b.xFound) b.x = static_cast<float>((to.x += axisWords.x) * scale);
    if (b.yFound) b.y = static_cast<float>((to.y += axisWords.y) * scale);
    if (b.zFound) b.z = static_cast<float>((to.z += axisWords.z) * scale);
  } else {
    const MovePoint plotted = programPoint(b.x, b.y, b.z);
    if (b.xFound) to.x = plotted.x;
    if (b.yFound) to.y = plotted.y;
    if (b.zFound) to.z = plotted.z;
  }
  // Absolute centres become offsets from the arc start, unless they are offsets already.
  if (!(options_.bridgeport && s.AbsoluteMode)) {
    if (b.iFound) b.i -= s.prevX;
    if (b.jFound) b.j -= s.prevY;
    if (b.kFound) b.k -= s.prevZ;
  }
  if (!b.iFound) b.i = 0;
  if (!b.jFound) b.j = 0;
  if (!b.kFound) b.k = 0;
  if (!b.rFound) b.r = 0;
  if (!b.xFound) b.x = s.prevX;
  if (!b.yFound) b.y = s.prevY;
  if (!b.zFound) b.z = s.prevZ;

  if (b.rFound && arcCode) {
    // The radius gives the centre in the active plane; the plane's axes (a, b) are
    // (X, Y), (X, Z) and (Z, Y).
    const bool clockwise = s.ArcCw;
    if (s.ActivePlane == kPlaneXZ) {
      const PlaneOffsets o = radiusArcOffsets(s.prevX, s.prevZ, b.x, b.z, b.r, clockwise);
      b.i = o.a;
      b.k = o.b;
      b.iFound = b.kFound = true;
      b.jFound = false;
    } else if (s.ActivePlane == kPlaneYZ) {
      const PlaneOffsets o = radiusArcOffsets(s.prevZ, s.prevY, b.z, b.y, b.r, clockwise);
      b.k = o.a;
      b.j = o.b;
      b.jFound = b.kFound = true;
      b.iFound = false;
    } else {
      const PlaneOffsets o = radiusArcOffsets(s.prevX, s.prevY, b.x, b.y, b.r, clockwise);
      b.i = o.a;
      b.j = o.b;
      b.iFound = b.jFound = true;
      b.kFound = false;
    }
  }

  const bool anyCentre = b.iFound || b.jFound || b.kFound;
  if (!anyCentre && anyAxis) handOver(s.programAt, to);
  if (anyCentre) drawArcBlock();

  s.programAt = to;
  s.prevX = b.x;
  s.prevY = b.y;
  s.prevZ = b.z;
  trackObjects(cutOn, cutOff);
}

// One arc per block, in the plane its centre words give: XY when I and J are present (or,
// with "Z Included" off, when no I-K or J-K pair is), XZ for I and K, YZ for J and K. When
// the words fit more than one plane the active plane decides, else the last of XY, XZ, YZ.
// Each plane's arc uses its own start and end angles and radius.
void Backplot::drawArcBlock() {
  PlotState& s = state_;
  const BlockValues& b = s.block;
  s.centreX = s.prevX + b.i;
  s.centreY = s.prevY + b.j;
  s.centreZ = s.prevZ + b.k;

  const bool pairIK = b.iFound && b.kFound;
  const bool pairJK = b.jFound && b.kFound;
  const bool planeXY = (b.iFound && b.jFound) || (!options_.zIncluded && !pairIK && !pairJK);
  ArcPlane plane;
  if (s.ActivePlane == kPlaneXY && planeXY)
    plane = ArcPlane::IJ;
  else if (s.ActivePlane == kPlaneXZ && pairIK)
    plane = ArcPlane::IK;
  else if (s.ActivePlane == kPlaneYZ && pairJK)
    plane = ArcPlane::JK;
  else if (pairJK)
    plane = ArcPlane::JK;
  else if (pairIK)
    plane = ArcPlane::IK;
  else if (planeXY)
    plane = ArcPlane::IJ;
  else
    return;

  switch (plane) {
    case ArcPlane::IJ:
      s.startAngle = angleOfPoint(s.prevX, s.prevY, s.centreX, s.centreY);
      s.endAngle = angleOfPoint(b.x, b.y, s.centreX, s.centreY);
      s.radius = RootOfSquareSum(b.i, b.j);
      break;
    case ArcPlane::IK:
      s.startAngle = angleOfPoint(s.prevX, s.prevZ, s.centreX, s.centreZ);
      s.endAngle = angleOfPoint(b.x, b.z, s.centreX, s.centreZ);
      s.radius = RootOfSquareSum(b.i, b.k);
      break;
    case ArcPlane::JK:
      s.startAngle = angleOfPoint(s.prevY, s.prevZ, s.centreY, s.centreZ);
      s.endAngle = angleOfPoint(b.y, b.z, s.centreY, s.centreZ);
      s.radius = RootOfSquareSum(b.j, b.k);
      break;
  }
  if (s.startAngle == s.endAngle) s.endAngle = static_cast<float>(s.endAngle + kTwoPi);
  if (s.startAngle < 0 || s.endAngle < 0) {
    s.startAngle = static_cast<float>(s.startAngle + kTwoPi);
    s.endAngle = static_cast<float>(s.endAngle + kTwoPi);
  }
  if (!s.ArcCw && !s.ArcCcw) return;  // no direction: nothing is drawn

  ArcMove move;
  move.start = s.programAt;
  move.end = s.programTo;
  move.centre = programPoint(s.centreX, s.centreY, s.centreZ);
  move.radius = s.radius / static_cast<double>(s.PlotScale);
  move.startAngle = s.startAngle;
  move.endAngle = s.endAngle;
  move.clockwise = s.ArcCw;
  move.plane = plane == ArcPlane::IJ ? MovePlane::XY : plane == ArcPlane::IK ? MovePlane::XZ : MovePlane::YZ;
  handOver(move);
}

MovePoint Backplot::programPoint(float x, float y, float z) const {
  const double scale = state_.PlotScale;
  return {x / scale, y / scale, z / scale};
}

void Backplot::handOver(const MovePoint& from, const MovePoint& to) {
  preview_.straightMove(from, to, state_.pen);
  distance_.straightMove(from, to, state_.pen);
  if (capture_ && state_.DxfCaptureActive && !state_.DxfLinesOnly) capture_->straightMove(from, to, state_.pen);
}

void Backplot::handOver(const ArcMove& arc) {
  preview_.arcMove(arc, state_.pen);
  distance_.arcMove(arc, state_.pen);
  if (capture_ && state_.DxfCaptureActive && !state_.DxfLinesOnly) capture_->arcMove(arc, state_.pen);
}

void Backplot::beginPlotAll(bool setOrigin, int verticalOrigin, int horizontalOrigin, bool runSetup) {
  host_->showPlotWindow();
  host_->stopPlotTimers();
  if (setOrigin) {
    view_.verticalOrigin = verticalOrigin;
    view_.horizontalOrigin = horizontalOrigin;
  }
  if (runSetup) SetupPlot(1);
  readOptions();
  host_->setBusyCursor(true);
}

void Backplot::serviceEventsBefore(long long index) {
  if (index % kEventInterval != 0) return;
  host_->serviceEvents();
  canvas_.refresh();
  readOptions();
}

bool Backplot::stopWhenRequested() {
  if (!state_.StopRequested) return false;
  SetupPlot(1);
  host_->setBusyCursor(false);
  return true;
}

void Backplot::PlotAll(const std::vector<std::string>& lines, bool setOrigin, bool runSetup, int verticalOrigin,
                       int horizontalOrigin, const HighlightRange* highlight) {
  beginPlotAll(setOrigin, verticalOrigin, horizontalOrigin, runSetup);
  for (long long index = 0; index < static_cast<long long>(lines.size()) && index <= INT_MAX; ++index) {
    state_.CurrentLine = static_cast<int>(index);
    serviceEventsBefore(index);
    if (index >= static_cast<long long>(lines.size())) break;  // the text got shorter
    SinglestepPlot(lines, true, highlight);
    if (stopWhenRequested()) return;
  }
  host_->setBusyCursor(false);
}

void Backplot::PlotLines(const std::function<bool(std::string_view&)>& nextLine) {
  beginPlotAll(false, 0, 0, true);
  std::string_view line;
  long long index = 0;
  for (; index <= INT_MAX && nextLine(line); ++index) {
    state_.CurrentLine = static_cast<int>(index);
    serviceEventsBefore(index);
    interpretBlock(line.substr(0, std::min(line.size(), kMaxBlockLength)), true, nullptr);
    if (stopWhenRequested()) return;
  }
  // The statistics come after the last line, when the text ended within the lines plotted.
  if (index > 0 && (index <= INT_MAX || !nextLine(line))) formStatistics();
  host_->setBusyCursor(false);
}

void Backplot::SingleStepAline(const std::vector<std::string>& lines, const HighlightRange* highlight) {
  const long long count = static_cast<long long>(lines.size());
  if (state_.CurrentLine < 0 || state_.CurrentLine >= count) state_.CurrentLine = 0;
  if (state_.CurrentLine == 0) SetupPlot(1);
  if (count == 0) return;
  state_.caretOffset += lines[state_.CurrentLine].size() + 2;
  host_->moveEditorCaret(state_.caretOffset, state_.CurrentLine + 1);
  SinglestepPlot(lines, false, highlight);
  ++state_.CurrentLine;
  if (state_.CurrentLine >= count) state_.CurrentLine = 0;
}

}  // namespace kw
