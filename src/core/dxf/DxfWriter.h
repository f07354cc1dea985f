#pragma once
// The DXF writer: the program written back as a drawing. While a DXF save plots the program,
// the interpreter hands every drawn move to a DxfWriter, which appends LINE, ARC and CIRCLE
// records to the ENTITIES section of a minimal DXF file (no header, tables or blocks, every
// entity on layer "0"). The points export writes one POINT record for every program line
// that has both an X and a Y word.
//
// Axes: the machine's Y goes to the drawing's X (codes 10, 11) and the machine's X to the
// drawing's Y (codes 20, 21), the reverse of what the DXF reader does; the points export
// does not exchange. Signs: sx, sy, sz are the signs of the DXF scale factors (their
// magnitudes are not applied), px, py, pz the plot sign factors, which the interpreter has
// already applied to what it hands over, so px x px = 1 undoes them.
//
// Arcs: the interpreter hands an arc as two angles in its own convention (0 along +Y, -90
// along +X), the arc running from the first to the second with increasing angle. Exchanging
// the axes is a reflection, so those angles cannot be written as they are: they are mapped
// point for point onto the drawing (dxfArcAngles), and the ARC record covers exactly the
// piece of circle the plot draws.
//
// The file: records are formatted into a buffer and written in large blocks to a new file
// beside the target; the footer flushes it to disk and renames it over the target. A save
// that fails or is abandoned removes that file, and an old file of the same name stays as it
// was. Lines end with CR LF, like every text file the program writes.
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/plot/MoveSink.h"

namespace kw {

class MachineProfile;
class SafeSave;
struct Dialect;

// The numbers of the writer: FixedText with 6 significant digits and D decimals.
inline constexpr int kDxfWriterPrecision = 6;

// What the records depend on, read from the setup window when a file is begun.
struct DxfWriterSettings {
  int decimals = 3;            // D, "Dec Places"
  int sx = 1, sy = 1, sz = 1;  // signs of the X, Y and Z scale factors (+1 for a zero factor)
  int px = 1, py = 1, pz = 1;  // plot sign factors, "X * -1", "Y * -1", "Z * -1"
  double zOffset = 0;          // Zo, "Z Offset +/-"
  bool zIncluded = false;      // "Z Included": Z values as numbers, else the text "0"
  bool writeBlue = false;      // "Write Blue lines to dxf": rapid moves are written too
};

// Reads the settings: Xscale, Yscale, Zscale (1.0 when not a number) negated by
// XmultCheckBox, YmultCheckBox, ZmultCheckBox; ZoffsetEdit (0 when not a number); DpEdit;
// IncludeZCheckBox; WriteBlueLine; the plot sign factors of the last Setaxis.
DxfWriterSettings dxfWriterSettings(const MachineProfile& profile, const Dialect& dialect);

// The start and end angle of the ARC record, in degrees, 0 <= angle < 360, counter-clockwise
// about the drawing's +X axis, for an arc the interpreter handed over as (a1, a2).
// Without sign factors this is (-a2, -a1): a counter-clockwise arc handed as (start, end)
// becomes (-end, -start), a clockwise one handed as (end, start) becomes (-start, -end).
// With u = sy x py (handed Y to drawing X) and v = sx x px (handed X to drawing Y):
//   u = v = +1: (-a2, -a1)          u = v = -1: (180 - a2, 180 - a1)
//   u = +1, v = -1: (a1, a2)        u = -1, v = +1: (a1 + 180, a2 + 180)
struct DxfArcAngles {
  double start = 0, end = 0;
};
DxfArcAngles dxfArcAngles(double a1, double a2, const DxfWriterSettings& settings);

class DxfWriter final : public MoveSink {
 public:
  explicit DxfWriter(const DxfWriterSettings& settings);
  ~DxfWriter() override;  // a file begun and not finished is removed
  DxfWriter(const DxfWriter&) = delete;
  DxfWriter& operator=(const DxfWriter&) = delete;

  // Begins the file `name` with "  0", "SECTION", "  2", "ENTITIES". False, with the
  // system's reason, when the file cannot be created.
  bool DxfHeader(const std::string& name, std::string* error);
  // One LINE record from point 1 to point 2 (machine axes, program units); nothing when
  // both ends are written alike (a line of no length).
  void DxfBody(float x1, float y1, float z1, float x2, float y2, float z2);
  // One ARC record about (cx, cy); a1 and a2 are the drawing's angles, written as given.
  void DxfBodyArc(float cx, float cy, float z, float r, double a1, double a2);
  void DxfBodyCircle(float cx, float cy, float z, float r);
  // One POINT record, without exchange: 10 = px x, 20 = py y, 30 = px z.
  void DxfBodyPoint(float x, float y, float z);
  // One POINT record (z = 0) for every line holding both an xLetter and a yLetter word.
  void GetXYs(const std::vector<std::string>& lines, std::string_view xLetter, std::string_view yLetter);
  // Writes "  0", "ENDSEC", "  0", "EOF" and puts the file in place. False, with the
  // system's reason, when any write failed; the target is then left as it was.
  bool DxfFooter(std::string* error);

  // The moves of a capture. Only cut moves (red) are written, every move with writeBlue. A
  // straight move is a LINE record. An arc in the XY plane is an ARC record, or a CIRCLE
  // record when its sweep rounds to 360 degrees; arcs in the other planes are left out.
  void straightMove(const MovePoint& from, const MovePoint& to, const PlotPen& pen) override;
  void arcMove(const ArcMove& arc, const PlotPen& pen) override;

  // The records of a capture, values in program units. A record that would carry a number
  // that is not finite is left out. An arc's angles are in degrees in the interpreter's
  // convention, from a1 to a2 with increasing angle. An arc so short (or so nearly whole)
  // that its two angle texts come out equal would read as a full circle: a short one is
  // written as a LINE between its end points, a nearly whole one as a CIRCLE.
  void line(float x1, float y1, float z1, float x2, float y2, float z2);
  void arc(float cx, float cy, float z, float radius, float a1, float a2);
  void circle(float cx, float cy, float z, float radius);

 private:

  std::string number(double value) const;
  std::string zText(float z) const;
  // True when a file is open and every value is finite.
  bool writable(std::initializer_list<double> values) const;
  // One record (or the opening or closing), each line ended by CR LF.
  void writeRecord(std::initializer_list<std::string_view> lines);

  DxfWriterSettings settings_;
  std::unique_ptr<SafeSave> file_;
  std::string record_;  // the record being formed, kept for its capacity
};

}  // namespace kw
