// kerfwerk_read_lines FILE [--getline | --buffered]: reads FILE line by line and prints the
// number of lines and bytes. It is the floor of the whole-process timings in plot-speed.sh:
// what any program that looks at every line of the file pays at least, process start included.
//
//   --getline   (default) std::getline from a std::ifstream into one std::string, a trailing
//               CR removed: every line is materialised as a string, as a loader that keeps or
//               parses the text must do.
//   --buffered  read() into a 64 KiB buffer and split on LF with memchr, lines longer than
//               the buffer carried over: no copy of a line unless it straddles two reads.
//
// The checksum printed (sum of the first byte of every line) keeps the work observable.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

namespace {

struct Tally {
  unsigned long long lines = 0;
  unsigned long long bytes = 0;
  unsigned long long checksum = 0;

  void add(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lines;
    bytes += line.size();
    if (!line.empty()) checksum += static_cast<unsigned char>(line.front());
  }
};

bool readWithGetline(const char* path, Tally& tally) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) tally.add(line);
  return !in.bad();
}

bool readBuffered(const char* path, Tally& tally) {
  const int fd = ::open(path, O_RDONLY);
  if (fd < 0) return false;
  constexpr std::size_t kBuffer = 64 * 1024;
  static char buffer[kBuffer];
  std::string carry;  // the start of a line cut by the end of the buffer
  for (;;) {
    const ssize_t got = ::read(fd, buffer, kBuffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    if (got == 0) break;
    const char* p = buffer;
    const char* end = buffer + got;
    while (p < end) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      if (!nl) {
        carry.append(p, end);
        break;
      }
      if (carry.empty()) {
        tally.add(std::string_view(p, static_cast<std::size_t>(nl - p)));
      } else {
        carry.append(p, nl);
        tally.add(carry);
        carry.clear();
      }
      p = nl + 1;
    }
  }
  if (!carry.empty()) tally.add(carry);
  ::close(fd);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = nullptr;
  bool buffered = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--buffered") {
      buffered = true;
    } else if (arg == "--getline") {
      buffered = false;
    } else if (!path && !arg.starts_with("--")) {
      path = argv[i];
    } else {
      path = nullptr;
      break;
    }
  }
  if (!path) {
    std::fprintf(stderr, "usage: %s FILE [--getline | --buffered]\n", argv[0]);
    return 2;
  }
  Tally tally;
  if (!(buffered ? readBuffered(path, tally) : readWithGetline(path, tally))) {
    std::fprintf(stderr, "%s: %s\n", path, std::strerror(errno));
    return 1;
  }
  std::printf("%llu lines, %llu bytes, checksum %llu\n", tally.lines, tally.bytes, tally.checksum);
  return 0;
}
