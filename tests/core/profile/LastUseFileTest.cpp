#include "core/profile/LastUseFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using kw::IniFile;

TEST(LastUseFile, MissingKeysGiveTheDefaults) {
  const kw::LastUseFile f = kw::readLastUse(IniFile());
  EXPECT_EQ(f.cutSpeed, "1.00");
  EXPECT_EQ(f.rapidSpeed, "2.00");
  EXPECT_EQ(f.profileName, "");
  for (const auto& text : f.lineInsert) EXPECT_EQ(text, "");
}

TEST(LastUseFile, WritesInItsOrderAndReadsBack) {
  kw::LastUseFile f;
  f.cutSpeed = "12.5";
  f.rapidSpeed = "300";
  f.profileName = "lathe.ini";
  for (std::size_t i = 0; i < f.lineInsert.size(); ++i) f.lineInsert[i] = "M" + std::to_string(i);
  IniFile ini;
  kw::writeLastUse(f, ini);
  EXPECT_EQ(ini.text(),
            "[LineInsert]\r\nF2Edit1=12.5\r\nF2Edit2=300\r\nEdit0=M0\r\nEdit1=M1\r\nEdit2=M2\r\n"
            "Edit3=M3\r\nEdit4=M4\r\nEdit5=M5\r\nEdit6=M6\r\nEdit7=M7\r\nEdit8=M8\r\nEdit9=M9\r\n"
            "Edit10=M10\r\nEdit11=M11\r\n\r\n[Files]\r\nLastUsedFile=lathe.ini\r\n");
  const kw::LastUseFile back = kw::readLastUse(IniFile::fromText(ini.text()));
  EXPECT_EQ(back.cutSpeed, f.cutSpeed);
  EXPECT_EQ(back.rapidSpeed, f.rapidSpeed);
  EXPECT_EQ(back.profileName, f.profileName);
  EXPECT_EQ(back.lineInsert, f.lineInsert);
}

TEST(LastUseFile, TextsAreHeldTo255Bytes) {
  const std::string longText(300, 'x');
  kw::LastUseFile f;
  f.lineInsert[11] = longText;
  f.cutSpeed = longText;
  IniFile ini;
  kw::writeLastUse(f, ini);
  EXPECT_EQ(ini.value("LineInsert", "Edit11"), std::string(255, 'x'));
  EXPECT_EQ(ini.value("LineInsert", "F2Edit1"), std::string(255, 'x'));

  const kw::LastUseFile read =
      kw::readLastUse(IniFile::fromText("[Files]\nLastUsedFile=" + longText + "\n[LineInsert]\nEdit3=" + longText + "\n"));
  EXPECT_EQ(read.profileName, std::string(255, 'x'));
  EXPECT_EQ(read.lineInsert[3], std::string(255, 'x'));
}

}  // namespace
