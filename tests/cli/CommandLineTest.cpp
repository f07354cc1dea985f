#include <gtest/gtest.h>

#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

using kwtest::readFile;
using kwtest::runKerfwerk;
using kwtest::TempDir;

struct Cli {
  TempDir dir;
  std::map<std::string, std::string> env;
  Cli() { env["KERFWERK_HOME"] = dir.file("home"); }
  kwtest::RunResult run(const std::vector<std::string>& args) { return runKerfwerk(args, dir.path().string(), env); }
};

TEST(CommandLine, HelpVersionAndBadOptions) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string outStart, errStart;
  };
  const Case cases[] = {
      {{"--help"}, 0, "Usage:\n  kerfwerk [SOURCE]", ""},
      {{"--version"}, 0, "kerfwerk 0.1.0\n", ""},
      {{"--frobnicate"}, 2, "", "kerfwerk: unknown option --frobnicate\n"},
      {{"--do", "A"}, 2, "", "kerfwerk: --do needs a command list, an input file and an output file\n"},
      {{"--do", "", "a", "b", "--select", "x"}, 2, "", "kerfwerk: --select needs FIRST:COUNT"},
      {{"--do", "", "a", "b", "--set", "novalue"}, 2, "", "kerfwerk: --set needs CONTROL=VALUE\n"},
      {{"--do", "", "a", "b", "--dxf-form", "curves"}, 2, "", "kerfwerk: --dxf-form needs arcs, lines or points\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0]);
    Cli cli;
    auto r = cli.run(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out.rfind(c.outStart, 0), 0u) << r.out;
    EXPECT_EQ(r.err.rfind(c.errStart, 0), 0u) << r.err;
  }
}

TEST(CommandLine, WithoutADisplayTheWindowSaysHowToRunHeadless) {
  Cli cli;
  auto r = cli.run({});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "kerfwerk: no display is available, so the program window cannot open.\n"
            "Convert a program without a window instead:  kerfwerk SOURCE OUTPUT [PROFILE]\n");
}

TEST(CommandLine, FirstStartSeedsTheProgramFolderAndConvertsWithTheDefaultProfile) {
  Cli cli;
  cli.dir.write("in.nc", "X1.5 G01 Y-2 F100 (CUT)\nN20 M30\n");
  auto r = cli.run({"in.nc", "out.nc"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(cli.dir.read("out.nc"), "G01 X1.5 Y-2 F100(CUT)\r\nN20 M30 \r\n");
  for (const char* profile : {"kerfwerk.ini", "router.ini", "lathe.ini"})
    EXPECT_FALSE(cli.dir.read(std::string("home/") + profile).empty()) << profile;
  EXPECT_TRUE(cli.dir.read("home/LastIni.ini").empty()) << "no profile argument, no last-use file";
}

TEST(CommandLine, BatchErrorsGoToStderrWithAFailingStatus) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
    bool written;
  };
  const Case cases[] = {
      {{"missing.nc", "out.nc"}, 1, "Source File Not Found\n", false},
      {{"in.nc", "out.nc", "nowhere.ini"}, 0, "INI File Not Found ( Last INI file will be used )\n", true},  // goes on
      {{"in.nc", "out.sgt"}, 1,
       "Conversion to incremental for a .SGT output is not available yet: nothing was written to out.sgt.\n", false},
      {{"in.nc", "nodir/out.nc"}, 1, "Cannot save nodir/out.nc: No such file or directory\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[1]);
    Cli cli;
    cli.dir.write("in.nc", "G1 X1\n");
    auto r = cli.run(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(!cli.dir.read(c.args[1]).empty(), c.written);
  }
}

TEST(CommandLine, DoListsCommandsAndWritesDrawings) {
  Cli cli;
  auto list = cli.run({"--do", "--list"});
  EXPECT_EQ(list.status, 0);
  EXPECT_NE(list.out.find("Main.LineOrderGXYZIJKR1Click\tLine Order N G M X Y Z I J K R\n"), std::string::npos);

  cli.dir.write("in.nc", "M3 X1 G1\r\n");
  auto dxf = cli.run({"--do", "", "in.nc", "out.dxf"});
  EXPECT_EQ(dxf.status, 0) << dxf.err;
  EXPECT_NE(cli.dir.read("out.dxf").find("ENTITIES"), std::string::npos);
}

}  // namespace
