// Backplot: the object tracker with the rapid distance (run for every block) and the
// statistics texts formed after the last block.
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/plot/Backplot.h"
#include "core/profile/SettingNumbers.h"
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
    return (a < 0) != (b < 0) ? std::numeric_limits<std::int64_t>::min()
                              : std::numeric_limits<std::int64_t>::max();
  return product;
}

}  // namespace

void Backplot::trackObjects(std::string_view block) {
  using enum LabelRow;
  PlotState& s = state_;
  ObjectTracker& o = s.objects;
  if (contains(block, BeginBlock)) {
    setPen(kRed, s.pen.width);
    o.blockStartLine = s.CurrentLine;
    o.rapidStretch = static_cast<float>(static_cast<double>(s.TotalDistance) - o.totalAtLastCutOff);
    s.RapidDistance = static_cast<float>(static_cast<double>(s.RapidDistance) + o.rapidStretch);
    o.afterCutOff = false;
  }
  if (contains(block, EndBlock)) {
    const float length = static_cast<float>(static_cast<double>(s.TotalDistance) - o.rapidStretch -
                                            o.totalAtLastCutOff);
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
    o.totalAtLastCutOff = s.TotalDistance;
    o.afterCutOff = true;
  }
}

void Backplot::formStatistics() {
  PlotState& s = state_;
  const double scale = s.PlotScale;
  const double cutSpeed = speedValue(view_.cutSpeed);
  const double rapidSpeed = speedValue(view_.rapidSpeed);
  // Rapid travel is booked when the next cut-on text comes; the travel after the last cut-off
  // (the move home) is booked here, so it is not taken for cutting.
  const double rapidDistance =
      s.objects.afterCutOff
          ? static_cast<double>(s.RapidDistance) + (static_cast<double>(s.TotalDistance) - s.objects.totalAtLastCutOff)
          : static_cast<double>(s.RapidDistance);
  const float cut = static_cast<float>((static_cast<double>(s.TotalDistance) - rapidDistance) / scale);
  const float rapid = static_cast<float>(rapidDistance / scale);
  const float total = static_cast<float>(s.TotalDistance / scale);
  const float cutTime = static_cast<float>(cut / cutSpeed);
  const float rapidTime = static_cast<float>(rapid / rapidSpeed);
  const float allTime = static_cast<float>(static_cast<double>(cutTime) + rapidTime);

  const int places = decimalPlaces(profile_);
  auto eight = [&](float value) { return FixedText(value, places, 8); };
  PlotLabels& l = s.labels;
  l.caption = "Cut " + eight(cut) + "  Rapid " + eight(rapid) + "  Total Distance " + eight(total);
  l.label14 = "Time " + eight(cutTime);
  l.label15 = " + " + eight(rapidTime);
  l.label16 = " = " + eight(allTime);

  const float xExtent =
      static_cast<float>((std::fabs(static_cast<double>(s.MaxX)) + std::fabs(s.MinX)) / scale);
  const float yExtent =
      static_cast<float>((std::fabs(static_cast<double>(s.MaxY)) + std::fabs(s.MinY)) / scale);
  l.bigx = "Max " + FixedText(xExtent, 1, 6);
  l.bigy = "Max " + FixedText(yExtent, 1, 6);
  l.area =
      "Area " + std::to_string(saturatingProduct(roundToInt64(xExtent), roundToInt64(yExtent)));

  setPen(kRed, 1);
  host_->setBusyCursor(false);
}

}  // namespace kw
