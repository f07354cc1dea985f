// Backplot: the preview of the moves; arcs in the XY, XZ and YZ planes broken into chords
// (arkIJ, arkIK, arkJK), every point projected by LINE3d.
#include <cmath>

#include "core/plot/Backplot.h"
#include "core/text/ArcGeometry.h"

namespace kw {

Backplot::RoutineAngles Backplot::routineAngles(const ArcMove& arc) {
  const bool startFirst = arc.plane == MovePlane::YZ ? !arc.clockwise : arc.clockwise;
  if (startFirst) return {arc.startAngle, arc.endAngle};
  return {arc.endAngle, arc.startAngle};
}

void Backplot::Preview::straightMove(const MovePoint&, const MovePoint& to, const PlotPen&) {
  const float scale = plot_.state_.PlotScale;
  plot_.LINE3d(plotUnits(to.x, scale), plotUnits(to.y, scale), plotUnits(to.z, scale));
}

void Backplot::Preview::arcMove(const ArcMove& arc, const PlotPen&) {
  const float scale = plot_.state_.PlotScale;
  const float radius = plotUnits(arc.radius, scale);
  const RoutineAngles angles = routineAngles(arc);
  const bool all = plot_.plottingAll_;
  const float cx = plotUnits(arc.centre.x, scale), cy = plotUnits(arc.centre.y, scale),
              cz = plotUnits(arc.centre.z, scale);
  switch (arc.plane) {
    case MovePlane::XY:
      plot_.arkIJ(all, radius, angles.first, angles.second, plotUnits(arc.end.z, scale), cx, cy);
      break;
    case MovePlane::XZ:
      plot_.arkIK(all, radius, angles.first, angles.second, plotUnits(arc.end.y, scale), cx, cz);
      break;
    case MovePlane::YZ:
      plot_.arkJK(all, radius, angles.first, angles.second, plotUnits(arc.end.x, scale), cy, cz);
      break;
  }
}

float Backplot::GetIncrement(float radius) const { return kw::GetIncrement(options_.circleResolution, radius); }

void Backplot::arkIJ(bool plottingAll, float radius, float angle1, float angle2, float zEnd, float cx, float cy) {
  drawArc(ArcPlane::IJ, plottingAll, radius, angle1, angle2, zEnd, cx, cy);
}

void Backplot::arkIK(bool plottingAll, float radius, float angle1, float angle2, float yEnd, float cx, float cz) {
  drawArc(ArcPlane::IK, plottingAll, radius, angle1, angle2, yEnd, cx, cz);
}

void Backplot::arkJK(bool plottingAll, float radius, float angle1, float angle2, float xEnd, float cy, float cz) {
  drawArc(ArcPlane::JK, plottingAll, radius, angle1, angle2, xEnd, cy, cz);
}

// The sweep runs from `low` (the second angle) to `high` (the first angle) after FixAngles.
// In the plane's axes (p, q) a chord end at angle A is (c1 - r cos A, c2 - r sin A). The
// clockwise direction walks down from `high` in IJ and IK and up from `low` in JK; the
// off-plane axis moves in equal parts per chord from its previous position to its end.
void Backplot::drawArc(ArcPlane plane, bool plottingAll, float radius, float angle1, float angle2, float offPlaneEnd,
                       float c1, float c2) {
  PlotState& s = state_;
  double step = GetIncrement(radius);
  if (radius == 0.0f) radius = 0.0001f;
  const Sweep sweep = FixAngles(angle2, angle1);
  const double low = sweep.low, high = sweep.high;
  const double span = high - low;

  const float offPlaneStart = plane == ArcPlane::IJ ? s.prevZ : plane == ArcPlane::IK ? s.prevY : s.prevX;
  double chords = span / step;
  if (!(chords <= kMaxArcChords)) {  // also a NaN sweep or step
    step = span / kMaxArcChords;
    chords = kMaxArcChords;
  }
  const double offPlaneDelta = chords > 0 ? (static_cast<double>(offPlaneEnd) - offPlaneStart) / chords : 0.0;

  auto drawTo = [&](double angle, double offPlane) {
    if (!plottingAll) canvas_.refresh();
    const auto p = static_cast<float>(c1 - radius * std::cos(angle));
    const auto q = static_cast<float>(c2 - radius * std::sin(angle));
    const float o = static_cast<float>(offPlane);
    switch (plane) {
      case ArcPlane::IJ:
        LINE3d(p, q, o);
        break;
      case ArcPlane::IK:
        LINE3d(p, o, q);
        break;
      case ArcPlane::JK:
        LINE3d(o, p, q);
        break;
    }
  };

  const bool increasing = plane == ArcPlane::JK ? s.ArcCw : !s.ArcCw;
  if (increasing) {
    for (int n = 0; n <= kMaxArcChords; ++n) {
      const double angle = low + n * step;
      if (!(angle <= high)) break;
      drawTo(angle, offPlaneStart + n * offPlaneDelta);
    }
    drawTo(high, offPlaneEnd);
  } else {
    for (int n = 0; n <= kMaxArcChords; ++n) {
      const double angle = high - n * step;
      if (!(angle >= low)) break;
      drawTo(angle, offPlaneStart + n * offPlaneDelta);
    }
    // Every arc ends on its end point as it is, clockwise too: an end put on whole plot units
    // would move the extents and, in a lines-only DXF, the end of every clockwise arc by up to
    // half a plot unit, which at a fitted view scale is a millimetre or more.
    drawTo(low, offPlaneEnd);
  }
}

}  // namespace kw
