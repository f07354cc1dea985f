// Backplot: the distance of every move, the object tracker with the rapid distance (run for
// every block), and the statistics with their texts, formed after the last block.
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/plot/Backplot.h"
#include "core/profile/SettingNumbers.h"
#include "core/text/ArcGeometry.h"
#include "core/text/DecimalNumber.h"
#include "core/text/FixedText.h"

namespace kw {
namespace {

// A speed edit as a number; 0, or a text that is not a number, counts as 1.0.
double speedValue(const std::string& text) {
  const double value = typedNumber(text).value_or(1.0);
  return value == 0.0 ? 1.0 : value;
}

// round() into 64 bits, saturating; NaN gives 0.
std::int64_t roundToInt64(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
  if (value <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
  return std::llround(value);
}

std::int64_t saturatingProduct(std::int64_t a, std::int64_t b) {
  std::int64_t product = 0;
  if (__builtin_mul_overflow(a, b, &product))
    return (a < 0) != (b < 0) ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
  return product;
}

}  // namespace

void Backplot::DistanceMeter::straightMove(const MovePoint& from, const MovePoint& to, const PlotPen&) {
  // An axis the move leaves where it is adds nothing, whatever it holds.
  auto square = [](double a, double b) {
    if (std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b)) return 0.0;
    const double d = b - a;
    return d * d;
  };
  state_.TotalDistance += std::sqrt(square(from.x, to.x) + square(from.y, to.y) + square(from.z, to.z));
}

// Radius times the angle the arc routine sweeps.
void Backplot::DistanceMeter::arcMove(const ArcMove& arc, const PlotPen&) {
  double radius = arc.radius;
  if (plotUnits(radius, state_.PlotScale) == 0.0f) radius = 0.0001 / static_cast<double>(state_.PlotScale);
  const RoutineAngles angles = routineAngles(arc);
  const Sweep sweep = FixAngles(angles.second, angles.first);
  const double span = static_cast<double>(sweep.high) - sweep.low;
  state_.TotalDistance += std::fabs(radius * span);
}

void Backplot::trackObjects(bool cutOn, bool cutOff) {
  PlotState& s = state_;
  ObjectTracker& o = s.objects;
  RapidStretch& rapid = s.rapidStretch;
  if (cutOn) {
    setPen(kRed, s.pen.width);
    if (rapid.open) {
      s.RapidDistance += s.TotalDistance - rapid.from;
      rapid.open = false;
    }
    rapid.cutOnSeen = true;
    o.blockStartLine = s.CurrentLine;
    o.rapidStretch = s.TotalDistance - o.totalAtLastCutOff;
    o.afterCutOff = false;
    o.cutting = true;
  }
  // Only a cut-off that ends a cut is an object: one before the first cut-on (an opening line
  // that holds the cut-off text) or one repeating the last would be an object of no length made
  // of other lines, which the sorting would move.
  if (cutOff && o.cutting) {
    const double length = s.TotalDistance - o.rapidStretch - o.totalAtLastCutOff;
    if (length > o.largestLength) {
      o.largestLength = length;
      o.largestFirstLine = o.blockStartLine;
      o.largestLastLine = s.CurrentLine;
    }
    if (length < o.smallestLength) {
      o.smallestLength = length;
      o.smallestFirstLine = o.blockStartLine;
      o.smallestLastLine = s.CurrentLine;
    }
  }
  if (cutOff) {
    o.cutting = false;
    o.totalAtLastCutOff = s.TotalDistance;
    o.afterCutOff = true;
    if (!rapid.open) {
      rapid.open = true;
      rapid.from = s.TotalDistance;
    }
  }
}

PlotLabels statisticsLabels(const PlotStatistics& n, int places) {
  // A total past what a float holds is shown as such, not as "INF".
  auto shown = [](float value, int decimals, int precision) {
    return std::isfinite(value) ? FixedText(value, decimals, precision) : std::string("overflow");
  };
  auto eight = [&](float value) { return shown(value, places, 8); };
  PlotLabels l;
  l.caption = "Cut " + eight(n.cut) + "  Rapid " + eight(n.rapid) + "  Total Distance " + eight(n.total);
  l.label14 = "Time " + eight(n.cutTime);
  l.label15 = " + " + eight(n.rapidTime);
  l.label16 = " = " + eight(n.totalTime);
  l.bigx = "Max " + shown(n.xExtent, 1, 6);
  l.bigy = "Max " + shown(n.yExtent, 1, 6);
  const bool areaOverflows =
      n.area == std::numeric_limits<std::int64_t>::max() || n.area == std::numeric_limits<std::int64_t>::min();
  l.area = "Area " + (areaOverflows ? std::string("overflow") : std::to_string(n.area));
  return l;
}

void Backplot::formStatistics() {
  PlotState& s = state_;
  const double scale = s.PlotScale;
  const double cutSpeed = speedValue(view_.cutSpeed);
  const double rapidSpeed = speedValue(view_.rapidSpeed);
  // The stretch still open at the end (the move home) is rapid too. Without any cut-on text
  // only the travel after the last cut-off text is.
  double rapidDistance = s.RapidDistance;
  if (s.rapidStretch.cutOnSeen) {
    if (s.rapidStretch.open) rapidDistance += s.TotalDistance - s.rapidStretch.from;
  } else if (s.objects.afterCutOff) {
    rapidDistance += s.TotalDistance - s.objects.totalAtLastCutOff;
  }
  PlotStatistics& n = s.statistics;
  n.formed = true;
  n.cut = static_cast<float>(s.TotalDistance - rapidDistance);
  n.rapid = static_cast<float>(rapidDistance);
  n.total = static_cast<float>(s.TotalDistance);
  n.cutTime = static_cast<float>(n.cut / cutSpeed);
  n.rapidTime = static_cast<float>(n.rapid / rapidSpeed);
  n.totalTime = static_cast<float>(static_cast<double>(n.cutTime) + n.rapidTime);
  n.xExtent = static_cast<float>((std::fabs(static_cast<double>(s.MaxX)) + std::fabs(s.MinX)) / scale);
  n.yExtent = static_cast<float>((std::fabs(static_cast<double>(s.MaxY)) + std::fabs(s.MinY)) / scale);
  n.area = saturatingProduct(roundToInt64(n.xExtent), roundToInt64(n.yExtent));

  s.labels = statisticsLabels(n, decimalPlaces(profile_));

  setPen(kRed, 1);
  host_->setBusyCursor(false);
}

}  // namespace kw
