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

bool decodeTextBytes(std::string& bytes, std::string* error) {
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.erase(0, 3);
    return true;
  }
  const bool little = bytes.starts_with("\xFF\xFE"), big = bytes.starts_with("\xFE\xFF");
  if (!little && !big) return true;
  std::string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const unsigned char first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
    const unsigned code = little ? first | (second << 8) : (first << 8) | second;
    if (code > 0xFF) {
      if (error) *error = "the file is UTF-16 text with characters that do not fit one byte; save it as plain text";
      return false;
    }
    text += static_cast<char>(code);
  }
  bytes = std::move(text);
  return true;
}

char lineEndOf(std::string_view text) {
  if (text.find('\n') != std::string_view::npos) return '\n';
  return text.find('\r') != std::string_view::npos ? '\r' : '\n';
}

namespace {

// The line from `start` up to the line end at `found` (npos: the end of the text, a last line
// without line end); a CR just before an LF belongs to the line end.
std::string_view lineBefore(std::string_view data, std::size_t start, std::size_t found, char end) {
  std::size_t cut = found == std::string_view::npos ? data.size() : found;
  if (end == '\n' && found != std::string_view::npos && cut > start && data[cut - 1] == '\r') --cut;
  return data.substr(start, cut - start);
}

}  // namespace

void splitTextLines(std::string_view data, std::vector<std::string>& lines) {
  lines.clear();
  const char end = lineEndOf(data);
  std::size_t start = 0;
  while (start < data.size()) {
    const std::size_t found = data.find(end, start);
    lines.emplace_back(lineBefore(data, start, found, end));
    if (found == std::string_view::npos) break;
    start = found + 1;
  }
}

bool readTextLines(const std::string& path, std::vector<std::string>& lines, std::string* error) {
  lines.clear();
  std::string data;
  if (!readWholeFile(path, data, error) || !decodeTextBytes(data, error)) return false;
  splitTextLines(data, lines);
  return true;
}

namespace {

constexpr std::size_t kReadBlock = std::size_t{1} << 20;

}  // namespace

TextLineReader::~TextLineReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool TextLineReader::open(const std::string& path, std::string* error) {
  auto fail = [&](int err) {
    if (error) *error = systemReason(err);
    return false;
  };
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return fail(errno);
  struct stat st {};
  if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) return fail(EISDIR);
  auto failedRead = [&] {
    if (error) *error = error_;
    return false;
  };
  while (end_ < 3 && fill()) {
  }
  if (failed()) return failedRead();
  const std::string_view start(buffer_.data(), end_);
  if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")) {
    // Decoded as a whole: its characters become bytes.
    while (fill()) {
    }
    buffer_.resize(end_);
    if (failed()) return failedRead();
    if (!decodeTextBytes(buffer_, error)) return false;
    end_ = buffer_.size();
  } else if (start.starts_with("\xEF\xBB\xBF")) {
    begin_ = searched_ = 3;
  }
  // LF ends the lines when the file holds one anywhere; the first LF decides.
  for (;;) {
    const std::string_view held(buffer_.data() + searched_, end_ - searched_);
    if (held.find('\n') != std::string_view::npos) break;
    searched_ = end_;
    if (!fill()) {
      if (failed()) return failedRead();
      lineEnd_ = lineEndOf(std::string_view(buffer_.data() + begin_, end_ - begin_));
      break;
    }
  }
  searched_ = begin_;
  return true;
}

bool TextLineReader::fill() {
  if (endOfFile_ || fd_ < 0) return false;
  if (begin_ > 0 && begin_ == end_) {
    searched_ -= begin_;
    begin_ = end_ = 0;
  } else if (begin_ >= kReadBlock) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    searched_ -= begin_;
    begin_ = 0;
  }
  if (buffer_.size() - end_ < kReadBlock) buffer_.resize(std::max(buffer_.size() * 2, end_ + kReadBlock));
  for (;;) {
    const ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error_ = systemReason(errno);
    if (n <= 0) {
      endOfFile_ = true;
      ::close(fd_);
      fd_ = -1;
      return false;
    }
    end_ += static_cast<std::size_t>(n);
    return true;
  }
}

bool TextLineReader::next(std::string_view& line) {
  for (;;) {
    if (failed()) return false;
    const std::string_view held(buffer_.data(), end_);
    const std::size_t found = searched_ < end_ ? held.find(lineEnd_, searched_) : std::string_view::npos;
    if (found != std::string_view::npos || (endOfFile_ && begin_ < end_)) {
      line = lineBefore(held, begin_, found, lineEnd_);
      begin_ = searched_ = found == std::string_view::npos ? end_ : found + 1;
      return true;
    }
    if (endOfFile_) return false;
    searched_ = end_;
    fill();
  }
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

namespace {

constexpr std::size_t kSaveBlock = std::size_t{1} << 16;

bool failWith(int err, std::string* error) {
  if (error) *error = systemReason(err);
  return false;
}

}  // namespace

bool SafeSave::open(const std::string& path, std::string* error) {
  discard();
  error_ = 0;
  written_ = started_ = 0;
  target_ = path;
  struct stat linkStat {};
  char resolved[PATH_MAX];
  if (::lstat(path.c_str(), &linkStat) == 0 && S_ISLNK(linkStat.st_mode) && ::realpath(path.c_str(), resolved))
    target_ = resolved;
  struct stat targetStat {};
  replaces_ = ::stat(target_.c_str(), &targetStat) == 0;
  if (replaces_ && S_ISDIR(targetStat.st_mode)) return failWith(EISDIR, error);
  // The rename would replace a file the user has made read-only: it is refused as a write.
  if (replaces_ && (::access(target_.c_str(), W_OK) != 0 || (targetStat.st_mode & 0222) == 0))
    return failWith(EACCES, error);
  mode_ = targetStat.st_mode & 07777;
  // A device or pipe (a terminal, /dev/stdout) is written in place: there is no old file to keep.
  direct_ = replaces_ && !S_ISREG(targetStat.st_mode);
  if (direct_) {
    fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    return fd_ >= 0 || failWith(errno, error);
  }

  const std::size_t slash = target_.find_last_of('/');
  folder_ = slash == std::string::npos ? std::string(".") : target_.substr(0, slash + 1);
  const std::string prefix =
      (slash == std::string::npos ? std::string() : folder_) + "." + baseName(target_) + ".saving-";
  std::random_device entropy;
  for (int attempt = 0; attempt < 20 && fd_ < 0; ++attempt) {
    temp_ = prefix + std::to_string(entropy() % 1000000);
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    const int err = errno;
    temp_.clear();
    return failWith(err, error);
  }
  buffer_.reserve(kSaveBlock + 4096);
  return true;
}

void SafeSave::write(std::string_view bytes) {
  if (buffer_.empty() && bytes.size() >= kSaveBlock) {  // a block of its own, written without a copy
    writeOut(bytes);
    return;
  }
  buffer_.append(bytes);
  if (buffer_.size() >= kSaveBlock) flush();
}

void SafeSave::flush() {
  writeOut(buffer_);
  buffer_.clear();
}

void SafeSave::writeOut(std::string_view bytes) {
  if (error_ != 0) return;
  if (!writeAll(fd_, bytes)) {
    error_ = errno;
    return;
  }
  written_ += bytes.size();
#ifdef __linux__
  // A long file goes to the disk while the rest of it is made, so that the sync at the end
  // waits for less.
  constexpr std::size_t kStartWriting = std::size_t{8} << 20;
  if (!direct_ && written_ - started_ >= kStartWriting) {
    ::sync_file_range(fd_, static_cast<off_t>(started_), static_cast<off_t>(written_ - started_),
                      SYNC_FILE_RANGE_WRITE);
    started_ = written_;
  }
#endif
}

bool SafeSave::finish(std::string* error) {
  if (fd_ < 0) return failWith(error_ ? error_ : EBADF, error);
  flush();
  if (direct_) {
    if (::close(fd_) != 0 && error_ == 0) error_ = errno;
    fd_ = -1;
    return error_ == 0 || failWith(error_, error);
  }
  if (error_ == 0 && ::fsync(fd_) != 0) error_ = errno;
  if (error_ == 0 && replaces_) ::fchmod(fd_, static_cast<mode_t>(mode_));
  if (::close(fd_) != 0 && error_ == 0) error_ = errno;
  fd_ = -1;
  if (error_ == 0 && ::rename(temp_.c_str(), target_.c_str()) != 0) error_ = errno;
  if (error_ != 0) {
    const int err = error_;
    discard();
    return failWith(err, error);
  }
  temp_.clear();
  // The rename itself reaches the disk with the folder.
  const int folderFd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    ::fsync(folderFd);
    ::close(folderFd);
  }
  return true;
}

void SafeSave::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  buffer_.clear();
}

LineStream::~LineStream() {
  if (writing_.valid()) writing_.wait();
}

void LineStream::open() {
  opened_ = true;
  if (!save_.open(path_, &openError_) && openError_.empty()) openError_ = "the file could not be opened";
}

void LineStream::add(std::string_view line) {
  if (!opened_) open();
  if (!openError_.empty()) return;
  Stretch& stretch = stretches_[filling_];
  const std::size_t bytes = line.size() + 2;
  if (stretch.capacity - stretch.size < bytes) {
    // Room for a whole stretch and a long line more; a longer line makes room of its own.
    const std::size_t capacity = std::max(kStretch + 4096, stretch.size + bytes);
    auto room = std::make_unique_for_overwrite<char[]>(capacity);
    if (stretch.size > 0) std::memcpy(room.get(), stretch.bytes.get(), stretch.size);
    stretch.bytes = std::move(room);
    stretch.capacity = capacity;
  }
  char* at = stretch.bytes.get() + stretch.size;
  std::memcpy(at, line.data(), line.size());
  at[line.size()] = '\r';
  at[line.size() + 1] = '\n';
  stretch.size += bytes;
  if (stretch.size >= kStretch) handOver();
}

void LineStream::handOver() {
  if (writing_.valid()) writing_.get();  // the other stretch is written: it can be filled again
  const Stretch& full = stretches_[filling_];
  writing_ = std::async(std::launch::async, [this, &full] { save_.write(full.text()); });
  filling_ ^= 1;
  stretches_[filling_].size = 0;
}

bool LineStream::finish(std::string* error) {
  if (!opened_) open();
  if (!openError_.empty()) {
    if (error) *error = openError_;
    return false;
  }
  if (writing_.valid()) writing_.get();
  save_.write(stretches_[filling_].text());  // the last stretch, here: there is nothing left to make meanwhile
  return save_.finish(error);
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  SafeSave save;
  if (!save.open(path, error)) return false;
  save.write(bytes);
  return save.finish(error);
}

bool writeLinesAtomically(const std::string& path, const std::vector<std::string>& lines, std::string* error) {
  LineStream stream(path);
  for (const std::string& line : lines) stream.add(line);
  return stream.finish(error);
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
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
