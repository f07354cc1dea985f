// Drawings written by another program (python3-ezdxf, R12 and R2000) converted the way
// `kerfwerk drawing.dxf out.nc` converts them, the plotted cut length held against the
// geometry ezdxf computes, and damaged copies of the R2000 drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/app/App.h"
#include "support/RecordingPort.h"
#include "core/app/Batch.h"
#include "core/app/ProfileSession.h"
#include "core/app/ProgramFolder.h"
#include "core/dxf/DxfEntityReader.h"
#include "core/dxf/DxfReader.h"
#include "core/dxf/ElementWriter.h"
#include "core/dxf/PythonSupport.h"
#include "core/text/BlockScanner.h"
#include "core/plot/PlotState.h"
#include "support/TempDir.h"

namespace kw {
namespace {

// Writes the two drawings into argv[1] and prints, for "*" and each layer: the cut length, how
// much a chord polygon of argv[2] points per ellipse falls short of it, the number of lines and
// arcs, of connected outlines, where the first starts and the least and greatest X and Y word
// (machine words before scaling: X from the drawing's Y, less the UCS origin). Then the layers
// that LINE, POLYLINE and LWPOLYLINE name, in drawing order, a repeat of the last left out.
constexpr const char* kDrawings = R"PY(
import sys, math, ezdxf
from ezdxf.math import Vec2

folder, points = sys.argv[1], int(sys.argv[2])

def r12():
    doc = ezdxf.new("R12")
    doc.header["$UCSORG"] = (-2.0, 4.0, 0)
    msp = doc.modelspace()
    msp.add_polyline2d([(0, 0, 0), (40, 0, 0.5), (40, 20, 0), (0, 20, -0.4)], format="xyb", close=True,
                       dxfattribs={"layer": "PLATE"})
    msp.add_polyline2d([(60, 0, 1), (70, 0, 0), (70, 10, -0.3), (80, 15, 0)], format="xyb",
                       dxfattribs={"layer": "PLATE"})
    msp.add_circle((20, 10), 4, dxfattribs={"layer": "HOLES"})
    msp.add_line((100, 0), (110, 0), dxfattribs={"layer": "SLOT"})
    msp.add_arc((110, 5), 5, 270, 90, dxfattribs={"layer": "SLOT"})
    msp.add_line((110, 10), (100, 10), dxfattribs={"layer": "SLOT"})
    msp.add_arc((100, 5), 5, 90, 270, dxfattribs={"layer": "SLOT"})
    return doc

def r2000():
    doc = ezdxf.new("R2000")
    doc.header["$UCSORG"] = (5.0, -3.0, 0)
    msp = doc.modelspace()
    # bulges 1 and -1, a repeated vertex whose own bulge shapes nothing, a bulged closing segment
    msp.add_lwpolyline([(0, 0, 0), (50, 0, 1), (50, 10, 0), (60, 10, 0.7), (60, 10, -1), (60, 30, 0),
                        (0, 30, 0.25)], format="xyb", close=True, dxfattribs={"layer": "OUTLINE"})
    msp.add_lwpolyline([(80, 0, 2.5), (90, 0, -1.8), (100, 0, 0), (100, 5, 0)], format="xyb",
                       dxfattribs={"layer": "CURVES"})
    msp.add_trace([(0, 50), (20, 50), (0, 60), (25, 62)], dxfattribs={"layer": "PLATES"})
    msp.add_solid([(40, 50), (55, 50), (45, 60), (45, 60)], dxfattribs={"layer": "PLATES"})
    msp.add_ellipse((120, 20), major_axis=(12, 5), ratio=0.5, dxfattribs={"layer": "ELLIPSES"})
    msp.add_ellipse((150, 20), major_axis=(0, 8), ratio=0.4, start_param=0.3, end_param=2.5,
                    dxfattribs={"layer": "ELLIPSES"})
    msp.add_ellipse((180, 20), major_axis=(-6, 6), ratio=0.6, start_param=5.5, end_param=1.0,
                    dxfattribs={"layer": "ELLIPSES"})
    msp.add_line((100, 80), (110, 80), dxfattribs={"layer": "Slot cut"})
    msp.add_arc((110, 85), 5, 270, 90, dxfattribs={"layer": "Slot cut"})
    msp.add_line((110, 90), (100, 90), dxfattribs={"layer": "Slot cut"})
    msp.add_arc((100, 85), 5, 90, 270, dxfattribs={"layer": "Slot cut"})
    return doc

def cut(e):
    """[length, chord shortfall, lines and arcs, [(start, end)], points along it]"""
    kind = e.dxftype()
    if kind in ("LWPOLYLINE", "POLYLINE"):
        total = [0.0, 0.0, 0, [], []]
        for v in e.virtual_entities():
            for i, x in enumerate(cut(v)):
                total[i] += x
        return total
    if kind == "LINE":
        s, f = Vec2(e.dxf.start), Vec2(e.dxf.end)
        return [s.distance(f), 0.0, 1, [(s, f)], [s, f]]
    if kind == "ARC":
        a = e.construction_tool()
        along = [Vec2(v) for v in a.vertices(a.angles(3601))]
        return [a.radius * math.radians(a.angle_span), 0.0, 1, [(along[0], along[-1])], along]
    if kind == "CIRCLE":
        top = Vec2(e.dxf.center) + Vec2(0, e.dxf.radius)
        along = [Vec2(v) for v in e.vertices([i / 10 for i in range(3600)])]
        return [2 * math.pi * e.dxf.radius, 0.0, 1, [(top, top)], along]
    if kind == "ELLIPSE":
        ce = e.construction_tool()
        def polygon(n):
            p = [Vec2(v) for v in ce.vertices(ce.params(n + 1))]
            return sum(p[i].distance(p[i + 1]) for i in range(n)), p
        fine, p = polygon(100000)
        return [fine, fine - polygon(points)[0], 0, [(p[0], p[-1])], p]
    if kind in ("TRACE", "SOLID"):
        p = [Vec2(e.dxf.get("vtx%d" % i)) for i in range(4)]
        sides = [(a, b) for a, b in ((p[0], p[1]), (p[1], p[3]), (p[2], p[3]), (p[2], p[0])) if a != b]
        return [sum(a.distance(b) for a, b in sides), 0.0, len(sides), sides, p]
    raise SystemExit("no length for " + kind)

def outlines(ends):
    pts = [p for piece in ends for p in piece]
    up = list(range(len(pts)))
    def root(i):
        while up[i] != i:
            i = up[i]
        return i
    for i in range(0, len(pts), 2):
        up[root(i + 1)] = root(i)
    for i in range(len(pts)):
        for j in range(i):
            if abs(pts[i].x - pts[j].x) + abs(pts[i].y - pts[j].y) <= 0.001:
                up[root(i)] = root(j)
    return len({root(i) for i in range(len(pts))})

for name, make in (("r12", r12), ("r2000", r2000)):
    doc = make()
    ux, uy = doc.header["$UCSORG"][:2]
    doc.saveas(folder + "/" + name + ".dxf")
    entities = list(doc.modelspace())
    cuts = [cut(e) for e in entities]
    for layer in ["*"] + sorted({e.dxf.layer for e in entities}):
        chosen = [e for e in entities if layer == "*" or e.dxf.layer == layer]
        parts = [c for e, c in zip(entities, cuts) if layer == "*" or e.dxf.layer == layer]
        ends = [x for p in parts for x in p[3]]
        start = "-|-"
        if chosen[0].dxftype() != "ELLIPSE":
            start = "%.4f|%.4f" % (ends[0][0].y - uy, ends[0][0].x - ux)
        xs = [v.x - ux for p in parts for v in p[4]]
        ys = [v.y - uy for p in parts for v in p[4]]
        print("LAYER|%s|%s|%.6f|%.6f|%d|%d|%s|%.6f|%.6f|%.6f|%.6f" % (name, layer, sum(p[0] for p in parts),
              sum(p[1] for p in parts), sum(p[2] for p in parts), outlines(ends), start, min(ys), max(ys), min(xs),
              max(xs)))
    last = None
    for e in entities:
        if e.dxftype() in ("LINE", "POLYLINE", "LWPOLYLINE") and e.dxf.layer != last:
            last = e.dxf.layer
            print("LOG|%s|%s" % (name, last))
print("DONE")
)PY";

struct Expected {
  double length = 0, shortfall = 0;
  int pieces = 0, outlines = 0;
  std::string startX, startY;  // "-" when the first outline is an ellipse
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
};

std::vector<std::string> split(const std::string& text, char by) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, by);) parts.push_back(part);
  return parts;
}

// The drawings and what ezdxf says about them, made once for every test here.
struct Drawings {
  kwtest::TempDir dir;
  std::map<std::string, Expected> layers;                   // "r12|PLATE"
  std::map<std::string, std::vector<std::string>> logged;  // "r12": layer names
  std::string failure;

  std::string path(const std::string& name) const { return dir.file(name + ".dxf"); }
  std::string text(const std::string& name) const { return kwtest::readFile(path(name)); }
};

std::unique_ptr<Drawings> drawings;

// A user port that keeps the layer log it was shown.
struct LogPort : RecordingPort {
  std::vector<std::string> shownLog;
  void showLayerLog(const std::vector<std::string>& lines) override { shownLog = lines; }
};

// The default profile from a seeded program folder, "Edit Line only" on (a rapid before each
// path), the layer chosen, the plot unmirrored with arcs drawn in steps of one degree.
struct Machine {
  kwtest::TempDir dir;
  LogPort port;
  std::unique_ptr<App> app;

  explicit Machine(const std::string& layer) {
    std::filesystem::create_directories(dir.file("home"));
    app = std::make_unique<App>(dir.file("home"), port);
    seedProgramFolder(app->folder);
    createSetupWindow(*app);
    std::string why;
    EXPECT_TRUE(app->profile.setFromText("EditOnlyCheckBox", "1", &why)) << why;
    EXPECT_TRUE(app->profile.setFromText("EditLayer", layer, &why)) << why;
    for (const char* plotSign : {"XsignCheckBox", "YsignCheckBox"}) app->profile.setFlag(plotSign, false);
    app->profile.setNumber("PlotResSpinEdit", 1);
    port.messages.clear();
  }
  std::string output() const { return dir.file("out.nc"); }
  // `kerfwerk drawing.dxf out.nc` on a window that held a program.
  int convert(const std::string& drawing) {
    app->buffer.lines = {"G01 X1 Y1"};
    return runBatchConversion(*app, {drawing, output()});
  }
  // The cut length that `--report` prints, read from the plot's caption "Cut ...  Rapid ...".
  double plottedCut() {
    app->plot.setViewScale(1000);
    app->replot();
    const std::string& caption = app->backplot.state().labels.caption;
    EXPECT_EQ(caption.rfind("Cut ", 0), 0u) << caption;
    return std::atof(caption.c_str() + 4);
  }
  int count(const std::string& line) const {
    int n = 0;
    for (const auto& l : app->buffer.lines) n += l == line;
    return n;
  }
};

void makeDrawings() {
  if (drawings || !kwtest::haveEzdxf()) return;
  drawings = std::make_unique<Drawings>();
  const std::string ellipsePoints = Machine("*").app->profile.text("EllipseEdit");
  const kwtest::PythonRun run = kwtest::runPythonScript(drawings->dir, "drawings.py", kDrawings,
                                                        drawings->dir.path().string() + " " + ellipsePoints);
  if (run.status != 0 || run.output.find("DONE\n") == std::string::npos) {
    drawings->failure = run.output;
    return;
  }
  for (const std::string& line : split(run.output, '\n')) {
    const std::vector<std::string> f = split(line, '|');
    if (f.size() == 13 && f[0] == "LAYER")
      drawings->layers[f[1] + "|" + f[2]] = {std::stod(f[3]), std::stod(f[4]), std::stoi(f[5]), std::stoi(f[6]),
                                             f[7], f[8], std::stod(f[9]), std::stod(f[10]), std::stod(f[11]),
                                             std::stod(f[12])};
    else if (f.size() == 3 && f[0] == "LOG")
      drawings->logged[f[1]].push_back(f[2]);
  }
}

class EzdxfDrawingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { makeDrawings(); }
  void SetUp() override {
    if (!drawings) GTEST_SKIP() << kwtest::kPython << " has no ezdxf";
    ASSERT_EQ(drawings->failure, "");
  }
};

// ---- Every layer, each layer, and one that is not there ------------------------------------

struct LayerCase {
  const char* drawing;
  const char* layer;
};

void PrintTo(const LayerCase& c, std::ostream* os) { *os << c.drawing << " layer " << c.layer; }

class EzdxfLayerTest : public EzdxfDrawingTest, public ::testing::WithParamInterface<LayerCase> {};

// The layer log of a drawing in which nothing was converted.
std::vector<std::string> layerLogOf(const std::string& drawing) {
  std::vector<std::string> log = layerLogHints();
  for (const std::string& layer : drawings->logged[drawing]) log.push_back("Try Layer : " + layer);
  return log;
}

// Run with the profile's own X scale and with it negated ("X * -1"), so that a drawing is
// converted both mirrored and not, whichever way the bundled profile has it.
TEST_P(EzdxfLayerTest, CutLengthPathsExtentsAndStartAgreeWithEzdxf) {
  const LayerCase& c = GetParam();
  for (const char* mirror : {"0", "1"}) {
    SCOPED_TRACE(std::string("X * -1 ") + mirror);
    Machine machine(c.layer);
    std::string why;
    ASSERT_TRUE(machine.app->profile.setFromText("XmultCheckBox", mirror, &why)) << why;
    const int status = machine.convert(drawings->path(c.drawing));
    const auto found = drawings->layers.find(std::string(c.drawing) + "|" + c.layer);
    if (found == drawings->layers.end()) {  // no such layer in the drawing
      EXPECT_EQ(status, 1);
      EXPECT_EQ(machine.port.messages, std::vector<std::string>{kNoUsableDataMessage});
      EXPECT_EQ(machine.port.shownLog, layerLogOf(c.drawing));
      EXPECT_EQ(machine.app->buffer.lines, std::vector<std::string>{});
      EXPECT_FALSE(std::filesystem::exists(machine.output()));
      continue;
    }
    const Expected& e = found->second;
    EXPECT_EQ(status, 0);
    EXPECT_EQ(machine.port.messages, std::vector<std::string>{});
    EXPECT_TRUE(std::filesystem::exists(machine.output()));
    // Each connected outline is one path: cut on ("Begin Block") once per path.
    EXPECT_EQ(machine.count(machine.app->profile.cell(8, 1) + " "), e.outlines);
    // Four decimals move an element's ends by at most 5e-5 per word, well inside 1e-3 per
    // element; ellipses are cut along a chord polygon, which falls short of the curve.
    const double tolerance = 1e-3 * e.pieces + 2 * e.shortfall + 1e-4;
    EXPECT_NEAR(machine.plottedCut(), e.length, tolerance);
    // The plot's extents are those of the outlines and of X0 Y0; one-degree chords fall short
    // of an arc's extreme by less than 2e-3 at these radii.
    const ConversionSettings scales = ConversionSettings::read(machine.app->profile);
    const PlotState& plot = machine.app->backplot.state();
    auto lower = [](double a, double b, float scale) { return std::min({0.0, a * scale, b * scale}); };
    auto upper = [](double a, double b, float scale) { return std::max({0.0, a * scale, b * scale}); };
    EXPECT_NEAR(plot.MinX / plot.PlotScale, lower(e.minX, e.maxX, scales.xs), 2e-3);
    EXPECT_NEAR(plot.MaxX / plot.PlotScale, upper(e.minX, e.maxX, scales.xs), 2e-3);
    EXPECT_NEAR(plot.MinY / plot.PlotScale, lower(e.minY, e.maxY, scales.ys), 2e-3);
    EXPECT_NEAR(plot.MaxY / plot.PlotScale, upper(e.minY, e.maxY, scales.ys), 2e-3);
    if (e.startX == "-") continue;
    // The positioning line before the first path goes to the first entity's start.
    const std::vector<std::string>& lines = machine.app->buffer.lines;
    const std::string rapid = machine.app->profile.cell(27, 1) + " ";
    const auto edit =
        std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(rapid, 0) == 0; });
    ASSERT_NE(edit, lines.end());
    EXPECT_NEAR(FindLetterValue("X", *edit).value, std::stod(e.startX) * scales.xs, 1e-4) << *edit;
    EXPECT_NEAR(FindLetterValue("Y", *edit).value, std::stod(e.startY) * scales.ys, 1e-4) << *edit;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layers, EzdxfLayerTest,
    ::testing::Values(LayerCase{"r12", "*"}, LayerCase{"r12", "PLATE"}, LayerCase{"r12", "HOLES"},
                      LayerCase{"r12", "SLOT"}, LayerCase{"r12", "PLATES"}, LayerCase{"r2000", "*"},
                      LayerCase{"r2000", "OUTLINE"}, LayerCase{"r2000", "CURVES"}, LayerCase{"r2000", "PLATES"},
                      LayerCase{"r2000", "ELLIPSES"}, LayerCase{"r2000", "Slot cut"}, LayerCase{"r2000", "Slot"}),
    [](const ::testing::TestParamInfo<LayerCase>& info) {
      std::string name = std::string(info.param.drawing) + "_" + info.param.layer;
      for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

// ---- Damaged copies of the R2000 drawing ----------------------------------------------------

std::size_t indexOf(const std::vector<std::string>& lines, const std::string& line, std::size_t from = 0) {
  const auto at = std::find(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end(), line);
  if (at == lines.end()) throw std::runtime_error("the drawing has no line " + line);
  return static_cast<std::size_t>(at - lines.begin());
}

std::string randomBytes(std::size_t size) {
  std::mt19937 random(5);
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    if (i % 16 != 0) bytes[i] = static_cast<char>(random() & 0xff);
  return bytes;
}

const std::string kLongLayer = "Slot cut" + std::string(292, '_');

// What a damaged drawing ends with: the message ("%s" for its path; none when it converts)
// and the layer log shown with " No Usable Data found in dxf file ".
struct Outcome {
  std::string message;
  std::vector<std::string> log;
};

struct DamageCase {
  const char* name;
  std::string layer;
  // Damages the lines of the drawing (its bytes when it returns them whole) and tells the outcome.
  std::function<Outcome(std::vector<std::string>& lines, std::string& bytes)> damage;
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

class EzdxfDamageTest : public EzdxfDrawingTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(EzdxfDamageTest, EndsWithItsMessageOrConvertsTheSlot) {
  const DamageCase& c = GetParam();
  std::vector<std::string> lines = split(drawings->text("r2000"), '\n');
  std::string bytes;
  const Outcome outcome = c.damage(lines, bytes);
  if (bytes.empty())
    for (const std::string& line : lines) bytes += line + "\n";
  Machine machine(c.layer);
  const std::string path = machine.dir.write("damaged.dxf", bytes);
  const int status = machine.convert(path);
  if (outcome.message.empty()) {  // still converts: the slot, as from the undamaged drawing
    const Expected& slot = drawings->layers.at("r2000|Slot cut");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(machine.port.messages, std::vector<std::string>{});
    EXPECT_EQ(machine.count(machine.app->profile.cell(8, 1) + " "), 1);
    EXPECT_NEAR(machine.plottedCut(), slot.length, 1e-3 * slot.pieces);
    return;
  }
  std::string message = outcome.message;
  if (const std::size_t at = message.find("%s"); at != std::string::npos) message.replace(at, 2, path);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(machine.port.messages, std::vector<std::string>{message});
  EXPECT_EQ(machine.port.shownLog, outcome.log);
  EXPECT_EQ(machine.app->buffer.lines, std::vector<std::string>{});
  EXPECT_FALSE(std::filesystem::exists(machine.output()));
}

std::vector<std::string> logWith(const std::string& last) {
  std::vector<std::string> log = layerLogOf("r2000");
  log.back() = "Try Layer : " + last;
  return log;
}

INSTANTIATE_TEST_SUITE_P(
    Damaged, EzdxfDamageTest,
    ::testing::Values(
        DamageCase{"CutOffInsideAPolylinesVertices", "*",
                   [](std::vector<std::string>& lines, std::string&) {
                     lines.resize(indexOf(lines, " 42", indexOf(lines, "AcDbPolyline")) + 1);
                     return Outcome{"Unexpected end of file in %s after line " + std::to_string(lines.size()) +
                                        ": the drawing ends inside an entity",
                                    {}};
                   }},
        DamageCase{"CoordinateWithADecimalComma", "*",
                   [](std::vector<std::string>& lines, std::string&) {
                     const std::size_t at = indexOf(lines, "50.0", indexOf(lines, "AcDbPolyline"));
                     lines[at] = "50,0";
                     return Outcome{"Invalid numeric input in %s, line " + std::to_string(at + 1) + ": \"50,0\"", {}};
                   }},
        DamageCase{"RandomBytesWithNuls", "*",
                   [](std::vector<std::string>&, std::string& bytes) {
                     bytes = randomBytes(20000);
                     return Outcome{"No ENTITIES section found in %s", {}};
                   }},
        DamageCase{"RandomBytesInPlaceOfTheEntities", "*",
                   [](std::vector<std::string>& lines, std::string&) {
                     const std::size_t begin = indexOf(lines, "ENTITIES") + 1;
                     const std::size_t end = indexOf(lines, "ENDSEC", begin) - 1;
                     lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(begin),
                                 lines.begin() + static_cast<std::ptrdiff_t>(end));
                     lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(begin), randomBytes(20000));
                     return Outcome{kNoUsableDataMessage, layerLogHints()};
                   }},
        // Lines are cut to 255 characters: the layer is known by its first 255.
        DamageCase{"LayerOf300CharactersChosenInFull", kLongLayer,
                   [](std::vector<std::string>& lines, std::string&) {
                     std::replace(lines.begin(), lines.end(), std::string("Slot cut"), kLongLayer);
                     return Outcome{kNoUsableDataMessage, logWith(kLongLayer.substr(0, 255))};
                   }},
        DamageCase{"LayerOf300CharactersChosenByItsFirst255", kLongLayer.substr(0, 255),
                   [](std::vector<std::string>& lines, std::string&) {
                     std::replace(lines.begin(), lines.end(), std::string("Slot cut"), kLongLayer);
                     return Outcome{};
                   }}),
    [](const ::testing::TestParamInfo<DamageCase>& info) { return info.param.name; });

}  // namespace
}  // namespace kw
