// Drawings written by another program (python3-ezdxf, R12 and R2000, see
// tests/tools/ezdxf_drawings.py) converted the way `kerfwerk drawing.dxf out.nc` converts
// them, the plotted cut length held against the geometry ezdxf computes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
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
  const kwtest::PythonRun run =
      kwtest::runTool("ezdxf_drawings.py", drawings->dir.path().string() + " " + ellipsePoints);
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

// Every layer, each layer, and one that is not there.
struct LayerCase {
  const char* drawing;
  const char* layer;
};

void PrintTo(const LayerCase& c, std::ostream* os) { *os << c.drawing << " layer " << c.layer; }

class EzdxfLayerTest : public ::testing::TestWithParam<LayerCase> {
 protected:
  static void SetUpTestSuite() { makeDrawings(); }
  void SetUp() override {
    if (!drawings) GTEST_SKIP() << kwtest::kPython << " has no ezdxf";
    ASSERT_EQ(drawings->failure, "");
  }
};

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

}  // namespace
}  // namespace kw
