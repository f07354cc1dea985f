#include "core/app/ProgramFolder.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <cstdlib>
#include <filesystem>

#include "core/app/BundledFiles.h"
#include "core/text/FileIo.h"

namespace kw {

namespace fs = std::filesystem;

namespace {

std::string executableFolder() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  buf[n] = '\0';
  return fs::path(buf).parent_path().string();
}

bool ensureFolder(const std::string& folder, std::string* error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder, ec)) {
    if (error) *error = "Cannot create the folder " + folder + ": " + (ec ? ec.message() : "Not a directory");
    return false;
  }
  // The profiles and the temporary files are looked up by listing the folder.
  if (::access(folder.c_str(), R_OK | X_OK) != 0) {
    if (error) *error = "Cannot use the program folder " + folder + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

std::string resolveProgramFolder(std::string* error) {
  if (const char* home = std::getenv("KERFWERK_HOME"); home && *home) {
    std::string folder = home;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return ensureFolder(folder, error) ? folder : std::string();
  }
  std::string exeDir = executableFolder();
  if (!exeDir.empty() && ::access(exeDir.c_str(), W_OK) == 0) return exeDir;
  std::string data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
    data = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home)
    data = std::string(home) + "/.local/share";
  else {
    if (error) *error = "Neither KERFWERK_HOME nor HOME is set, and the program's folder is not writable.";
    return {};
  }
  std::string folder = data + "/kerfwerk";
  return ensureFolder(folder, error) ? folder : std::string();
}

void seedProgramFolder(const std::string& folder) {
  seedProfiles(folder);
  seedHelp(folder);
}

void seedProfiles(const std::string& folder) {
  for (const auto& file : bundledProfiles()) {
    std::string path = folder + "/" + std::string(file.name);
    std::error_code ec;
    if (fs::exists(path, ec) || ec) continue;
    writeFileAtomically(path, file.bytes, nullptr);
  }
}

void seedHelp(const std::string& folder) {
  // The help page belongs to this version of the program: it is brought up to date.
  std::error_code ec;
  fs::create_directories(folder + "/help", ec);
  for (const auto& file : bundledHelp()) {
    std::string path = folder + "/help/" + std::string(file.name);
    std::string current;
    if (readWholeFile(path, current, nullptr) && current == file.bytes) continue;
    writeFileAtomically(path, file.bytes, nullptr);
  }
}

}  // namespace kw
