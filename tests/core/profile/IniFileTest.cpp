#include "core/profile/IniFile.h"

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {

using kw::IniFile;

TEST(IniFileRead, FindsValuesInCrLfLfAndCrFiles) {
  struct Case {
    const char* name;
    std::string text;
    const char *section, *key;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"crlf", "[Labels]\r\nXY Plane=G17\r\n", "Labels", "XY Plane", "G17"},
      {"names in other case", "[LABELS]\r\nXY PLANE=G17\r\n", "Labels", "XY Plane", "G17"},
      {"blanks around key and section", " [ Labels ] \r\n  XY Plane  =G17\r\n", "Labels", "XY Plane", "G17"},
      {"value kept exactly", "[S]\r\nk= a = b ;c \r\n", "S", "k", " a = b ;c "},
      {"empty value", "[S]\r\nk=\r\n", "S", "k", ""},
      {"last line without line end", "[S]\r\nk=v", "S", "k", "v"},
      {"last line ending in a lone CR", "[S]\nk=v\r", "S", "k", "v"},
      {"lone CR inside an LF file", "[S]\nk=a\rb\n", "S", "k", "a\rb"},
      {"CR only", "[S]\rk=v\rj=w\r", "S", "k", "v"},
      {"UTF-8 byte-order mark before the first section", "\xEF\xBB\xBF[S]\r\nk=v\r\n", "S", "k", "v"},
      {"first key wins", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "1"},
      {"first section wins", "[S]\r\nk=1\r\n[S]\r\nk=2\r\n", "S", "k", "1"},
      {"later section of same name", "[S]\r\na=1\r\n[T]\r\nk=0\r\n[s]\r\nk=2\r\n", "S", "k", "2"},
      {"key of another section", "[T]\r\nk=1\r\n", "S", "k", std::nullopt},
      {"key before any section", "k=1\r\n[S]\r\n", "S", "k", std::nullopt},
      {"line without equals", "[S]\r\nk\r\n", "S", "k", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IniFile::fromText(c.text).value(c.section, c.key), c.expected) << c.name;
  }
}

TEST(IniFileRead, IntegersAndBooleansFallBackWhenNotAnInteger) {
  struct Case {
    const char* value;
    int integer;   // readInteger with default 99
    bool boolean;  // readBool with default true
  };
  const Case cases[] = {
      {"0", 0, false}, {"1", 1, true}, {" -7 ", -7, true}, {"$10", 16, true},
      {"2", 2, true},  {"", 99, true}, {"yes", 99, true},  {"5x", 99, true},
  };
  for (const auto& c : cases) {
    const IniFile ini = IniFile::fromText(std::string("[S]\r\nk=") + c.value + "\r\n");
    EXPECT_EQ(ini.readInteger("S", "k", 99), c.integer) << c.value;
    EXPECT_EQ(ini.readBool("S", "k", true), c.boolean) << c.value;
  }
  const IniFile empty;
  EXPECT_EQ(empty.readInteger("S", "k", -1), -1);
  EXPECT_FALSE(empty.readBool("S", "k", false));
  EXPECT_EQ(empty.readString("S", "k", "360"), "360");
}

TEST(IniFileWrite, ReplacesInPlaceAndAppendsAtTheEndOfTheSection) {
  struct Case {
    const char* name;
    std::string before;
    const char *section, *key, *value;
    std::string after;
  };
  const Case cases[] = {
      {"new file", "", "Labels", "Line", "G01", "[Labels]\r\nLine=G01\r\n"},
      {"replace keeps key spelling and neighbours", "[Labels]\r\nXY PLANE=G17\r\nLine=G01\r\n", "labels", "XY Plane",
       "G18", "[Labels]\r\nXY PLANE=G18\r\nLine=G01\r\n"},
      {"replace keeps LF line ends", "; note\n[S]\nk=1\n", "S", "k", "0", "; note\n[S]\nk=0\n"},
      {"new key after last key, before blank lines and next section", "[A]\r\na=1\r\n; about B\r\n\r\n[B]\r\nb=2\r\n",
       "A", "n", "x", "[A]\r\na=1\r\nn=x\r\n; about B\r\n\r\n[B]\r\nb=2\r\n"},
      {"new key in section without keys", "[A]\r\n\r\n[B]\r\n", "A", "n", "x", "[A]\r\nn=x\r\n\r\n[B]\r\n"},
      {"new section at end after a blank line", "[A]\r\na=1\r\n", "B", "b", "2", "[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\n"},
      {"new section after existing blank line", "[A]\r\na=1\r\n\r\n", "B", "b", "2",
       "[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\n"},
      {"unknown lines kept", "junk line\r\n[A]\r\n# comment\r\na=1\r\n", "A", "a", "2",
       "junk line\r\n[A]\r\n# comment\r\na=2\r\n"},
      {"value cut at a line break", "[A]\r\n", "A", "a", "one\r\n[B]", "[A]\r\na=one\r\n"},
      {"missing final line end added", "[A]\na=1", "A", "a", "1", "[A]\na=1\n"},
  };
  for (const auto& c : cases) {
    IniFile ini = IniFile::fromText(c.before);
    ini.writeString(c.section, c.key, c.value);
    EXPECT_EQ(ini.text(), c.after) << c.name;
  }
}

TEST(IniFileFiles, LoadsMissingAsEmptyAndReportsUnreadable) {
  kwtest::TempDir dir;
  IniFile ini = IniFile::fromText("[S]\r\nk=1\r\n");
  std::string error;
  EXPECT_TRUE(ini.load(dir.file("missing.ini"), &error));
  EXPECT_EQ(ini.text(), "");

  std::filesystem::create_directory(dir.path() / "folder.ini");
  EXPECT_FALSE(ini.load(dir.file("folder.ini"), &error));
  EXPECT_EQ(error, "Is a directory");

  const std::string bytes = "[S]\nk=v\n";
  ASSERT_TRUE(ini.load(dir.write("lf.ini", bytes), &error));
  EXPECT_EQ(ini.value("S", "k"), "v");
  EXPECT_EQ(ini.text(), bytes);
}

TEST(IniFileFiles, SaveReplacesTheTargetOrKeepsTheOldOne) {
  kwtest::TempDir dir;
  IniFile ini = IniFile::fromText("[S]\r\nk=new value long enough to pass the limit\r\n");
  std::string error;

  // The target is a folder: the rename fails and the folder keeps its file.
  dir.write("target.ini/inside.txt", "keep");
  EXPECT_FALSE(ini.save(dir.file("target.ini"), &error));
  EXPECT_EQ(error, "Unable to write to " + dir.file("target.ini") + ": Is a directory");
  EXPECT_EQ(dir.read("target.ini/inside.txt"), "keep");

  // The folder does not exist.
  EXPECT_FALSE(ini.save(dir.file("nowhere/m.ini"), &error));
  EXPECT_EQ(error, "Unable to write to " + dir.file("nowhere/m.ini") + ": No such file or directory");

  // A save replaces the file.
  const std::string old = dir.write("m.ini", "[S]\r\nk=older\r\n");
  ASSERT_TRUE(IniFile::fromText("[S]\r\nk=old\r\n").save(old, &error)) << error;
  EXPECT_EQ(dir.read("m.ini"), "[S]\r\nk=old\r\n");

  // The disk fills up while writing (a file size limit stands in for it, also for root).
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 16;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved_ok = ini.save(old, &error);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved_ok);
  EXPECT_EQ(error, "Unable to write to " + old + ": File too large");
  EXPECT_EQ(dir.read("m.ini"), "[S]\r\nk=old\r\n");

  // Nothing but the old file and the folder is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

}  // namespace
