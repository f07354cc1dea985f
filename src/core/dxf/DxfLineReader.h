#pragma once
// The drawing as a stream of text lines, read through a large buffer: lines end at LF or
// CR LF, or at CR in a drawing without LF; a UTF-8 byte-order mark is skipped; every line is cut to its first 255 bytes (the rest of a longer line is skipped), and
// nothing but the buffer and the current line is held. Values are read from lines as the
// conversion needs them; a value that is not a number, a number out of range, a read error or
// a drawing that ends where a value must follow ends the conversion with a DxfReadError.
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/DecimalNumber.h"

namespace kw {

// Ends a conversion; what() is the message for the user.
class DxfReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The drawing ends where the conversion still looks for a group code of the entity.
class DxfEndedInsideEntity : public DxfReadError {
 public:
  using DxfReadError::DxfReadError;
};

inline constexpr std::size_t kDxfLineLimit = 255;

// The number at the start of a value line: blanks and tabs, then a decimal number ("1", "-2.5",
// ".5", "5.", "1e-3") that runs up to the next blank, tab or the end of the line; whatever
// follows that blank is ignored.
using ValueParse = NumberRead;
ValueParse parseDxfReal(std::string_view line, float& value);
// The same for whole numbers (decimal, "$" or "0x" hexadecimal, or a real with no fraction).
ValueParse parseDxfInt(std::string_view line, int& value);

class DxfLineReader {
 public:
  DxfLineReader();
  ~DxfLineReader();
  DxfLineReader(const DxfLineReader&) = delete;
  DxfLineReader& operator=(const DxfLineReader&) = delete;

  // Opens a file for reading from its first line; false with the system's reason.
  bool open(const std::string& path, std::string* error);
  void close();
  // Back to the first line.
  void rewind();

  // Reads the next line; false at the end of the file (the line is then empty).
  bool next();
  // The current line, valid until the next call of next().
  std::string_view line() const { return line_; }
  // Number of the current line, counted from 1.
  long lineNumber() const { return lineNumber_; }
  const std::string& path() const { return path_; }

  // Reads one line and takes its value; the end of the file or a line that is not a number
  // ends the conversion (DxfReadError).
  float readReal();
  int readInt();
  // Reads one line whose text does not matter (false at the end of the file).
  bool skipLine() { return next(); }

  // Ends the conversion: the drawing ends inside an entity.
  [[noreturn]] void endedInsideEntity() const;

  // Called with the part of the file read so far, in percent, whenever it grows.
  std::function<void(int)> onProgress;

 private:
  std::FILE* file_ = nullptr;
  std::string path_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // next unread byte
  std::size_t end_ = 0;    // end of the bytes in the buffer
  bool endOfFile_ = false;
  char lineEnd_ = '\n';
  std::string longLine_;  // the first 255 bytes of a line that did not fit the buffer
  std::string_view line_;
  long lineNumber_ = 0;
  long long fileSize_ = 0;
  long long bytesRead_ = 0;
  int percent_ = -1;

  void refill();
  void takeLine(const char* text, std::size_t length);
  void skipRestOfLine();
  [[noreturn]] void valueError(ValueParse result) const;
};

}  // namespace kw
