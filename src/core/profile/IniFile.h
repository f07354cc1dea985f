#pragma once
// A file in the INI layout, held as its lines: "[Section]" lines open sections, "key=value"
// lines hold values, every other line is kept as it is. Section and key names match without
// regard to letter case (ASCII); the value is the bytes after the first '='.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

class IniFile {
 public:
  // Reads the file. A file that does not exist gives an empty INI and true; a file that
  // exists but cannot be read gives an empty INI, false and the system's reason in *error.
  bool load(const std::string& path, std::string* error);
  // The lines of a file's bytes (a byte-order mark skipped), ended by CR LF, LF or CR.
  static IniFile fromText(std::string_view bytes);

  // The value of the first key of that name in a section of that name (key names are
  // compared without their surrounding blanks), or nothing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  std::string readString(std::string_view section, std::string_view key, std::string_view def) const;
  // The value read as a whole integer; def when the key is missing or not an integer.
  int readInteger(std::string_view section, std::string_view key, int def) const;
  // Non-zero integer = true; def when the key is missing or not an integer.
  bool readBool(std::string_view section, std::string_view key, bool def) const;

  // Replaces the value of an existing key in place (the key keeps its spelling); a new key
  // goes after the last key line of its section, a new section at the end of the file. A
  // value cannot hold a line break: it is cut at the first CR or LF.
  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInteger(std::string_view section, std::string_view key, int value);
  void writeBool(std::string_view section, std::string_view key, bool value);  // "1" / "0"

  // The file's bytes, every line ended the way the file read was (CR LF for a new file).
  std::string text() const;
  // Writes text() to a temporary file in the target's folder, flushes it to disk and renames
  // it over the target, so a failure leaves the old file as it was. On failure *error is
  // "Unable to write to <path>: <system's reason>".
  bool save(const std::string& path, std::string* error) const;

  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;  // without their line ends
  bool crlf_ = true;
  std::size_t findKey(std::string_view section, std::string_view key) const;
};

}  // namespace kw
