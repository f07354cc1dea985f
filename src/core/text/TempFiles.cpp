#include "core/text/TempFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/text/FileIo.h"
#include "core/ui/UiPort.h"

namespace kw {

namespace fs = std::filesystem;

void PassFiles::close() {
  if (input) std::fclose(input);
  if (output) std::fclose(output);
  input = output = nullptr;
}

TempFilesLock::TempFilesLock(const std::string& programFolder, UiPort& ui) {
  // The lock is on the folder itself, so the temporary files keep their names and no other
  // file is left behind. A folder that cannot be locked (some network folders) is used as is.
  fd_ = ::open(programFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
  if (errno == EWOULDBLOCK) {
    ui.showWaiting("Waiting for another Kerfwerk to finish with the temporary files in " + programFolder);
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
}

TempFilesLock::~TempFilesLock() {
  if (fd_ >= 0) ::close(fd_);
}

bool writeTempLines(const std::string& path, const std::vector<std::string>& lines, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  const std::string bytes = joinCrLf(lines);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int writeErrno = errno;
  const bool closed = std::fclose(file) == 0;
  if (written && closed) return true;
  if (error) *error = std::strerror(written ? errno : writeErrno);
  return false;
}

void DeleteMyFile(const std::string& programFolder, const std::string& name) { deleteInFolder(programFolder, name); }

bool SetupMyFile(const std::string& programFolder, UiPort& ui, PassFiles& files) {
  files.close();
  DeleteMyFile(programFolder, kDxf1File);
  const std::string input = programFolder + "/" + kDxf1File;
  std::error_code ec;
  fs::rename(findInFolder(programFolder, kNewFile), input, ec);
  if (ec) ui.message("Rename File problem ! ");
  files.input = std::fopen(input.c_str(), "rb");
  if (!files.input) {
    ui.message("Cannot open " + input + ": " + std::strerror(errno));
    return false;
  }
  const std::string output = programFolder + "/" + kNewFile;
  files.output = std::fopen(output.c_str(), "wb");
  if (!files.output) {
    ui.message("Cannot create " + output + ": " + std::strerror(errno));
    files.close();
    return false;
  }
  return true;
}

}  // namespace kw
