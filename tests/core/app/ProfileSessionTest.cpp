#include "core/app/ProfileSession.h"

#include <gtest/gtest.h>

#include "core/app/AppFixture.h"
#include "core/profile/IniFile.h"
#include "core/text/FileIo.h"

namespace kw {
namespace {

using kwtest::AppFixture;
using kwtest::readFile;

TEST(ProfileSession, FirstStartWithoutFilesUsesTheBundledDefaultAndWritesNothing) {
  AppFixture f;
  createSetupWindow(*f.app);
  EXPECT_EQ(f.port.lastCaption(WindowId::Setup), "Setup       Using Kerfwerk.ini");
  EXPECT_EQ(f.app->profileLabel, "Using Kerfwerk.ini");
  EXPECT_EQ(f.app->currentProfileName, "Kerfwerk.ini");
  EXPECT_EQ(f.app->plot.cutSpeed, "1.00");
  EXPECT_EQ(f.app->plot.rapidSpeed, "2.00");
  EXPECT_EQ(f.app->plot.slideDistance, "5.000");
  EXPECT_EQ(f.app->profile.cell(1, 1), "G01");
  EXPECT_FALSE(fileExists(f.home("LastIni.ini")));
  EXPECT_EQ(f.port.messages, std::vector<std::string>{"The machine profile " + f.home("Kerfwerk.ini") +
                                                      " was not found: the bundled kerfwerk.ini is used."});
}

TEST(ProfileSession, StartLoadsTheDefaultThenTheRememberedProfile) {
  AppFixture f;
  f.writeHome("kerfwerk.ini", "[Labels]\nLine=G01\nArc Cw=G02\n[Plotting]\nangstep=3\n");
  f.writeHome("LATHE.INI", "[Labels]\nLine=G1\n[InitialDir]\nInitial Dir=/parts\n");
  f.writeHome("LastIni.ini",
              "[LineInsert]\nF2Edit1=7.5\nF2Edit2=30\nEdit0=first\nEdit11=last\n[Files]\nLastUsedFile=lathe.ini\n");
  createSetupWindow(*f.app);
  // Every setting comes from the remembered profile, found without regard to letter case.
  EXPECT_EQ(f.app->profile.cell(1, 1), "G1");
  EXPECT_EQ(f.app->profile.cell(2, 1), "");
  EXPECT_EQ(f.app->profile.number("AngStepSpinEdit"), 5);
  EXPECT_EQ(f.app->openDialogInitialDir, "/parts");
  EXPECT_EQ(f.app->currentProfileName, "lathe.ini");
  EXPECT_EQ(f.port.lastCaption(WindowId::Setup), "Setup       Using lathe.ini");
  EXPECT_EQ(f.app->plot.cutSpeed, "7.5");
  EXPECT_EQ(f.app->plot.rapidSpeed, "30");
  EXPECT_EQ(f.app->lineInsertTexts[0], "first");
  EXPECT_EQ(f.app->lineInsertTexts[11], "last");
}

TEST(ProfileSession, SaveIniRemembersWhereTheProfileIsAndTheNextStartLoadsItFromThere) {
  AppFixture f;
  createSetupWindow(*f.app);
  f.app->profile.setCell(1, 1, "G7");
  f.app->plot.cutSpeed = "3.5";
  std::string elsewhere = f.dir.file("machines/lathe.ini");
  std::filesystem::create_directories(f.dir.file("machines"));
  ASSERT_TRUE(Saveini2Click(*f.app, elsewhere));
  EXPECT_EQ(f.app->profileLabel, "Using lathe.ini");
  EXPECT_EQ(f.port.lastCaption(WindowId::Setup), "Setup       Using lathe.ini");
  EXPECT_NE(readFile(elsewhere).find("Line=G7\r\n"), std::string::npos);
  IniFile last;
  ASSERT_TRUE(last.load(f.home("LastIni.ini"), nullptr));
  EXPECT_EQ(last.text(),
            "[LineInsert]\r\nF2Edit1=3.5\r\nF2Edit2=2.00\r\nEdit0=\r\nEdit1=\r\nEdit2=\r\nEdit3=\r\nEdit4=\r\n"
            "Edit5=\r\nEdit6=\r\nEdit7=\r\nEdit8=\r\nEdit9=\r\nEdit10=\r\nEdit11=\r\n\r\n[Files]\r\n"
            "LastUsedFile=" + elsewhere + "\r\n");

  // Next start: the profile is taken from where it was saved.
  AppFixture next;
  next.writeHome("LastIni.ini", readFile(f.home("LastIni.ini")));
  createSetupWindow(*next.app);
  EXPECT_EQ(next.app->profileLabel, "Using lathe.ini");
  EXPECT_EQ(next.app->profile.cell(1, 1), "G7");
}

TEST(ProfileSession, SaveIniOverAFileWithAByteOrderMarkFillsItsOneLabelsSection) {
  AppFixture f;
  const std::string path = f.writeHome("bom.ini", "\xEF\xBB\xBF[Labels]\r\nLine=G01\r\n");
  ASSERT_TRUE(Saveini2Click(*f.app, path));
  const std::string saved = readFile(path);
  EXPECT_TRUE(saved.starts_with("[Labels]\r\nLine=\r\n")) << saved.substr(0, 40);
  EXPECT_EQ(saved.find("[Labels]", 1), std::string::npos);
}

TEST(ProfileSession, ChooseAndLoadProfile) {
  AppFixture f;
  createSetupWindow(*f.app);
  f.app->openDialogInitialDir = "/before";
  f.app->openDialogFileName = "prog.nc";
  std::string picked = f.dir.write("other/mill.ini", "[Labels]\nLine=G1\n[InitialDir]\nInitial Dir=/mill\n");
  ChooseAndLoadProfile(*f.app, picked);
  EXPECT_EQ(f.app->profile.cell(1, 1), "G1");
  EXPECT_EQ(f.app->currentProfileName, "mill.ini");
  EXPECT_EQ(f.app->profileLabel, "Using mill.ini");
  EXPECT_EQ(f.app->openDialogInitialDir, "/before") << "the dialog's folder is restored";
  EXPECT_EQ(f.app->openDialogFileName, "prog.nc");
  EXPECT_TRUE(fileExists(f.home("LastIni.ini")));

  // Cancelled: nothing changes, but the last-use file is written all the same.
  std::filesystem::remove(f.home("LastIni.ini"));
  ChooseAndLoadProfile(*f.app, std::nullopt);
  EXPECT_EQ(f.app->currentProfileName, "mill.ini");
  EXPECT_TRUE(fileExists(f.home("LastIni.ini")));
}

TEST(ProfileSession, UnreadableProfileIsReportedAndChangesNothing) {
  AppFixture f;
  f.app->profile.setCell(1, 1, "G01");
  std::filesystem::create_directories(f.dir.file("adir.ini"));
  EXPECT_FALSE(loadProfileFile(*f.app, f.dir.file("adir.ini")));
  EXPECT_EQ(f.app->profile.cell(1, 1), "G01");
  ASSERT_EQ(f.port.messages.size(), 1u);
  EXPECT_EQ(f.port.messages[0], "Cannot read the machine profile " + f.dir.file("adir.ini") + ": Is a directory");
}

}  // namespace
}  // namespace kw
