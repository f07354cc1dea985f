#include "core/dxf/DxfLineReader.h"

#include <cerrno>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

#include "core/text/LenientInt.h"

namespace kw {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

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
  const std::string_view word = firstWord(line);
  std::size_t p = 0;
  const std::size_t n = word.size();
  bool negative = false;
  if (p < n && (word[p] == '+' || word[p] == '-')) negative = word[p++] == '-';
  const std::size_t intStart = p;
  while (p < n && isDigit(word[p])) ++p;
  const std::size_t intEnd = p;
  std::size_t fracStart = p, fracEnd = p;
  if (p < n && word[p] == '.') {
    fracStart = ++p;
    while (p < n && isDigit(word[p])) ++p;
    fracEnd = p;
  }
  if (intEnd == intStart && fracEnd == fracStart) return ValueParse::NotANumber;
  long exponent = 0;
  if (p < n && (word[p] == 'e' || word[p] == 'E')) {
    ++p;
    bool expNegative = false;
    if (p < n && (word[p] == '+' || word[p] == '-')) expNegative = word[p++] == '-';
    const std::size_t expStart = p;
    for (; p < n && isDigit(word[p]); ++p)
      if (exponent < 100000) exponent = exponent * 10 + (word[p] - '0');
    if (p == expStart) return ValueParse::NotANumber;
    if (expNegative) exponent = -exponent;
  }
  if (p != n) return ValueParse::NotANumber;

  double magnitude = 0;
  const char* first = word.data() + intStart;
  const char* last = word.data() + n;
  const auto result = std::from_chars(first, last, magnitude, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large, or so small that it is zero: the order of the first significant digit tells.
    long order = 0;
    std::size_t q = intStart;
    while (q < intEnd && word[q] == '0') ++q;
    if (q < intEnd) {
      order = static_cast<long>(intEnd - q) - 1;
    } else {
      q = fracStart;
      while (q < fracEnd && word[q] == '0') ++q;
      order = -static_cast<long>(q - fracStart) - 1;
    }
    if (order + exponent >= 0) return ValueParse::OutOfRange;
    magnitude = 0;
  } else if (result.ec != std::errc() || result.ptr != last) {
    return ValueParse::NotANumber;
  }
  if (magnitude > FLT_MAX) return ValueParse::OutOfRange;
  value = static_cast<float>(negative ? -magnitude : magnitude);
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
  if (length > 0 && text[length - 1] == '\r') --length;
  line_ = std::string_view(text, length > kDxfLineLimit ? kDxfLineLimit : length);
  ++lineNumber_;
}

void DxfLineReader::skipRestOfLine() {
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const void* lf = std::memchr(start, '\n', end_ - begin_);
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
    if (const void* lf = std::memchr(start, '\n', available)) {
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
  throw DxfReadError("Unexpected end of file in " + path_ + " after line " + std::to_string(lineNumber_) +
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
