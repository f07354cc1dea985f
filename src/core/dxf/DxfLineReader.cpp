#include "core/dxf/DxfLineReader.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>

#include "core/text/FileIo.h"
#include "core/text/LenientInt.h"

namespace kw {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The first word of a value line: leading blanks skipped, up to the next blank.
std::string_view firstWord(std::string_view line) {
  std::size_t begin = 0;
  while (begin < line.size() && isBlank(line[begin])) ++begin;
  std::size_t end = begin;
  while (end < line.size() && !isBlank(line[end])) ++end;
  return line.substr(begin, end - begin);
}

}  // namespace

ValueParse parseDxfReal(std::string_view line, float& value) {
  double number = 0;
  const ValueParse result = readDecimal(firstWord(line), PointDigits::EitherSide, number);
  if (result != ValueParse::Number) return result;
  if (std::fabs(number) > FLT_MAX) return ValueParse::OutOfRange;
  value = static_cast<float>(number);
  return ValueParse::Number;
}

ValueParse parseDxfInt(std::string_view line, int& value) {
  const std::string_view word = firstWord(line);
  if (const std::optional<int> whole = strictInt(word)) {
    value = *whole;
    return ValueParse::Number;
  }
  float real = 0;
  const ValueParse result = parseDxfReal(word, real);
  if (result != ValueParse::Number) return result;
  if (real != std::trunc(real)) return ValueParse::NotANumber;
  if (real < static_cast<float>(INT_MIN) || real >= static_cast<float>(INT_MAX)) return ValueParse::OutOfRange;
  value = static_cast<int>(real);
  return ValueParse::Number;
}

DxfLineReader::DxfLineReader() = default;

DxfLineReader::~DxfLineReader() { close(); }

bool DxfLineReader::open(const std::string& path, std::string* error) {
  close();
  path_ = path;
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  if (std::fseek(file_, 0, SEEK_END) == 0) {
    fileSize_ = std::ftell(file_);
    if (fileSize_ < 0) fileSize_ = 0;
  }
  buffer_.resize(kBufferSize);
  rewind();
  const std::string_view start(buffer_.data(), end_);
  if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")) {
    close();
    if (error) *error = "the drawing is UTF-16 text; save it as a plain text DXF";
    return false;
  }
  return true;
}

void DxfLineReader::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  line_ = {};
}

void DxfLineReader::rewind() {
  if (file_) std::fseek(file_, 0, SEEK_SET);
  begin_ = end_ = 0;
  endOfFile_ = file_ == nullptr;
  line_ = {};
  lineNumber_ = 0;
  bytesRead_ = 0;
  percent_ = -1;
  if (!file_) return;
  // The line end is the one of the first block; a UTF-8 byte-order mark is not a byte of the
  // first line.
  refill();
  lineEnd_ = lineEndOf(std::string_view(buffer_.data(), end_));
  if (std::string_view(buffer_.data(), end_).starts_with("\xEF\xBB\xBF")) begin_ = 3;
}

void DxfLineReader::refill() {
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
  if (got == 0) {
    if (std::ferror(file_)) throw DxfReadError("Cannot read " + path_ + ": " + std::strerror(errno));
    endOfFile_ = true;
    return;
  }
  end_ += got;
  bytesRead_ += static_cast<long long>(got);
  if (onProgress && fileSize_ > 0) {
    const int percent = static_cast<int>(bytesRead_ * 100 / fileSize_);
    if (percent > percent_) {
      percent_ = percent;
      onProgress(percent > 100 ? 100 : percent);
    }
  }
}

void DxfLineReader::takeLine(const char* text, std::size_t length) {
  if (lineEnd_ == '\n' && length > 0 && text[length - 1] == '\r') --length;
  line_ = std::string_view(text, length > kDxfLineLimit ? kDxfLineLimit : length);
  ++lineNumber_;
}

void DxfLineReader::skipRestOfLine() {
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const void* lf = std::memchr(start, lineEnd_, end_ - begin_);
    if (lf) {
      begin_ += static_cast<const char*>(lf) - start + 1;
      return;
    }
    begin_ = end_;
    if (endOfFile_) return;
    refill();
    if (endOfFile_ && begin_ == end_) return;
  }
}

bool DxfLineReader::next() {
  if (!file_) return false;
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    if (const void* lf = std::memchr(start, lineEnd_, available)) {
      const std::size_t length = static_cast<const char*>(lf) - start;
      begin_ += length + 1;
      takeLine(start, length);
      return true;
    }
    if (available > kDxfLineLimit + 1) {
      // A line longer than the limit: keep its start, skip the rest up to its end.
      longLine_.assign(start, kDxfLineLimit);
      begin_ = end_;
      skipRestOfLine();
      line_ = longLine_;
      ++lineNumber_;
      return true;
    }
    if (endOfFile_) {
      line_ = {};
      if (available == 0) return false;
      begin_ = end_;
      takeLine(start, available);
      return true;
    }
    refill();
  }
}

void DxfLineReader::endedInsideEntity() const {
  throw DxfEndedInsideEntity("Unexpected end of file in " + path_ + " after line " + std::to_string(lineNumber_) +
                     ": the drawing ends inside an entity");
}

void DxfLineReader::valueError(ValueParse result) const {
  const std::string where = path_ + ", line " + std::to_string(lineNumber_) + ": \"" + std::string(line_) + "\"";
  if (result == ValueParse::OutOfRange) throw DxfReadError("Number out of range in " + where);
  throw DxfReadError("Invalid numeric input in " + where);
}

float DxfLineReader::readReal() {
  if (!next()) endedInsideEntity();
  float value = 0;
  const ValueParse result = parseDxfReal(line_, value);
  if (result != ValueParse::Number) valueError(result);
  return value;
}

int DxfLineReader::readInt() {
  if (!next()) endedInsideEntity();
  int value = 0;
  const ValueParse result = parseDxfInt(line_, value);
  if (result != ValueParse::Number) valueError(result);
  return value;
}

}  // namespace kw
