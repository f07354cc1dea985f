#pragma once
// The plot window's own values: view scale, the three view angles, the plot origin, the
// speeds of the time read-out, the slide and size values of the geometry tools, and the
// geometry of the scroll box that the re-centring on a scale change needs. The window binds
// its controls to one instance; the backplot reads it at the moment of use.
#include <algorithm>
#include <string>

namespace kw {

struct PlotView {
  static constexpr long long kMinViewScale = 1;
  static constexpr long long kMaxViewScale = 9999999;

  int viewScale = 1000;  // SpinEdit1: PlotScale = viewScale / 1000
  int angleAboutY = 0;   // SpinEdit3, degrees -180..180
  int angleAboutX = 0;   // SpinEdit4, degrees -180..180
  int angleAboutZ = 0;   // ZAxisSpinEdit, degrees -180..180
  // Set by the window whenever one of the three angles changes; the projection recomputes
  // its sines and cosines and clears it.
  bool viewChanged = true;

  int horizontalOrigin = 100;  // plot origin in image pixels
  int verticalOrigin = 460;

  std::string cutSpeed = "1.000";       // CutSpeedEdit, units per minute
  std::string rapidSpeed = "1.000";     // RapidSpeedEdit, units per minute
  std::string slideDistance = "5.000";  // SlideEdit1: slide distance or spin degrees
  std::string sizeFactor = "1.000";     // X_Edit1

  // Set by a zoom box or "Previous": the next set-up does not re-centre the view.
  bool zoomBoxFlag = false;

  // Width of the plot window: a fitted scale fills half of it.
  int windowWidth = 800;
  // The scroll box around the image, for keeping the visible centre on a scale change.
  int clientWidth = 0;
  int clientHeight = 0;
  int horizontalScroll = 0;
  int verticalScroll = 0;
  // Set when a program was opened (or "Fit" asked for): the next plot first fits the whole
  // program, centred, into the visible part of the image.
  bool fitPending = false;

  // The spin edit keeps every value inside its range.
  void setViewScale(long long value) { viewScale = static_cast<int>(std::clamp(value, kMinViewScale, kMaxViewScale)); }
};

}  // namespace kw
