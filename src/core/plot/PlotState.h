#pragma once
// The state of the backplot: modal machine state, the values of the block being read,
// distances, extents, the object tracker, the pen, and the statistics with their labels.
// One instance lives in the plot window for the whole run; SetupPlot resets it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/plot/MoveSink.h"
#include "core/plot/PlotCanvas.h"

namespace kw {

enum ActivePlaneValue : int { kPlaneXY = 1, kPlaneXZ = 2, kPlaneYZ = 3 };

// The values of the block being interpreted, in plot units once scaled. Not modal: a word
// that is absent counts as 0 (centre words, radius) or as the previous position (axes).
struct BlockValues {
  float x = 0, y = 0, z = 0, i = 0, j = 0, k = 0, r = 0;
  bool xFound = false, yFound = false, zFound = false;
  bool iFound = false, jFound = false, kFound = false, rFound = false;
  bool gFound = false;
};

// Cut objects between a cut-on and a cut-off text, measured while plotting; the sorting
// tools read the first and last lines. A last line of 0 means no object was found.
// Lengths are program units, like the distances they are taken from.
struct ObjectTracker {
  static constexpr double kNoSmallest = 2147483648.0;
  int blockStartLine = 0;
  double largestLength = 0;
  int largestFirstLine = 0;
  int largestLastLine = 0;
  double smallestLength = kNoSmallest;
  int smallestFirstLine = 0;
  int smallestLastLine = 0;
  double totalAtLastCutOff = 0;  // TotalDistance at the last cut-off text
  double rapidStretch = 0;       // travel between the last cut-off and the following cut-on
  bool afterCutOff = false;      // the last cut text seen was a cut-off
  bool cutting = false;          // a cut-on text since the last cut-off: an object is open
};

// Rapid travel: the stretch after a cut-off text, up to the next cut-on text or the end of the
// program, however many cut-off texts stand in it (and the stretch before the first cut-on).
struct RapidStretch {
  bool open = true;  // no cut-on text since the start or since the last cut-off
  double from = 0;   // TotalDistance where the open stretch began
  bool cutOnSeen = false;
};

// The statistics of a plot that reached its last line, in program units and minutes. The
// labels are formed from these numbers; like them they stay until the next plot forms them.
struct PlotStatistics {
  bool formed = false;                              // a plot reached its last line
  float cut = 0, rapid = 0, total = 0;              // distances
  float cutTime = 0, rapidTime = 0, totalTime = 0;  // distance / speed
  float xExtent = 0, yExtent = 0;                   // |MaxX| + |MinX|, |MaxY| + |MinY|
  std::int64_t area = 0;                            // round(X extent) x round(Y extent)
};

// The texts the plot window shows after a plot reached the last line.
struct PlotLabels {
  std::string caption = "Plot ";  // the plot window's caption
  std::string label14 = "Cut";    // cutting time
  std::string label15 = "Rapid";  // rapid time
  std::string label16 = "Total";  // total time
  std::string bigx;               // vertical extent
  std::string bigy;               // horizontal extent
  std::string area;
};

// The four values CalcScale2 leaves for the array and nesting tools: after the scan,
// maxX and maxY hold the X and Y extents.
struct ScaleExtents {
  float maxX = 0, maxY = 0, minX = 0, minY = 0;
};

// The label texts of the statistics: distances and times with 8 significant digits and
// `places` decimals, extents with 6 and 1.
PlotLabels statisticsLabels(const PlotStatistics& statistics, int places);

struct PlotState {
  float PlotScale = 1.0f;  // View Scale / 1000
  int CurrentLine = 0;     // index of the block being interpreted
  int ActivePlane = kPlaneXY;
  bool AbsoluteMode = true;
  bool ArcCw = false;
  bool ArcCcw = false;

  BlockValues block;
  float prevX = 0, prevY = 0, prevZ = 0;  // end of the last move, plot units
  // The same ends in program units: incremental moves add up here, in double precision, so a
  // long incremental program ends where it says at every view scale.
  MovePoint programAt, programTo;  // end of the last move, end of this block's move

  // Arc work values of the last arc block.
  float centreX = 0, centreY = 0, centreZ = 0;
  float radius = 0, startAngle = 0, endAngle = 0;

  // Program units in double precision, so that the view scale and the length of the program
  // do not show in the statistics.
  double TotalDistance = 0;  // cut and rapid
  double RapidDistance = 0;
  float MaxX = 0, MinX = 0, MaxY = 0, MinY = 0;  // plot units, before projection
  ObjectTracker objects;
  RapidStretch rapidStretch;

  bool StopRequested = false;     // Esc
  bool DxfCaptureActive = false;  // a DXF file is being written from the plot
  bool DxfLinesOnly = false;      // ... as LINE records only
  bool spinFlipFlopDisabled = false;

  PlotPen pen;
  int lastScreenX = 0, lastScreenY = 0;            // where the pen stands, pixels
  float lastDxfX = 0, lastDxfY = 0, lastDxfZ = 0;  // lines-only capture, plot units

  std::size_t caretOffset = 0;  // single stepping: editor caret, from the last set-up
  ScaleExtents scaleExtents;
  PlotStatistics statistics;
  PlotLabels labels;
};

}  // namespace kw
