#pragma once
// Offsetting a cutting path sideways by a fixed distance, for kerf or tool-radius compensation
// written into the program: positive distances move the path to the right of the direction of
// travel, negative ones to the left. Straight moves get mitred corners; arcs keep their centres
// and change their radius.
//
// The work is done on the OffsetTable, one row per point with 22 columns, in single passes run
// in a fixed order (each is a hidden button of the offset window). The rows: 0 holds the
// closed-path flag, 1 and 2 the virtual segment that leads into the first point, data starts at
// row 3; from the second point on every point is followed by a duplicate, so each segment runs
// from an odd row to the even row after it. The result is written into a text grid, and from
// the grid into the offset window's editor.
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <optional>
#include <vector>

#include "core/geometry/Slide2.h"
#include "core/profile/Dialect.h"
#include "core/ui/UiPort.h"

namespace kw {

// The marker of a cell that holds no value.
inline constexpr double kNoValue = -9999999.0;
inline constexpr const char* kOffsetDefaultText = "-0.125";
inline constexpr float kOffsetDefault = -0.125f;
inline constexpr std::string_view kOffsetCaption = " Offsetting";
inline constexpr std::string_view kOffsetWarning = "Warning Offset > Arc Radius";
inline constexpr std::string_view kMinRadiusPrefix = "Min Rad = ";
// Row 0, column 0 of a path that returns to its first point.
inline constexpr double kClosedPath = 5.0;
// Column 0 of the row before an arc (the arc's start point) and of the generated end extension.
inline constexpr double kArcStart = -6.0;

enum OffsetColumn : std::size_t {
  ColMarker = 0,
  ColX,
  ColY,
  ColZ,
  ColI,
  ColJ,
  ColK,
  ColR,
  ColVect,        // bearing of the segment that ends at this row
  ColOuterAngle,  // half the turn at the corner in this row
  ColNewX,
  ColNewY,
  ColNewZ,
  ColNewI,
  ColNewJ,
  ColNewK,
  ColNewR,
  ColG,     // the line's G value
  ColLine,  // the program line the row came from
  kOffsetColumns = 22,
};
// The grid shows columns 0 to 20.
inline constexpr std::size_t kGridColumns = 21;
using OffsetRow = std::array<double, kOffsetColumns>;
using GridRow = std::array<std::string, kGridColumns>;

// The offset distance of "+/- Offset Value" (OffsetEdit1), in single precision; a text that
// is not a number gives -0.125 and the box is reset to "-0.125".
float offsetValue(std::string& editText);

// The bearing from P to Q in radians, clockwise from +Y: +Y gives 2 pi, +X pi/2, -Y pi and -X
// 3 pi/2, so (sin b, cos b) is the unit vector from P towards Q. A level segment is taken 1e-8
// off level.
double Calc_VectorIJ(double px, double py, double qx, double qy);

// The word order of "Swap X Y " is N G X Y Z I J K R M.
using OffsetSettings = RewriteSettings;

// One offset run over a range of program lines, pass by pass.
class Offsetter {
 public:
  Offsetter(OffsetSettings settings, UiPort& ui);

  // Create Array: twice as many rows as the program has lines, and the few more that the lead-in
  // and lead-out rows need, every cell without a value.
  void Button6Click(std::size_t programLines);
  // Reads the points of lines first .. last into the table from row 3. The visit stops before a
  // line holding "End Block" or "File End" and after `last`. A line without an X word makes no
  // row; one with X and no Y takes the Y of the point before it (0 for the first point). An arc
  // written with R is given its centre as the interpreter computes it, in the convention of
  // "Incremental  Type I J". An arc on the first point of a run has no start and is a point only,
  // unless `start` names a line before the run whose point the run starts from.
  void Load_Array(const std::vector<std::string>& lines, std::size_t first, std::size_t last, float offset,
                  std::optional<std::size_t> start = std::nullopt);
  void Button9Click();   // Arcs2: new start and end points of every arc, radius shrunk or grown
  void Button10Click();  // Loopback2: the lead-in segment; a closed path leads in by its last one
  void Button13Click();  // Last Line: the lead-out segment
  void Button11Click();  // Line Vect2: the bearing of each segment
  void Button12Click();  // Outer Angle2: the mitred corner points
  void Button2Click();   // Remove lines: an arc's own end point stands
  void Button7Click();   // Load grid back: the table as text in the grid
  // Copy Back: the grid as program lines, between two lines of a single blank, appended.
  void Button5Click(std::vector<std::string>& editor) const;

  // The passes above in their order over lines first .. last, appending the result to `editor`.
  void run(const std::vector<std::string>& lines, std::size_t first, std::size_t last, float offset,
           std::vector<std::string>& editor, std::optional<std::size_t> start = std::nullopt);
  // For a block whose first move is an arc: the last line before `begin` that moves to a point,
  // where the arc starts; nothing when the block starts with a point of its own.
  std::optional<std::size_t> startBefore(const std::vector<std::string>& lines, std::size_t begin,
                                         std::size_t end) const;

  const std::vector<OffsetRow>& table() const { return table_; }
  const std::vector<GridRow>& grid() const { return grid_; }
  // "Min Rad = " and the smallest end radius of an arc met since the Offsetter was made, or
  // "Min Rad = 0" when none was.
  std::string minRadiusText() const;
  // The window title the last arc set, empty while no arc was met.
  const std::string& caption() const { return caption_; }

 private:
  bool has(std::size_t row, std::size_t column) const { return table_[row][column] != kNoValue; }
  // The first row at or after `from` without an X.
  std::size_t firstFreeRow(std::size_t from) const;

  OffsetSettings settings_;
  UiPort& ui_;
  std::array<std::string, 7> letters_;  // X Y Z I J K R as written
  std::vector<OffsetRow> table_;
  std::vector<GridRow> grid_;
  float offset_ = 0;
  bool arcMet_ = false;
  double minRadius_ = 0;
  std::string caption_;
};

// What the offset window holds between runs.
struct OffsetWindowState {
  std::string offsetText = kOffsetDefaultText;  // OffsetEdit1
  std::vector<std::string> lines;               // the window's editor
  std::string minRadius = "Min Rad = 0";
  std::string caption = "Offsetting";
};

// The automatic pipeline ("Auto"): once over the highlighted lines when more than one is
// highlighted, otherwise once for each block from the line after "Begin Block" to the next
// "End Block", the results one after the other in the window's editor.
void Button4Click(const std::vector<std::string>& program, SlideRange highlighted, OffsetWindowState& window,
                  const OffsetSettings& settings, UiPort& ui);

}  // namespace kw
