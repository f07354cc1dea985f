// Circles in the XY word plane with the approach and retreat pieces that keep the pierce
// and the switch-off off the contour: straight lines from an inner point, or half circles
// inside the circle that touch it where it starts.
#include <cmath>

#include "core/dxf/ElementWriter.h"

namespace kw {

void ElementWriter::circleXY(int plane, float centreX, float centreY, float z, float radius) {
  const float s = designCad_ && plane == -3 ? -1.0f : 1.0f;
  const float mirroredY = static_cast<float>(centreY * s);
  if (straightIn_) LeadInIJ(radius, z, mirroredY, centreX);
  if (arcIn_) halfCircle(plane, centreX, centreY, z, radius, true);
  if (fourQuadrants_) {
    BuildDXFArcIJ(plane, centreX, centreY, z, radius, 90, 180);
    BuildDXFArcIJ(plane, centreX, centreY, z, radius, 180, 270);
    BuildDXFArcIJ(plane, centreX, centreY, z, radius, 270, 360);
    BuildDXFArcIJ(plane, centreX, centreY, z, radius, 360, 90);
  } else {
    // A full circle starting and ending at the point at angle 90.
    BuildDXFArcIJ(plane, centreX, centreY, z, radius, 90, 90);
  }
  if (straightOut_) LeadoutIJ(radius, z, mirroredY, centreX);
  if (arcOut_) halfCircle(plane, centreX, centreY, z, radius, false);
}

namespace {

// The inner end of a straight lead: the lead length inside the circle's start point, or the
// centre when the circle is smaller than the lead.
float innerX(float radius, float leadIn, float xs, float centreX) {
  if (std::fabs(radius) < leadIn) return centreX;
  return static_cast<float>(centreX + (static_cast<double>(radius) - leadIn) * xs);
}

float onX(float radius, float xs, float centreX) {
  return static_cast<float>(centreX + static_cast<double>(radius) * xs);
}

}  // namespace

void ElementWriter::LeadInIJ(float radius, float z, float centreY, float centreX) {
  const std::string y = text(centreY), zText = text(z);
  ADDLINE(text(innerX(radius, settings_.leadIn, settings_.xs, centreX)), y, zText);
  ADDLINE(text(onX(radius, settings_.xs, centreX)), y, zText);
}

void ElementWriter::LeadoutIJ(float radius, float z, float centreY, float centreX) {
  const std::string y = text(centreY), zText = text(z);
  ADDLINE(text(onX(radius, settings_.xs, centreX)), y, zText);
  ADDLINE(text(innerX(radius, settings_.leadIn, settings_.xs, centreX)), y, zText);
}

void ElementWriter::halfCircle(int plane, float centreX, float centreY, float z, float radius, bool in) {
  const float leadIn = settings_.leadIn, xs = settings_.xs;
  // The half circle has the lead length as its radius, or half the circle's radius when the
  // circle's diameter is not more than twice the lead length.
  float t = static_cast<float>(static_cast<float>((static_cast<double>(radius) - leadIn) * xs) +
                               static_cast<double>(centreX));
  if (2 * leadIn > std::fabs(radius)) t = centreX;
  const float small = t == centreX ? radius / 2 : leadIn;
  // Its centre lies inside the circle on the line through the circle's start point, so that
  // it touches the circle there whatever the sign of the X scale.
  const float centre = static_cast<float>(centreX + (std::fabs(static_cast<double>(radius)) - small) * xs);
  if (in)
    BuildDXFArcIJ(plane, centre, centreY, z, small, 270, 90);
  else
    BuildDXFArcIJ(plane, centre, centreY, z, small, 90, 270);
}

}  // namespace kw
