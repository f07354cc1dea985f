#include "core/text/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

namespace kw {

namespace {

std::string systemReason(int err) { return std::strerror(err); }

bool writeAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool readWholeFile(const std::string& path, std::string& data, std::string* error, int* errorCode) {
  data.clear();
  auto fail = [&](int err) {
    if (error) *error = systemReason(err);
    if (errorCode) *errorCode = err;
    return false;
  };
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return fail(errno);
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return fail(EISDIR);
  }
  if (st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
  char chunk[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      return fail(err);
    }
    if (n == 0) break;
    data.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

bool readTextLines(const std::string& path, std::vector<std::string>& lines, std::string* error) {
  lines.clear();
  std::string data;
  if (!readWholeFile(path, data, error)) return false;

  size_t start = 0;
  while (start < data.size()) {
    size_t lf = data.find('\n', start);
    size_t end = lf == std::string::npos ? data.size() : lf;
    size_t stop = end;
    if (lf != std::string::npos && stop > start && data[stop - 1] == '\r') --stop;
    lines.emplace_back(data, start, stop - start);
    if (lf == std::string::npos) break;
    start = lf + 1;
  }
  return true;
}

std::string joinCrLf(const std::vector<std::string>& lines) {
  size_t total = 0;
  for (const auto& l : lines) total += l.size() + 2;
  std::string out;
  out.reserve(total);
  for (const auto& l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  // Follow a link so that the file it points at is replaced, not the link.
  std::string target = path;
  char resolved[PATH_MAX];
  struct stat lst {};
  if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode) && ::realpath(path.c_str(), resolved)) target = resolved;

  struct stat st {};
  bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    if (error) *error = systemReason(EISDIR);
    return false;
  }
  size_t slash = target.find_last_of('/');
  std::string dir = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
  std::string tmp;
  int fd = -1;
  std::random_device rd;
  for (int attempt = 0; attempt < 20 && fd < 0; ++attempt) {
    tmp = (slash == std::string::npos ? std::string() : dir) + "." + std::string(baseName(target)) + ".saving-" +
          std::to_string(rd() % 1000000);
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    if (error) *error = systemReason(errno);
    return false;
  }
  bool ok = writeAll(fd, bytes);
  int err = ok ? 0 : errno;
  if (ok && ::fsync(fd) != 0) {
    ok = false;
    err = errno;
  }
  if (ok && exists) ::fchmod(fd, st.st_mode & 07777);
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    if (error) *error = systemReason(err);
    return false;
  }
  // The rename itself reaches the disk with the folder.
  int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

bool fileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string baseName(std::string_view path) {
  size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string upperExtension(std::string_view path) {
  std::string name = baseName(path);
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return {};
  std::string ext = name.substr(dot);
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return ext;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return upper(x) == upper(y); });
}

std::string findInFolder(const std::string& folder, const std::string& name) {
  namespace fs = std::filesystem;
  const std::string exact = folder + "/" + name;
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact;
  // Names with a folder part ("help/kerfwerk.html") are looked for as given.
  if (name.find('/') != std::string::npos) return exact;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (sameIgnoringCase(entry.path().filename().string(), name)) return entry.path().string();
  return exact;
}

void deleteInFolder(const std::string& folder, const std::string& name) {
  namespace fs = std::filesystem;
  std::error_code ec;
  std::vector<fs::path> doomed;
  for (const auto& entry : fs::directory_iterator(folder.empty() ? "." : folder, ec))
    if (sameIgnoringCase(entry.path().filename().string(), name) && entry.is_regular_file(ec))
      doomed.push_back(entry.path());
  for (const fs::path& path : doomed) fs::remove(path, ec);
}

std::string cut255(std::string_view text) { return std::string(text.substr(0, 255)); }

}  // namespace kw
