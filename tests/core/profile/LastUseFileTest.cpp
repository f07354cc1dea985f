#include "core/profile/LastUseFile.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using kw::IniFile;

TEST(LastUseFile, TextsAreHeldTo255Bytes) {
  const std::string longText(300, 'x');
  kw::LastUseFile f;
  f.lineInsert[11] = longText;
  f.cutSpeed = longText;
  IniFile ini;
  kw::writeLastUse(f, ini);
  EXPECT_EQ(ini.value("LineInsert", "Edit11"), std::string(255, 'x'));
  EXPECT_EQ(ini.value("LineInsert", "F2Edit1"), std::string(255, 'x'));

  const kw::LastUseFile read = kw::readLastUse(
      IniFile::fromText("[Files]\nLastUsedFile=" + longText + "\n[LineInsert]\nEdit3=" + longText + "\n"));
  EXPECT_EQ(read.profileName, std::string(255, 'x'));
  EXPECT_EQ(read.lineInsert[3], std::string(255, 'x'));
}

// The recent files go out as File1 to File8 and come back without the emptied ones; a file
// written before the list existed has none.
TEST(LastUseFile, RecentFilesRoundTrip) {
  kw::LastUseFile f;
  f.recentFiles = {"/a/part.nc", "/b/plate=1.dxf"};
  IniFile ini;
  kw::writeLastUse(f, ini);
  EXPECT_EQ(ini.value("RecentFiles", "File2"), "/b/plate=1.dxf");
  EXPECT_FALSE(ini.value("RecentFiles", "File3"));
  EXPECT_EQ(kw::readLastUse(ini).recentFiles, f.recentFiles);
  kw::writeRecentFiles({"/c/new.nc"}, ini);
  EXPECT_EQ(ini.value("RecentFiles", "File2"), "");
  EXPECT_EQ(kw::readLastUse(ini).recentFiles, std::vector<std::string>{"/c/new.nc"});
  EXPECT_TRUE(kw::readLastUse(IniFile::fromText("[Files]\nLastUsedFile=mill.ini\n")).recentFiles.empty());
}

}  // namespace
