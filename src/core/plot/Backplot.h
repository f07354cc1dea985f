#pragma once
// The backplot: set-up of dialect and scale, the toolpath interpreter, arc interpolation and
// the 3-D projection onto a canvas. One instance belongs to the plot window; it reads the
// machine profile and the plot window's values at the moment of use.
//
// The interpreter hands every move it reads (MoveSink.h) to its receivers: the preview, which
// breaks arcs into chords and projects every point onto the canvas (collecting the extents
// on the way), the distance meter of the statistics, and, while DxfCaptureActive is set, the
// capture (the DXF writer). With DxfLinesOnly the capture gets every drawn piece instead, as
// straight moves from the last point drawn, arcs as their chords.
//
// Arc routines never run away: an arc is drawn with at most kMaxArcChords chords (plus the
// chord to its end point). When the angle step for the radius would need more, the step is
// widened to sweep / kMaxArcChords; at that count a chord strays less than half a pixel from
// a circle of up to 1e9 pixels radius. A NaN sweep or radius draws only the end point, which
// the projection then skips.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/plot/MoveSink.h"
#include "core/plot/PlotCanvas.h"
#include "core/plot/PlotHost.h"
#include "core/plot/PlotState.h"
#include "core/plot/PlotView.h"
#include "core/profile/Dialect.h"
#include "core/profile/MachineProfile.h"

namespace kw {

inline constexpr int kMaxArcChords = 100000;
// PlotAll lets pending events run before the blocks 0, 1000, 2000, ...
inline constexpr int kEventInterval = 1000;

// The editor's highlighted block: lines first + 1 .. first + count.
struct HighlightRange {
  int first = -1;
  int count = 0;
};

// The interpreter takes the lines by reference to their vector and re-reads its size after
// every pause for events, so a text changed during a long plot is never read out of bounds.
class Backplot {
 public:
  Backplot(MachineProfile& profile, PlotView& view, PlotCanvas& canvas);
  Backplot(const Backplot&) = delete;
  Backplot& operator=(const Backplot&) = delete;

  void setHost(PlotHost* host) { host_ = host ? host : &noHost_; }
  // Receives the moves of a DXF capture; without a receiver the capture writes nothing.
  void setCapture(MoveSink* capture) { capture_ = capture; }

  PlotState& state() { return state_; }
  const PlotState& state() const { return state_; }
  const Dialect& dialect() const { return dialect_; }

  // --- Axis and plot set-up -------------------------------------------------------------
  // Refreshes the dialect copies, sign factors and single-step delay from the profile.
  void Setaxis();
  // Resets the plot state and clears the canvas for a new plot; a non-zero `resetPlane`
  // returns to the XY plane. Keeps the visible centre when the view scale changed (unless
  // a zoom box set the origin).
  void SetupPlot(int resetPlane);
  // Sets View Scale so that the larger of the X and Y extents of `lines` fills half the
  // plot window's width; 1000 when the lines have no extent. Reads the X and Y letters of
  // the last Setaxis (the file loader runs Setaxis first).
  void CalcScale(const std::vector<std::string>& lines);
  // The same scan into state().scaleExtents; View Scale changes only without `keepScale`.
  void CalcScale2(const std::vector<std::string>& lines, bool keepScale);

  // --- Interpreter ----------------------------------------------------------------------
  // Interprets block CurrentLine of `lines`. `plottingAll` is false when single stepping:
  // every arc chord then refreshes the canvas. `highlight` is given only when `lines` are
  // the main editor's text. After the last line the statistics labels are formed.
  void SinglestepPlot(const std::vector<std::string>& lines, bool plottingAll,
                      const HighlightRange* highlight = nullptr);
  // Interprets every block: optionally sets the origin and runs SetupPlot first; lets
  // pending events run every kEventInterval blocks and stops, resetting the plot, at the
  // block after StopRequested was set.
  void PlotAll(const std::vector<std::string>& lines, bool setOrigin, bool runSetup, int verticalOrigin,
               int horizontalOrigin, const HighlightRange* highlight = nullptr);
  // PlotAll with set-up over lines read one at a time (false after the last one) and not
  // kept, without a highlighted block: the same moves, extents and statistics.
  void PlotLines(const std::function<bool(std::string_view&)>& nextLine);
  // One single step over the main editor's lines: set-up at line 0, caret to the next line,
  // the block, then CurrentLine advances, wrapping to 0 after the last line.
  void SingleStepAline(const std::vector<std::string>& lines, const HighlightRange* highlight = nullptr);

  // --- Projection and arcs (plot units) -------------------------------------------------
  // Draws from the pen position to the projected point; nothing while CurrentLine is 0.
  void LINE3d(float x, float y, float z);
  // Arcs in the XY, XZ and YZ planes about the centre (c1, c2) of the plane, from the
  // previous position of the off-plane axis to `offPlaneEnd`. The angles follow the
  // interpreter's convention (see ArcGeometry.h); the direction is ArcCw. The distance is
  // not theirs to count: the distance meter takes it from the move.
  void arkIJ(bool plottingAll, float radius, float angle1, float angle2, float zEnd, float cx, float cy);
  void arkIK(bool plottingAll, float radius, float angle1, float angle2, float yEnd, float cx, float cz);
  void arkJK(bool plottingAll, float radius, float angle1, float angle2, float xEnd, float cy, float cz);
  // Angle step for `radius` with the profile's "Cir Res".
  float GetIncrement(float radius) const;
  // The small axis indicator in the lower left corner of the image.
  void Drawxyz();

 private:
  enum class ArcPlane { IJ, IK, JK };

  // Chords and projection: every move drawn on the canvas.
  class Preview final : public MoveSink {
   public:
    explicit Preview(Backplot& plot) : plot_(plot) {}
    void straightMove(const MovePoint& from, const MovePoint& to, const PlotPen& pen) override;
    void arcMove(const ArcMove& arc, const PlotPen& pen) override;

   private:
    Backplot& plot_;
  };
  // TotalDistance: the length of every straight move and arc.
  class DistanceMeter final : public MoveSink {
   public:
    explicit DistanceMeter(PlotState& state) : state_(state) {}
    void straightMove(const MovePoint& from, const MovePoint& to, const PlotPen& pen) override;
    void arcMove(const ArcMove& arc, const PlotPen& pen) override;

   private:
    PlotState& state_;
  };
  // The two angle arguments the arc routine of the move's plane takes: (start, end) for a
  // clockwise and (end, start) for a counter-clockwise arc in XY and XZ, the reverse in YZ.
  struct RoutineAngles {
    float first = 0, second = 0;
  };
  static RoutineAngles routineAngles(const ArcMove& arc);
  // A coordinate of a move back in plot units: exactly the float the interpreter held.
  static float plotUnits(double programUnits, float scale) {
    return static_cast<float>(programUnits * static_cast<double>(scale));
  }
  // Settings read once per block or per full plot instead of by name per point.
  struct Options {
    bool zIncluded = false, bridgeport = false, xDiv2 = false, iDiv2 = false;
    bool showXyz = false;
    int circleResolution = 5;
  };

  void readOptions();
  void setPen(Rgb colour, int width);
  void moveTo(int x, int y);
  void resetInterpreter();
  void drawArc(ArcPlane plane, bool plottingAll, float radius, float angle1, float angle2, float offPlaneEnd, float c1,
               float c2);
  // The parts of PlotAll around its blocks: the start, the events before every
  // kEventInterval-th block, and the stop after a block once Esc was pressed.
  void beginPlotAll(bool setOrigin, int verticalOrigin, int horizontalOrigin, bool runSetup);
  void serviceEventsBefore(long long index);
  bool stopWhenRequested();
  // Whether the G word at `at` (npos: none) reads as a number, as FindLetterValue finds it;
  // its value is not used. Blocks repeat a few G words, so the answer for the last is kept.
  bool gWordReads(std::string_view block, std::size_t at);
  void interpretBlock(std::string_view block, bool plottingAll, const HighlightRange* highlight);
  void drawArcBlock();
  void handOver(const MovePoint& from, const MovePoint& to);
  void handOver(const ArcMove& arc);
  MovePoint programPoint(float x, float y, float z) const;
  // The object tracker after a block that holds the cut-on or the cut-off text.
  void trackObjects(bool cutOn, bool cutOff);
  void formStatistics();

  MachineProfile& profile_;
  PlotView& view_;
  PlotCanvas& canvas_;
  PlotHost noHost_;
  PlotHost* host_ = &noHost_;
  MoveSink* capture_ = nullptr;
  Dialect dialect_;
  Options options_;
  PlotState state_;
  Preview preview_{*this};
  DistanceMeter distance_{state_};
  bool plottingAll_ = true;  // of the block being interpreted
  std::string lastGWord_;
  bool lastGWordReads_ = false;

  // Sines and cosines of the view angles, for the angles they were computed from.
  int trigAngles_[3] = {0, 0, 0};
  float cosY_ = 1, sinY_ = 0, cosX_ = 1, sinX_ = 0, cosZ_ = 1, sinZ_ = 0;
  bool drawingIndicator_ = false;
};

}  // namespace kw
