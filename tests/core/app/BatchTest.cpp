#include "core/app/Batch.h"

#include <gtest/gtest.h>

#include "core/text/FileIo.h"
#include "core/app/ProfileSession.h"
#include "core/app/AppFixture.h"

namespace kw {
namespace {

using kwtest::AppFixture;
using kwtest::readFile;

const char* kPlasmaProfile =
    "[Labels]\r\nN Letter=N\r\nR Letter=R\r\nI Letter=I\r\nJ Letter=J\r\nK Letter=K\r\n"
    "X Letter=X\r\nY Letter=Y\r\nZ Letter=Z\r\nTrans170=(\r\nTrans171=)\r\n";

TEST(BatchConversion, ReordersEveryLineAndWritesCrLf) {
  AppFixture f;
  std::string profile = f.dir.write("machines/plasma.ini", kPlasmaProfile);
  std::string in = f.dir.write("in.txt", "X1 G1 Y2 M3\nG01 X5 (CUT PART)\n(ONLY A COMMENT)\nN10 G02 X1 Y2 I3 J4 F100\n");
  EXPECT_EQ(runBatchConversion(*f.app, {in, f.dir.file("out.nc"), profile}), 0);
  EXPECT_EQ(readFile(f.dir.file("out.nc")),
            "G1 M3 X1 Y2 \r\nG01 X5 (CUT PART)\r\n(ONLY A COMMENT)\r\nN10 G02 X1 Y2 I3 J4 F100\r\n");
  EXPECT_TRUE(f.port.messages.empty());
  EXPECT_EQ(f.port.lastCaption(WindowId::Plot), f.dir.file("out.nc"));
  // The profile given as a path is used from where it is, and only its name is remembered.
  EXPECT_EQ(f.app->profileLabel, "Using plasma.ini");
  EXPECT_NE(readFile(f.home("LastIni.ini")).find("LastUsedFile=plasma.ini\r\n"), std::string::npos);
}

TEST(BatchConversion, StopsOrWarnsAsTheArgumentsSay) {
  struct Case {
    std::string source, output, profile;
    int status;
    std::string message;  // prefix, "" = none
    bool written;
  };
  const Case cases[] = {
      {"missing.nc", "out.nc", "", 1, "Source File Not Found", false},
      {"in.nc", "out.nc", "nowhere.ini", 0, "INI File Not Found ( Last INI file will be used )", true},
      {"in.nc", "out.SGT", "", 1, "Conversion to incremental for a .SGT output is not available yet", false},
      {"in.nc", "out.dxf", "", 1, "A .DXF output is written only from a .PNT points file", false},
      {"in.pnt", "out.DXF", "", 0, "", true},
      {"in.dxf", "out.nc", "", 1, "No ENTITIES section found in ", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source + " " + c.output);
    AppFixture f;
    for (const char* name : {"in.nc", "in.pnt", "in.dxf"}) f.dir.write(name, "G1 X1\n");
    std::vector<std::string> args = {f.dir.file(c.source), f.dir.file(c.output)};
    if (!c.profile.empty()) args.push_back(f.dir.file(c.profile));
    EXPECT_EQ(runBatchConversion(*f.app, args), c.status);
    ASSERT_EQ(f.port.messages.size(), c.message.empty() ? 0u : 1u);
    for (const auto& m : f.port.messages) EXPECT_EQ(m.rfind(c.message, 0), 0u) << m;
    EXPECT_EQ(fileExists(f.dir.file(c.output)), c.written);
  }
}

TEST(BatchConversion, ProfileNamedWithoutFolderIsFoundInTheProgramFolder) {
  AppFixture f;
  f.writeHome("lathe.ini", kPlasmaProfile);
  std::string in = f.dir.write("in.nc", "Z5 X1 G1\n");
  EXPECT_EQ(runBatchConversion(*f.app, {in, f.dir.file("out.nc"), "lathe.ini"}), 0);
  EXPECT_TRUE(f.port.messages.empty());
  EXPECT_EQ(readFile(f.dir.file("out.nc")), "G1 X1 Z5 \r\n");
}

TEST(BatchConversion, OneArgumentOpensAndReordersWithoutSaving) {
  AppFixture f;
  f.writeHome("kerfwerk.ini", kPlasmaProfile);
  createSetupWindow(*f.app);
  EXPECT_EQ(runBatchConversion(*f.app, {f.dir.write("in.nc", "Y2 X1\n")}), 0);
  EXPECT_EQ(f.app->buffer.lines, (std::vector<std::string>{"X1 Y2 "}));
  EXPECT_EQ(f.app->title, "in.nc");
  EXPECT_TRUE(f.app->buffer.modified);
  EXPECT_FALSE(fileExists(f.home("LastIni.ini"))) << "only a profile argument writes the last-use file";
}

TEST(DoCommands, RunsNamedCommandsAndSavesAsSaveAsDoes) {
  AppFixture f;
  DoRequest request;
  request.commands = splitCommandList("Main.LineOrderXYZIJKRM1Click");
  request.input = f.dir.write("in.nc", "X1 G1 Y2 M3\r\n");
  request.output = f.dir.file("out.nc");
  request.profile = f.dir.write("p.ini", kPlasmaProfile);
  request.select = HighlightedBlock{2, 3};
  EXPECT_EQ(runDoCommands(*f.app, request), 0);
  EXPECT_EQ(readFile(f.dir.file("out.nc")), "G1 X1 Y2 M3 \r\n");
  EXPECT_EQ(f.app->highlighted.first, 2);
  EXPECT_EQ(f.app->highlighted.count, 3);
  EXPECT_EQ(f.app->title, "out.nc");
}

TEST(DoCommands, RefusesUnknownNamesAndControls) {
  struct Case {
    std::vector<std::string> commands;
    std::vector<std::pair<std::string, std::string>> sets;
    std::string message;
  };
  const Case cases[] = {
      {{"Main.NoSuchThing1Click"}, {}, "Unknown command Main.NoSuchThing1Click (kerfwerk --do --list shows the names)"},
      {{}, {{"NoSuchEdit", "1"}}, "Cannot set NoSuchEdit: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    AppFixture f;
    DoRequest request;
    request.commands = c.commands;
    request.sets = c.sets;
    request.input = f.dir.write("in.nc", "G1\n");
    request.output = f.dir.file("out.nc");
    EXPECT_EQ(runDoCommands(*f.app, request), 1);
    ASSERT_EQ(f.port.messages.size(), 1u);
    EXPECT_EQ(f.port.messages[0].rfind(c.message, 0), 0u) << f.port.messages[0];
    EXPECT_FALSE(fileExists(request.output));
  }
}

TEST(DoCommands, SetGivesProfileAndPlotControlsTheirValues) {
  AppFixture f;
  DoRequest request;
  request.sets = {{"RCheckbox", "1"}, {"DpEdit", "4"}, {"CutSpeedEdit", "12.5"}, {"SlideEdit1", "2.000"}};
  request.input = f.dir.write("in.nc", "G1\n");
  request.output = f.dir.file("out.nc");
  EXPECT_EQ(runDoCommands(*f.app, request), 0);
  EXPECT_TRUE(f.app->profile.flag("IJFOURQUAD")) << "the R option's rule runs";
  EXPECT_EQ(f.app->profile.text("DpEdit"), "4");
  EXPECT_EQ(f.app->plot.cutSpeed, "12.5");
  EXPECT_EQ(f.app->plot.slideDistance, "2.000");
  EXPECT_EQ(splitCommandList("A,,B,"), (std::vector<std::string>{"A", "B"}));
}

}  // namespace
}  // namespace kw
