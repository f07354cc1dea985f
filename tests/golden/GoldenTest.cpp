// Whole commands checked against stored results. Each folder under tests/golden/ holds:
//   args      the command line, one argument a line (run in a copy of the folder)
//   expected  the bytes the command must write to the file named "out" in args
// and whatever input files and profiles the command reads. A new case is a new folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

TEST(Golden, EveryCaseWritesItsExpectedBytes) {
  const fs::path root = fs::path(KERFWERK_SOURCE_DIR) / "tests" / "golden";
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(root)) {
    if (!entry.is_directory()) continue;
    SCOPED_TRACE(entry.path().filename().string());
    ++cases;
    kwtest::TempDir work;
    fs::copy(entry.path(), work.path(), fs::copy_options::recursive);
    std::vector<std::string> args;
    std::istringstream lines(kwtest::readFile((entry.path() / "args").string()));
    for (std::string line; std::getline(lines, line);) args.push_back(line);
    auto result = kwtest::runKerfwerk(args, work.path().string(), {{"KERFWERK_HOME", work.file("home")}});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(work.read("out"), kwtest::readFile((entry.path() / "expected").string()));
  }
  EXPECT_GT(cases, 0);
}

}  // namespace
