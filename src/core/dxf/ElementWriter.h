#pragma once
// Entity to G-code generation: every converted entity becomes elements, a start line moving
// to the element's first point followed by a straight or arc end line, written in the
// profile's dialect to the element file (held in memory). Circles get their lead-ins and
// lead-outs here.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/dxf/DxfPass.h"
#include "core/dxf/EndPointIndex.h"
#include "core/dxf/PassDialect.h"
#include "core/profile/Dialect.h"

namespace kw {

// The settings of a conversion, read from the profile once at its start.
struct ConversionSettings {
  float leadIn = 0.5f;           // LeadInEdit, 0.5 when invalid
  float xs = 1, ys = 1, zs = 1;  // Xscale, Yscale, Zscale (1 when invalid), negated by the * -1 boxes
  float zOffset = 0;             // ZoffsetEdit, 0 when invalid
  int decimals = 3;              // DpEdit, 3 when invalid
  float ux = 0, uy = 0, uz = 0;  // UCS origin of the drawing
  static ConversionSettings read(const MachineProfile& profile);
};

// The writer takes the dialect words, the axis letters (after "Swap X Y " and "Swap Y Z ")
// and the options it needs from the profile when it is made, at the start of a conversion;
// nothing changes them while a conversion runs. Make it after the reader has adjusted the
// check boxes it changes at the start (R mode checks "IJFOURQUAD").
//
// An element whose end line would stand on its start point (a straight move to where it
// starts, an arc of zero radius, a bulge between two equal vertices) is not written.
class EllipsesAside;

class ElementWriter {
 public:
  // With `points`, the point of every element line as the path ordering reads it goes there too,
  // one for each line.
  ElementWriter(MachineProfile& profile, const ConversionSettings& settings, PassLines& elements,
                PointList* points = nullptr);
  ~ElementWriter();
  ElementWriter(const ElementWriter&) = delete;
  ElementWriter& operator=(const ElementWriter&) = delete;

  // From here on the ellipses, which make most of the lines of a sheet of parts, are made on a
  // second thread while the reading goes on. An ellipse always starts a new element, so its lines
  // do not depend on the lines before it, and none that follow depend on its lines.
  void writeEllipsesAside();
  // Puts the ellipses made aside in their places among the element lines, and waits for them
  // first. False, and the element lines of no use, when a number of one could not be written:
  // the drawing is then to be read again without setting ellipses aside, so that the reading
  // stops where it stops otherwise.
  bool placeEllipses();

  // Set while no element stands in the element file: every line written clears it, and it
  // is set again when dropping a zero-length element leaves the file empty.
  bool noDataFound = true;
  // "Z Included" as the reader has it at the moment (it switches it during LWPOLYLINE and
  // ELLIPSE); read from the profile when the writer is made.
  bool includeZ = false;

  // One straight line: a start line, or the end line of a straight element (they alternate;
  // an arc line always ends an element). An end line equal to its start line removes both.
  void ADDLINE(const std::string& x, const std::string& y, const std::string& z);
  // Arc lines; row is ArcCw or ArcCcw.
  void AddArcIJ(const std::string& endX, const std::string& endY, const std::string& z, const std::string& centreX,
                const std::string& centreY, std::string r, const std::string& extra, LabelRow row);
  void AddArcIK(const std::string& endX, const std::string& endY, const std::string& z, const std::string& centreX,
                const std::string& centreZ, const std::string& r, const std::string& extra, LabelRow row);
  void AddArcJK(const std::string& endX, const std::string& endY, const std::string& z, const std::string& centreY,
                const std::string& centreZ, const std::string& r, const std::string& extra, LabelRow row);
  // The element of an ARC (or circle): plane is the PlaneCode, centre and z are X word, Y word
  // and Z word values (floats), radius in drawing units, angles in degrees. The arc runs
  // counter-clockwise in the drawing from the start to the end angle.
  void BuildDXFArcIJ(int plane, float centreX, float centreY, float z, float radius, float start, float end);
  void BuildDXFArcIK(int plane, float centreX, float centreY, float z, float radius, float start, float end);
  void BuildDXFArcJK(int plane, float centreX, float centreY, float z, float radius, float start, float end);
  // A CIRCLE with PlaneCode -3, 0 or 3: lead-in, circle, lead-out as the options say.
  void circleXY(int plane, float centreX, float centreY, float z, float radius);
  // The straight lead-in (inner point to the circle's start point) and lead-out (the other
  // way) of a circle; centreY is already multiplied by the DesignCad factor.
  void LeadInIJ(float radius, float z, float centreY, float centreX);
  void LeadoutIJ(float radius, float z, float centreY, float centreX);

  struct BulgeArc {
    std::string radius, centreX, centreY;
  };
  BulgeArc BulgeToArc(const std::string& previousX, const std::string& previousY, const std::string& currentX,
                      const std::string& currentY, float bulge);
  // Offset from the start point to the centre of the circle of radius |radius| through both
  // points, on the side where the arc from start to end, travelled clockwise (or
  // counter-clockwise) with the X word to the right and the Y word up, is at most a half
  // circle (radius > 0) or more than one (radius < 0). Zero when the points coincide.
  struct ChordOffset {
    float x = 0, y = 0;
  };
  static ChordOffset ArcCentreFromChord(float startX, float startY, float endX, float endY, float radius,
                                        bool clockwise);
  // The bulge arc from the previous to the current vertex: a line to the previous point and an
  // arc to the current one (clockwise word for a negative bulge).
  void bulgeArc(const std::string& previousX, const std::string& previousY, const std::string& previousZ,
                const std::string& currentX, const std::string& currentY, const std::string& currentZ, float bulge);
  void EllipseIJ(float angle, float minor, float major, float end, float start, float z, float centreY, float centreX);

  static float Calc_VectorIJ(float x, float y, float x0, float y0);
  // FixedText with precision 7 and the conversion's decimals.
  std::string text(double value) const;

 private:
  MachineProfile& profile_;
  ConversionSettings settings_;
  PassLines& out_;
  PointList* points_;
  Dialect dialect_;  // rows and letters as typed
  LinePointReader pointReader_;
  PlainMoveForm moveForm_;  // how the straight lines are written
  bool designCad_ = false, swapYZ_ = false, rMode_ = false, fourQuadrants_ = false;
  bool straightIn_ = false, arcIn_ = false, straightOut_ = false, arcOut_ = false;
  float maxR_ = 0;  // "MaxR", 0 for no limit
  int ellipsePoints_ = 360;
  bool startWritten_ = false;  // the last line written is the start line of an element
  std::unique_ptr<EllipsesAside> aside_;
  friend class EllipsesAside;

  // The point of a line written with these X, Y and Z numbers, as the ordering reads it (nothing
  // when no points are kept).
  OrderPoint pointOf(std::string_view line, std::string_view x, std::string_view y, std::string_view z) const;
  void writeLine(std::string_view line, const OrderPoint& point, bool plainMove = false);
  // With ellipses set aside, room for `lines` more element lines (and points) where they are.
  void keepRoomFor(std::size_t lines);
  // The line just written once more (sharing its text), as an element's start after it ended one.
  void repeatLine(const OrderPoint& point);
  // The text of a straight line to the point, into `line` (its room reused), and a line written
  // as ADDLINE writes it.
  void lineText(std::string& line, std::string_view x, std::string_view y, std::string_view z) const;
  void appendPosition(std::string& line, std::string_view x, std::string_view y, std::string_view z) const;
  // Adds a straight line, marked when `plainMove` says it is one.
  void addLine(std::string_view line, const OrderPoint& point, bool plainMove);
  std::string line_;  // the straight line being written, its room kept from line to line
  void writeArc(LabelRow row, const std::string& endX, const std::string& endY, const std::string& z,
                const std::string& firstLetter, const std::string& first, const std::string& secondLetter,
                const std::string& second, const std::string& r, const std::string& extra);
  // The arc word row of an arc in the XY word plane, exchanged when the scales mirror it.
  LabelRow xyRow(LabelRow row) const;
  // The radius text of an arc from start to end (degrees), scaled into the arc's plane.
  std::string radiusText(float radius, float planeScale, float start, float end) const;
  void halfCircle(int plane, float centreX, float centreY, float z, float radius, bool in);
  // A point as the reader mapped it (X, Y and Z word values) back in drawing values, and
  // drawing values mapped onto the word they go to.
  struct DrawingPoint {
    double x, y, z;
  };
  DrawingPoint drawingPoint(float xWord, float yWord, float zWord) const;
  float xWord(double drawingY) const;
  float yWord(double drawingX) const;
  float zWord(double drawingZ) const;
};

}  // namespace kw
