#pragma once
// File helpers for documents: whole-file reads split into lines, and saves that never
// destroy the old file when they fail.
#include <cstddef>
#include <future>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kw {

// Reads a whole file. On failure returns false, sets error to the system's reason and errorCode
// to the errno value (ENOENT for a missing file).
bool readWholeFile(const std::string& path, std::string& bytes, std::string* error, int* errorCode = nullptr);

// A file's bytes made text: a UTF-8 byte-order mark at the start is skipped; a UTF-16 file
// (with its byte-order mark) becomes one byte per character when every character fits a byte,
// and is refused (false, with the reason) when one does not. Other bytes are kept as they are.
bool decodeTextBytes(std::string& bytes, std::string* error);

// The line end of a text: LF when it holds one (a CR just before it belongs to the line end,
// any other CR is a byte of its line), else CR when it holds one (older controllers and
// editors end lines so), else LF.
char lineEndOf(std::string_view text);

// Splits text into lines at its line end (above). A final line without a line end counts; an
// empty text gives no lines.
void splitTextLines(std::string_view text, std::vector<std::string>& lines);

// Reads a text file into lines (decoded and split as above). On failure returns false and
// sets error to the reason.
bool readTextLines(const std::string& path, std::vector<std::string>& lines, std::string* error);

// A text file read line by line, decoded and split as readTextLines does, while only a block
// of it is held: for one pass over a program too large to keep as lines. A UTF-16 file, and
// one whose line end shows only late in it (no LF in its first blocks), is held until its
// line end is known, at most the whole file.
class TextLineReader {
 public:
  TextLineReader() = default;
  TextLineReader(const TextLineReader&) = delete;
  TextLineReader& operator=(const TextLineReader&) = delete;
  ~TextLineReader();

  // On failure returns false and sets error to the reason, as readTextLines does.
  bool open(const std::string& path, std::string* error);
  // The next line, valid until the next call; false after the last line, or when the file
  // could not be read on (then error() says why).
  bool next(std::string_view& line);
  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }

 private:
  // Reads one more block behind what is held, first dropping the lines already handed out;
  // false at the end of the file or on a read error.
  bool fill();
  int fd_ = -1;
  std::string buffer_;  // held bytes are [begin_, end_)
  std::size_t begin_ = 0, end_ = 0;
  std::size_t searched_ = 0;  // [begin_, searched_) holds no line end
  char lineEnd_ = '\n';
  bool endOfFile_ = false;
  std::string error_;
};

// The lines joined as the program saves them: every line ended by CR LF.
std::string joinCrLf(const std::vector<std::string>& lines);

// The one way the program writes a file: a new file beside the target, written in large
// blocks, flushed to disk and renamed over the target when it is complete, keeping the old
// file's permissions (a device or pipe is written in place). A link is followed, so the file it points at is replaced.
// A target the user may not write (read-only) is refused. The first failed write is remembered and reported by finish;
// until then, and whenever it fails, the old file is untouched.
class SafeSave {
 public:
  SafeSave() = default;
  SafeSave(const SafeSave&) = delete;
  SafeSave& operator=(const SafeSave&) = delete;
  ~SafeSave() { discard(); }

  bool open(const std::string& path, std::string* error);
  void write(std::string_view bytes);
  bool finish(std::string* error);
  // Drops the unfinished file; the target stays as it was.
  void discard();

 private:
  void flush();
  void writeOut(std::string_view bytes);
  std::string target_, folder_, temp_;
  std::size_t written_ = 0, started_ = 0;  // bytes written, and those sent to the disk
  bool replaces_ = false;
  bool direct_ = false;
  unsigned mode_ = 0;
  int fd_ = -1;
  int error_ = 0;
  std::string buffer_;
};

// Lines on their way into a file through SafeSave as saving writes a program, each with CR LF
// after it, added from one thread: they are put together a stretch at a time, and each stretch
// is written by a second thread while the next is put together, so that the file goes to the disk
// while the lines are still being made. The file is opened when the first line comes; what went
// wrong is told by finish, and until it succeeds the target stays as it was.
class LineStream {
 public:
  explicit LineStream(std::string path) : path_(std::move(path)) {}
  ~LineStream();  // waits for the stretch being written; an unfinished file is dropped
  LineStream(const LineStream&) = delete;
  LineStream& operator=(const LineStream&) = delete;

  void add(std::string_view line);
  // No line has come.
  bool empty() const { return !opened_; }
  // Writes what is left and saves the file (an empty one when no line came); false, with the
  // reason, when it could not be written.
  bool finish(std::string* error);

 private:
  static constexpr std::size_t kStretch = std::size_t{1} << 21;  // bytes put together before they are written
  void open();
  void handOver();
  std::string path_;
  SafeSave save_;
  bool opened_ = false;
  std::string openError_;  // why the file could not be opened, if it could not
  struct Stretch {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0, capacity = 0;
    std::string_view text() const { return {bytes.get(), size}; }
  };
  Stretch stretches_[2];
  int filling_ = 0;  // the stretch lines are added to; the other may be being written
  std::future<void> writing_;
};

// Writes bytes to path through SafeSave. On failure the old file is untouched and error says
// why.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error);

// Writes the lines to path as joinCrLf joins them, through a LineStream.
bool writeLinesAtomically(const std::string& path, const std::vector<std::string>& lines, std::string* error);

// True when both names reach the same existing file (through links or other spellings).
bool sameFile(const std::string& a, const std::string& b);

bool fileExists(const std::string& path);
// "C:/work/part.dxf" -> "part.dxf" (both slash kinds separate folders).
std::string baseName(std::string_view path);
// ".DXF" for "part.dxf"; "" when the name has no extension.
std::string upperExtension(std::string_view path);
// Names compared without regard to ASCII letter case.
bool sameIgnoringCase(std::string_view a, std::string_view b);
// The path of a file in a folder whose names match without regard to case: the exact name
// when it exists, else a file whose name differs only in case, else the exact name.
std::string findInFolder(const std::string& folder, const std::string& name);
// Deletes every regular file of the folder whose name matches without regard to case.
void deleteInFolder(const std::string& folder, const std::string& name);

// Cut to at most 255 bytes, the length of the program's short texts.
std::string cut255(std::string_view text);

}  // namespace kw
