#pragma once
// The plot window's view arithmetic: the flat view, the angle scroll bars, zoom buttons, grid
// presets, panning, the zoom box with its "Previous", the cursor read-out and plot to cursor.
// The window binds its controls to these; they work on the plot values alone.
#include <string>
#include <vector>

#include "core/plot/Backplot.h"
#include "core/plot/PlotView.h"
#include "core/profile/MachineProfile.h"

namespace kw {

inline constexpr int kPanStep = 100;
inline constexpr int kOriginLimit = 30000;
inline constexpr int kReplotDelayMs = 200;
inline constexpr double kMaxZoomFactor = 10.0;
// A fitted program fills this share of the visible area, so its outline never touches the edge.
inline constexpr double kFitShare = 0.9;

// "Inc Angle" of the setup window, 1 to 45.
int angleStep(const MachineProfile& profile);

// Positions of the three angle scroll bars: horizontal (about X), vertical (about Y), about Z.
struct ScrollPositions {
  int aboutX = 0, aboutY = 0, aboutZ = 0;
};
// FlatButton: each bar at the setup window's view angle divided by the angle step.
ScrollPositions flatPositions(const MachineProfile& profile);
// The view angles the bars give: ScrollBar1 sets SpinEdit4 = position * step, ScrollBar2 sets
// SpinEdit3 = -(position * step), ScrollBar3 sets ZAxisSpinEdit = -(position * step).
void applyScrollPositions(PlotView& view, const ScrollPositions& bars, int step);
// The range of each bar for an angle step: -(180 div step) .. 180 div step.
int scrollLimit(int step);
// FlatButton on the view: the bars' angles, marked as changed.
void FlatButtonClick(PlotView& view, const MachineProfile& profile);

// The increment of the View Scale spin edit for a value: value / 10, at least 1.
int viewScaleIncrement(int viewScale);
void ZoomPlusClick(PlotView& view);
void ZoomMinusClick(PlotView& view);
// Grid presets "1/10", "1/100", "1/1000", "1/4", "1/8", "1/16".
struct GridPreset {
  const char* caption;
  int viewScale;
};
const std::vector<GridPreset>& gridPresets();

enum class PanDirection { Up, Down, Left, Right };
// The "Pan" menu: origin moved by 100, no limit.
void panMenu(PlotView& view, PanDirection direction);
// Shift + arrow keys: the opposite moves, both origin values then limited to +-30000.
void panKey(PlotView& view, PanDirection direction);

// The part of the image the scroll box shows, in image pixels; the whole image when the view
// has no scroll box (headless runs).
struct VisibleArea {
  int left = 0, top = 0, width = 0, height = 0;
};
VisibleArea visibleArea(const PlotView& view, int imageWidth, int imageHeight);

// An origin coordinate after the scale grew by `ratio`, such that whatever was drawn at image
// pixel `fixed` stays there.
int originKeepingPoint(int origin, int fixed, double ratio);

// A canvas that draws nothing and keeps the box of the points the plot reaches, so a program
// can be measured at a view before it is drawn.
class BoundsCanvas : public PlotCanvas {
 public:
  BoundsCanvas(int width, int height) : width_(width), height_(height) {}
  void setPen(Rgb, int) override {}
  void moveTo(int x, int y) override { pen_ = {x, y}; }
  void lineTo(int x, int y) override;
  void clear() override { any_ = false; }
  void refresh() override {}
  int width() const override { return width_; }
  int height() const override { return height_; }

  bool any() const { return any_; }
  int left() const { return left_; }
  int right() const { return right_; }
  int top() const { return top_; }
  int bottom() const { return bottom_; }

 private:
  void take(int x, int y);
  int width_, height_;
  struct {
    int x = 0, y = 0;
  } pen_;
  bool any_ = false;
  int left_ = 0, right_ = 0, top_ = 0, bottom_ = 0;
};

// Scales and moves the view so that a drawing measured at the present view (the box of
// `measured`) fills kFitShare of `area`, centred. Returns false when nothing was drawn.
bool fitMeasured(PlotView& view, const BoundsCanvas& measured, const VisibleArea& area);

// The mouse wheel: View Scale doubled (notches > 0) or halved per notch, the point under the
// mouse staying where it is.
void wheelZoom(PlotView& view, int notches, int mouseX, int mouseY);

// The zoom box and "Previous".
struct ZoomMemory {
  int horizontalOrigin = 0, verticalOrigin = 0, viewScale = 1000;
};
struct ZoomBox {
  int anchorX = 0, anchorY = 0;    // where the mouse went down (image pixels)
  int currentX = 0, currentY = 0;  // where the rubber rectangle last ended
};
// Mouse up at (mouseX, mouseY): remembers the view for "Previous" and scales and moves the
// view so that what lay inside the box fills the visible area, centred. The scale grows by
// the smaller of visible width over box width and visible height over box height, at most 10
// (1 for a box of no size).
ZoomMemory finishZoomBox(PlotView& view, const ZoomBox& box, int mouseX, int mouseY);
void restorePrevious(PlotView& view, const ZoomMemory& memory);

// The cursor read-out: Label2 (vertical, X) and Label1 (horizontal, Y) for a mouse point,
// fixed-point with 7 significant digits and the decimal places, cut to 10 characters.
struct CursorReadout {
  std::string label1, label2;
};
CursorReadout cursorReadout(const PlotView& view, const Dialect& dialect, int decimals, int mouseX, int mouseY);

// The unit the program states with G20 (inch) or G21 (mm), the first it states; "" when it
// states none.
std::string programUnit(const std::vector<std::string>& lines);

// Plot to cursor: from line 0, single steps until CurrentLine reaches the first highlighted
// line + 1 or passes the last line.
void plotToCursor(Backplot& plot, const std::vector<std::string>& lines, const HighlightRange& highlight);

}  // namespace kw
