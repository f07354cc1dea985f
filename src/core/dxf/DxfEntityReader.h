#pragma once
// The reading side of a DXF conversion: a line scanner, not a parser. Whole lines are compared
// with the group codes of the chosen CAD flavour; after the "ENTITIES" line every LINE,
// POLYLINE, LWPOLYLINE, TRACE, SOLID, ARC, CIRCLE and ELLIPSE on the chosen layer is handed to
// the ElementWriter, the drawing's X becoming the machine's Y word and its Y the X word.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

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
// Reads up to the "ENTITIES" line; false when the file ends first.
bool findEntitiesSection(DxfLineReader& input);

// A point as the three texts of its X, Y and Z words.
struct PointTexts {
  std::string x, y, z;
  bool operator==(const PointTexts&) const = default;
};

class DxfEntityReader {
 public:
  // Reads "EditLayer", the flavour and "Z Included" from the profile; `settings` gives the
  // scales, Z offset, decimals and origin.
  DxfEntityReader(DxfLineReader& input, const MachineProfile& profile, const GroupCodeSet& codes,
                  const ConversionSettings& settings, ElementWriter& writer, std::vector<std::string>& layerLog);

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
  bool layerMatches() const { return layer_ == editLayer_; }
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
};
DxfReadOutcome readDxfElements(DxfLineReader& input, MachineProfile& profile, const GroupCodeSet& codes,
                               ConversionSettings settings, PassLines& elements, std::vector<std::string>& layerLog);

}  // namespace kw
