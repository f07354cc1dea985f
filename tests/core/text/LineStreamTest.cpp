#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/text/FileIo.h"
#include "support/TempDir.h"

using namespace kw;

namespace {

// The names in the folder, so that a file left beside the target is seen.
std::vector<std::string> namesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  return names;
}

}  // namespace

// Lines streamed into a file come out as saving writes them, however many stretches they take,
// and replace the old file only when the stream is finished.
TEST(LineStream, WritesTheLinesAsSavingDoes) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
  };
  std::vector<std::string> many;
  for (int k = 0; k < 300000; ++k) many.push_back("G01 X" + std::to_string(k) + ".2500 Y-" + std::to_string(k % 977) + " ");
  const std::vector<Case> cases = {
      {"none", {}},
      {"one", {"%"}},
      {"blank ones", {"", " ", "M30"}},
      {"several stretches", many},
      {"lines longer than a stretch", {"G01", std::string(5000, 'X'), std::string(3 << 20, 'Y'), "M30", std::string(9000, 'Z')}},
  };
  for (const Case& c : cases) {
    kwtest::TempDir dir;
    const std::string target = dir.write("out.nc", "old");
    {
      LineStream stream(target);
      EXPECT_TRUE(stream.empty()) << c.name;
      for (const std::string& line : c.lines) stream.add(line);
      EXPECT_EQ(stream.empty(), c.lines.empty()) << c.name;
      EXPECT_EQ(dir.read("out.nc"), "old") << c.name;
      std::string error;
      ASSERT_TRUE(stream.finish(&error)) << c.name << ": " << error;
    }
    const std::string written = dir.read("out.nc"), lines = joinCrLf(c.lines);
    EXPECT_TRUE(written == lines) << c.name << ": " << written.size() << " bytes for " << lines.size();
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"out.nc"}) << c.name;
  }
}

// A stream that is not finished (the conversion stopped) leaves the old file as it was and
// nothing beside it; one whose file cannot be made says why when it is finished.
TEST(LineStream, LeavesTheTargetAloneUnlessFinished) {
  kwtest::TempDir dir;
  const std::string target = dir.write("out.nc", "old");
  {
    LineStream stream(target);
    for (int k = 0; k < 200000; ++k) stream.add("G01 X1.0000 Y2.0000 ");
  }
  EXPECT_EQ(dir.read("out.nc"), "old");
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"out.nc"});

  LineStream nowhere(dir.file("nodir/out.nc"));
  nowhere.add("M30");
  std::string error;
  EXPECT_FALSE(nowhere.finish(&error));
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "nodir"));
}
