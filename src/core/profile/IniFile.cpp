#include "core/profile/IniFile.h"

#include <cerrno>

#include "core/text/FileIo.h"
#include "core/text/LenientInt.h"

namespace kw {

namespace {

constexpr std::size_t kNone = std::string::npos;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The name of a "[Section]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
  const std::string_view t = trimmed(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  const std::size_t close = t.find(']');
  if (close == kNone) return std::nullopt;
  return trimmed(t.substr(1, close - 1));
}

// Index of the '=' of a key line, kNone for a line that holds no key.
std::size_t equalsOf(std::string_view line) {
  if (sectionName(line)) return kNone;
  return line.find('=');
}

bool isBlankLine(std::string_view line) { return trimmed(line).empty(); }

}  // namespace

bool IniFile::load(const std::string& path, std::string* error) {
  *this = IniFile();
  std::string bytes;
  int code = 0;
  if (!readWholeFile(path, bytes, error, &code)) return code == ENOENT;
  if (!decodeTextBytes(bytes, error)) return false;
  *this = fromText(bytes);
  return true;
}

IniFile IniFile::fromText(std::string_view bytes) {
  IniFile ini;
  std::string text(bytes);
  // A mark that cannot be decoded stays in the text: its first line then names no section.
  decodeTextBytes(text, nullptr);
  const std::size_t lf = text.find('\n');
  if (lf != kNone) ini.crlf_ = lf > 0 && text[lf - 1] == '\r';
  splitTextLines(text, ini.lines_);
  return ini;
}

std::size_t IniFile::findKey(std::string_view section, std::string_view key) const {
  bool inSection = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    if (auto name = sectionName(line)) {
      inSection = sameIgnoringCase(*name, section);
      continue;
    }
    if (!inSection) continue;
    const std::size_t eq = line.find('=');
    if (eq != kNone && sameIgnoringCase(trimmed(std::string_view(line).substr(0, eq)), key)) return i;
  }
  return kNone;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  const std::size_t i = findKey(section, key);
  if (i == kNone) return std::nullopt;
  std::string v = lines_[i].substr(lines_[i].find('=') + 1);
  if (!v.empty() && v.back() == '\r') v.pop_back();
  return v;
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view def) const {
  auto v = value(section, key);
  return v ? std::move(*v) : std::string(def);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int def) const {
  auto v = value(section, key);
  if (!v) return def;
  return strictInt(*v).value_or(def);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool def) const {
  auto v = value(section, key);
  if (!v) return def;
  auto n = strictInt(*v);
  return n ? *n != 0 : def;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  value = value.substr(0, value.find_first_of("\r\n"));
  const std::size_t existing = findKey(section, key);
  if (existing != kNone) {
    std::string& line = lines_[existing];
    line.resize(line.find('=') + 1);
    line.append(value);
    return;
  }
  std::string newLine = std::string(key) + "=" + std::string(value);
  // After the last key line of the first section of that name (or after its header).
  std::size_t insertAt = kNone;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (auto name = sectionName(lines_[i])) {
      if (insertAt != kNone) break;
      if (sameIgnoringCase(*name, section)) insertAt = i + 1;
    } else if (insertAt != kNone && equalsOf(lines_[i]) != kNone) {
      insertAt = i + 1;
    }
  }
  if (insertAt != kNone) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(newLine));
    return;
  }
  if (!lines_.empty() && !isBlankLine(lines_.back())) lines_.emplace_back();
  lines_.push_back("[" + std::string(section) + "]");
  lines_.push_back(std::move(newLine));
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

std::string IniFile::text() const {
  const std::string_view eol = crlf_ ? "\r\n" : "\n";
  std::string out;
  std::size_t size = 0;
  for (const auto& line : lines_) size += line.size() + eol.size();
  out.reserve(size);
  for (const auto& line : lines_) {
    out += line;
    out += eol;
  }
  return out;
}

bool IniFile::save(const std::string& path, std::string* error) const {
  std::string reason;
  if (writeFileAtomically(path, text(), &reason)) return true;
  if (error) *error = "Unable to write to " + path + ": " + reason;
  return false;
}

}  // namespace kw
