#include "core/texttools/FileSplit.h"

#include "core/text/LenientInt.h"

namespace kw {

namespace {

constexpr std::string_view kPartEndWord = "M91";
constexpr int kLinesNeverCopied = 2;  // copying stops when the line index reaches last - 2

int wholeNumber(std::string text, int fallback) { return strictInt(text).value_or(fallback); }

}  // namespace

SplitSettings::SplitSettings(const Dialect& dialect)
    : linesPerPart(wholeNumber(dialect.rows[72], kDefaultSplitLines)),
      closingLine(dialect.row(LabelRow::Trans178)),
      fileEnd(dialect.row(LabelRow::FileEnd)) {
  std::string base = dialect.row(LabelRow::Trans123);
  std::erase(base, ' ');
  std::erase(base, ':');
  baseProgram = wholeNumber(base, kDefaultSplitProgram);
}

std::string splitRefusal(const SplitSettings& settings) {
  return "File is too samll to split Less than " + std::to_string(settings.linesPerPart) + " Lines";
}

std::optional<std::vector<std::vector<std::string>>> splitProgram(const std::vector<std::string>& lines,
                                                                  const SplitSettings& s) {
  const long long last = static_cast<long long>(lines.size()) - 1;
  if (last < s.linesPerPart) return std::nullopt;
  const long long stop = last - kLinesNeverCopied, size = static_cast<long long>(lines.size());
  std::vector<std::vector<std::string>> parts;
  long long i = 0;
  int part = 1;
  do {
    std::vector<std::string>& out = parts.emplace_back();
    if (part > 1) {
      out.push_back(s.fileEnd);
      out.push_back(":" + std::to_string(static_cast<long long>(s.baseProgram) + part - 1));
    }
    while (i < size) {
      const std::string& line = lines[static_cast<std::size_t>(i)];
      out.push_back(line);
      ++i;
      if (i >= stop) break;
      if (i >= static_cast<long long>(s.linesPerPart) * part && line.find(kPartEndWord) != std::string::npos) break;
    }
    out.push_back(s.closingLine);
    out.push_back(s.fileEnd);
    ++part;
  } while (i < stop && i < size);
  return parts;
}

std::string splitFileName(const std::string& programName, int part) {
  const std::size_t slash = programName.find_last_of("/\\");
  const std::size_t dot = programName.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return programName.substr(0, hasExtension ? dot : programName.size()) + "_" + std::to_string(part) + ".TXT";
}

}  // namespace kw
