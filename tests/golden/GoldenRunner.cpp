// Runs one golden case: kerfwerk_golden CASE_DIR WORK_DIR [INPUT_DIR...]
//
// A case folder holds
//   args       the command line, one argument a line
//   stdout     what the command prints (missing: nothing)
//   stderr     its messages (missing: nothing)
//   status     its exit status (missing: 0)
//   expected/  every file the command must leave behind, by its name in the work folder;
//              PNG images are compared pixel for pixel
//   absent     the files the command must not write, one name a line
// and the input files the command reads. The work folder gets a copy of the case (without
// expected/) and of each INPUT_DIR under its own name (shared/, examples/); home/ in it is
// the program folder.
//
// A PNG that differs leaves NAME.got.png (what was drawn) and NAME.diff.png (the differing
// pixels in red over a faded copy of the expected image) beside the expected one.
// KERFWERK_GOLDEN_UPDATE=1 writes what the command did into the case instead of comparing.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <QImage>

#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

std::string readOr(const fs::path& path, const std::string& fallback) {
  return fs::exists(path) ? kwtest::readFile(path.string()) : fallback;
}

void writeFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// The files under expected/, by their names in the work folder (images left by a failed
// comparison skipped).
std::vector<fs::path> expectedFiles(const fs::path& caseDir) {
  std::vector<fs::path> files;
  if (!fs::exists(caseDir / "expected")) return files;
  for (const auto& entry : fs::recursive_directory_iterator(caseDir / "expected")) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && !name.ends_with(".got.png") && !name.ends_with(".diff.png"))
      files.push_back(fs::relative(entry.path(), caseDir / "expected"));
  }
  return files;
}

// The first line where two texts differ, for the report.
std::string firstDifference(const std::string& want, const std::string& got) {
  std::istringstream a(want), b(got);
  std::string la, lb;
  for (int line = 1;; ++line) {
    const bool moreA = static_cast<bool>(std::getline(a, la));
    const bool moreB = static_cast<bool>(std::getline(b, lb));
    if (!moreA && !moreB) return "texts differ only in their last line end";
    if (la != lb || moreA != moreB)
      return "line " + std::to_string(line) + ":\n  want: " + (moreA ? la : "(end)") +
             "\n  got:  " + (moreB ? lb : "(end)");
  }
}

bool sameImage(const fs::path& want, const fs::path& got, std::string& why) {
  QImage a(QString::fromStdString(want.string()));
  QImage b(QString::fromStdString(got.string()));
  if (b.isNull()) {
    why = "not a readable image";
    return false;
  }
  a = a.convertToFormat(QImage::Format_ARGB32);
  b = b.convertToFormat(QImage::Format_ARGB32);
  const fs::path base = want.parent_path() / want.stem();
  if (a.size() != b.size()) {
    why = "image size " + std::to_string(b.width()) + "x" + std::to_string(b.height()) + " instead of " +
          std::to_string(a.width()) + "x" + std::to_string(a.height());
    b.save(QString::fromStdString(base.string() + ".got.png"));
    return false;
  }
  QImage diff(a.size(), QImage::Format_ARGB32);
  long long differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    const QRgb* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const QRgb* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    QRgb* pd = reinterpret_cast<QRgb*>(diff.scanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      if (pa[x] != pb[x]) {
        ++differing;
        pd[x] = qRgb(255, 0, 0);
      } else {
        const int grey = 191 + qGray(pa[x]) / 4;
        pd[x] = qRgb(grey, grey, grey);
      }
    }
  }
  if (differing == 0) return true;
  why = std::to_string(differing) + " pixels differ; see " + base.string() + ".got.png and .diff.png";
  b.save(QString::fromStdString(base.string() + ".got.png"));
  diff.save(QString::fromStdString(base.string() + ".diff.png"));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: kerfwerk_golden CASE_DIR WORK_DIR [INPUT_DIR...]\n");
    return 2;
  }
  const fs::path caseDir = argv[1], work = argv[2];
  const bool update = std::getenv("KERFWERK_GOLDEN_UPDATE") != nullptr;
  fs::remove_all(work);
  fs::create_directories(work);
  for (const auto& entry : fs::directory_iterator(caseDir)) {
    const std::string name = entry.path().filename().string();
    if (name == "expected" || name == "stdout" || name == "stderr" || name == "status" || name == "args" ||
        name == "absent")
      continue;
    fs::copy(entry.path(), work / name, fs::copy_options::recursive);
  }
  for (int i = 3; i < argc; ++i) {
    const fs::path input = argv[i];
    fs::copy(input, work / input.filename(), fs::copy_options::recursive);
  }

  std::vector<std::string> args;
  std::istringstream lines(kwtest::readFile((caseDir / "args").string()));
  for (std::string line; std::getline(lines, line);) args.push_back(line);
  const auto result = kwtest::runKerfwerk(args, work.string(), {{"KERFWERK_HOME", (work / "home").string()}});

  if (update) {
    writeFile(caseDir / "stdout", result.out);
    writeFile(caseDir / "stderr", result.err);
    if (result.status != 0) writeFile(caseDir / "status", std::to_string(result.status) + "\n");
    if (result.out.empty()) fs::remove(caseDir / "stdout");
    if (result.err.empty()) fs::remove(caseDir / "stderr");
    for (const fs::path& rel : expectedFiles(caseDir))
      if (fs::exists(work / rel))
        fs::copy_file(work / rel, caseDir / "expected" / rel, fs::copy_options::overwrite_existing);
    std::printf("updated %s (status %d)\n", caseDir.string().c_str(), result.status);
    return 0;
  }

  int failures = 0;
  auto check = [&](bool ok, const std::string& what) {
    if (ok) return;
    ++failures;
    std::printf("FAILED: %s\n", what.c_str());
  };
  const int wantStatus = std::atoi(readOr(caseDir / "status", "0").c_str());
  check(result.status == wantStatus,
        "exit status " + std::to_string(result.status) + " instead of " + std::to_string(wantStatus));
  const std::string wantOut = readOr(caseDir / "stdout", ""), wantErr = readOr(caseDir / "stderr", "");
  check(result.out == wantOut, "stdout, " + firstDifference(wantOut, result.out));
  check(result.err == wantErr, "stderr, " + firstDifference(wantErr, result.err));
  const std::vector<fs::path> files = expectedFiles(caseDir);
  for (const fs::path& rel : files) {
    const fs::path want = caseDir / "expected" / rel, got = work / rel;
    std::string why;  // empty while the file matches
    if (!fs::exists(got)) {
      why = " was not written";
    } else if (want.extension() == ".png") {
      if (!sameImage(want, got, why)) why = ": " + why;
    } else if (const std::string a = kwtest::readFile(want.string()), b = kwtest::readFile(got.string()); a != b) {
      why = ", " + firstDifference(a, b);
    }
    check(why.empty(), rel.string() + why);
  }
  std::istringstream absent(readOr(caseDir / "absent", ""));
  for (std::string name; std::getline(absent, name);) check(!fs::exists(work / name), name + " was written");
  std::printf("%s: %zu expected files, %s\n", caseDir.filename().string().c_str(), files.size(),
              failures ? "FAILED" : "passed");
  return failures ? 1 : 0;
}
