#pragma once
// Where the interpreter hands the drawn path while a DXF save is in progress. Every value is
// in program units (plot units divided by PlotScale), in the machine's axes; the writer
// exchanges the axes and applies its own signs.
namespace kw {

class DxfRecordSink {
 public:
  virtual ~DxfRecordSink() = default;
  // A straight piece from point 1 to point 2.
  virtual void line(float x1, float y1, float z1, float x2, float y2, float z2) = 0;
  // An XY arc about (cx, cy) at height z. The angles are in degrees in the interpreter's
  // convention: 0 points along +Y, -90 along +X, both already brought to 0 or more; the
  // arc runs from a1 to a2 with increasing angle (a counter-clockwise arc hands its start
  // then its end, a clockwise arc its end then its start).
  virtual void arc(float cx, float cy, float z, float radius, float a1, float a2) = 0;
  // A full circle.
  virtual void circle(float cx, float cy, float z, float radius) = 0;
};

}  // namespace kw
