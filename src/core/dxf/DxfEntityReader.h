#pragma once
// The reading side of a DXF conversion: a line scanner, not a parser. Whole lines are compared
// with the group codes of the chosen CAD flavour; after the "ENTITIES" line every LINE,
// POLYLINE, LWPOLYLINE, TRACE, SOLID, ARC, CIRCLE and ELLIPSE on the chosen layer is handed to
// the ElementWriter, the drawing's X becoming the machine's Y word and its Y the X word.
// SPLINE and INSERT (a block reference, with the blocks collected on the way to "ENTITIES") are
// read as whole entities, their groups in code and value pairs. Every other entity on a chosen
// layer is counted as left out, by type and layer.
#include <map>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/dxf/DxfCurves.h"
#include "core/dxf/DxfLineReader.h"
#include "core/dxf/ElementWriter.h"
#include "core/profile/MachineProfile.h"

namespace kw {

// The group-code lines of a flavour: the default expects codes right-justified in three
// characters, Ashlar Vellum in four, AutoSketch without leading spaces, Corel Draw / TurboCad
// in four except the layer code.
struct GroupCodeSet {
  std::string code0, code8, code10, code20, code21, code30, code31, code40, code42, code50, code51, code70, code90,
      code220, code230;
  static GroupCodeSet forFlavour(bool ashlar, bool autosketch, bool corel);
  // The flavour checked in the profile ("Ashlar", "Autosketch", "Corel").
  static GroupCodeSet of(const MachineProfile& profile);
};

// The three lines above the layers logged by a conversion.
const std::vector<std::string>& layerLogHints();

struct UcsOrigin {
  float x = 0, y = 0, z = 0;
};

// Reads the drawing's "$UCSORG" header values; without one the input is back at its first
// line and the origin is 0, 0, 0.
UcsOrigin GETUCSORG(DxfLineReader& input);
// Reads up to the "ENTITIES" line, collecting the blocks on the way when given a table; false
// when the file ends first.
bool findEntitiesSection(DxfLineReader& input, DxfBlockTable* blocks = nullptr);

// A point as the three texts of its X, Y and Z words.
struct PointTexts {
  std::string x, y, z;
  bool operator==(const PointTexts&) const = default;
};

class DxfEntityReader {
 public:
  // Reads "EditLayer", the flavour and "Z Included" from the profile; `settings` gives the
  // scales, Z offset, decimals and origin. "EditLayer" is one layer name, "*" for all, or a
  // list of names separated by commas (blanks around each name ignored); a name that holds a
  // comma is still found when the whole text is that name.
  DxfEntityReader(DxfLineReader& input, const MachineProfile& profile, const GroupCodeSet& codes,
                  const ConversionSettings& settings, ElementWriter& writer, std::vector<std::string>& layerLog,
                  const DxfBlockTable* blocks = nullptr);

  // When any entity on a chosen layer was left out: a line of the entities converted by type
  // ("Converted: 11 LINE, 21 SPLINE") and a line for each type and layer left out ("Left out: 2
  // TEXT on layer MARK"). Empty when nothing was left out.
  std::vector<std::string> report() const;

  // The main loop, from the line after "ENTITIES" to the end of the file. False when a LINE
  // found no layer code before the end of the file (the drawing is of another flavour).
  bool readEntities();

  enum class PointSearch { Found, NotFound, Bulge };
  // Finds the next point of the code (" 10", " 11", ...; " 10L" for a light-weight polyline
  // vertex) and maps it into `point`; without a point the X and Y texts keep their values.
  // The code lines of the search are compared without their spaces, so the search works in
  // every flavour; a line counts as a code only when it stands three or four characters wide
  // (or bare, in the AutoSketch flavour), so a value such as colour "10" or "    10" is not
  // taken for one.
  PointSearch READYXZ(std::string_view code, PointTexts& point);
  // The raw values after the code, two lines apart, as texts of `digits` decimals; the third
  // only with "Z Included" (else "0").
  std::vector<std::string> READJustYXZ(std::string_view code, int digits);
  // The PlaneCode of an arc or circle: +-1, +-2, +-3 for an extrusion along the drawing's X, Y
  // or Z, 0 without an extrusion group, 50 when the start-angle code was reached.
  int READYXZ200(std::string_view code);

 private:
  DxfLineReader& in_;
  const GroupCodeSet& codes_;
  ElementWriter& writer_;
  std::vector<std::string>& layerLog_;
  std::unordered_set<std::string> loggedLayers_;  // each layer is listed once
  std::string editLayer_;
  bool autosketch_, ashlar_, corel_;
  bool includeZ_;
  float xs_, ys_, zs_, zOffset_, ux_, uy_, uz_;
  int decimals_;

  const DxfBlockTable* blocks_;
  std::vector<std::string> layerList_;  // the names of a list in "EditLayer"
  double tolerance_;                    // one unit of the last written decimal
  std::map<std::string, int> converted_;
  std::map<std::pair<std::string, std::string>, int> leftOut_;  // by type and layer
  std::string entityType_;  // the entity being read, counted once when its layer is chosen
  bool counted_ = false;
  std::string pendingType_;  // an entity left out whose layer is still to come
  bool entitiesEnded_ = false;
  long placementsLeft_ = 1000000;  // entities a drawing's block references may place, nested ones and all

  std::string layer_;  // the text after the last layer code read
  bool closed_ = false;
  PointTexts current_, previous_, first_;

  bool readLine();
  void readPolyline();
  void readLwPolyline();
  void readTrace();
  void readArc();
  void readCircle();
  void readEllipse();

  // Reads up to the layer code; false at the end of the file.
  bool findLayerCode();
  // Takes the next line as the layer, logs it (once a layer), and tells whether it is the chosen one.
  bool readLayer();
  bool layerMatches() const;
  bool selected(const std::string& layer) const;
  void logLayer(const std::string& layer);
  void leaveOut(const std::string& type, const std::string& layer);
  void flushPending();

  // The groups after the entity's name up to the next entity (the 0 code line is the last read).
  DxfRecord readRecord(std::string_view type);
  void readSpline();
  void readInsert();
  // Block references and the entities of blocks, placed into the drawing; `layer` is the
  // layer an entity on layer "0" takes.
  void placeInsert(const DxfRecord& insert, const Placement& outer, const std::string& layer, int depth);
  void placeEntities(const std::vector<DxfRecord>& list, const Placement& placement, const std::string& layer,
                     int depth);
  void placeSpline(const DxfRecord& record, const Placement& placement, const std::string& layer);
  struct Vertex {
    Vec3 point;
    double bulge = 0;
  };
  void placePolyline(const std::vector<Vertex>& vertices, bool closed, const Placement& placement);
  // An arc from its start angle through the sweep (degrees, counter-clockwise when positive), or a
  // whole circle, placed.
  void placeArc(const Placement& placement, const Vec3& centre, double radius, double start, double sweep,
                bool circle);
  void placeShapes(const std::vector<CurveShape>& shapes);
  // Straight elements along the points, none shorter than one unit of the last decimal.
  void placeChain(const std::vector<Vec3>& points);
  double drawingTolerance() const;
  // A point-search line that is the group code `digits` (see READYXZ).
  bool isCode(std::string_view line, std::string_view digits) const;
  // The next line of a point search: a line of nine spaces and "7" stands for the third line
  // after it. False at the end of the file.
  bool nextSearchLine();
  // Reads lines up to one equal to `code`; the end of the file ends the conversion.
  void skipTo(std::string_view code);
  void setIncludeZ(bool on);

  std::string text(double value) const;
  void mapPoint(float x, float y, float z, PointTexts& point) const;
  // A straight element from p to q, unless both are the same point.
  void straight(const PointTexts& p, const PointTexts& q);
  // The bulge arc from p to q, unless both are the same point.
  void bulgeArc(const PointTexts& p, const PointTexts& q, float bulge);
};

// The reading half of a conversion, from the first line of the drawing: the UCS origin, the
// "ENTITIES" line, then every entity into `elements` through an ElementWriter made with the
// profile's dialect. `settings` gives everything but the origin.
enum class DxfReadStatus {
  Read,         // the drawing was read to its end
  NoEntities,   // the file ends before an "ENTITIES" line
  NoLayerCode,  // a LINE found no layer code before the end of the file
};
struct DxfReadOutcome {
  DxfReadStatus status = DxfReadStatus::Read;
  bool noDataFound = true;  // no element was written
  std::vector<std::string> report;  // what was converted and left out (DxfEntityReader::report)
};
// With `points`, the point of each element line as the path ordering reads it goes there.
DxfReadOutcome readDxfElements(DxfLineReader& input, MachineProfile& profile, const GroupCodeSet& codes,
                               ConversionSettings settings, PassLines& elements, std::vector<std::string>& layerLog,
                               PointList* points = nullptr);

}  // namespace kw
