#include <gtest/gtest.h>

#include "core/app/BundledFiles.h"
#include "core/app/ProgramFolder.h"
#include "core/profile/IniFile.h"
#include "core/profile/ProfileFile.h"
#include "core/text/FileIo.h"
#include "support/TempDir.h"

namespace kw {
namespace {

// Every bundled profile is written exactly as "Save ini" writes it, so a load followed by a
// save reproduces it byte for byte, and it holds the words a new user needs at once.
TEST(BundledProfiles, AreInTheSavedLayoutAndUsable) {
  ASSERT_GE(bundledProfiles().size(), 3u);
  bool haveDefault = false;
  for (const auto& file : bundledProfiles()) {
    SCOPED_TRACE(std::string(file.name));
    haveDefault |= file.name == "kerfwerk.ini";
    MachineProfile profile;
    Ldini(profile, IniFile::fromText(file.bytes));
    IniFile saved;
    Svini(profile, saved);
    EXPECT_EQ(saved.text(), file.bytes);
    for (int row : {1, 2, 3, 6, 8, 9, 12, 17, 18, 19, 20, 27, 70, 71})
      EXPECT_FALSE(profile.cell(row, 1).empty()) << row;
  }
  EXPECT_TRUE(haveDefault);
}

TEST(BundledProfiles, SeedingCopiesMissingProfilesAndKeepsTheUsersOwn) {
  kwtest::TempDir dir;
  dir.write("kerfwerk.ini", "[Labels]\r\nLine=G1\r\n");
  seedProgramFolder(dir.path().string());
  EXPECT_EQ(dir.read("kerfwerk.ini"), "[Labels]\r\nLine=G1\r\n");
  for (const auto& file : bundledProfiles())
    if (file.name != "kerfwerk.ini") {
      EXPECT_EQ(dir.read(std::string(file.name)), file.bytes);
    }
}

}  // namespace
}  // namespace kw
