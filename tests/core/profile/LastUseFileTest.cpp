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

}  // namespace
