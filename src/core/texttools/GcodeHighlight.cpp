#include "core/texttools/GcodeHighlight.h"

#include <cctype>

#include "core/text/BlockScanner.h"

namespace kw {

namespace {

bool isDigit(char ch) { return std::isdigit(static_cast<unsigned char>(ch)) != 0; }

// A one-letter row's letter, or nothing when the row is empty or longer.
void addLetter(std::string& letters, const std::string& row) {
  if (row.size() == 1) letters += row;
}

}  // namespace

HighlightWords::HighlightWords(const Dialect& dialect) {
  for (LabelRow row : {LabelRow::Trans127, LabelRow::Line, LabelRow::ArcCw, LabelRow::ArcCcw})
    if (std::string word = dialect.rowWithoutBlanks(row); !word.empty()) motion.push_back(word);
  cutOn = dialect.rowWithoutBlanks(LabelRow::BeginBlock);
  cutOff = dialect.rowWithoutBlanks(LabelRow::EndBlock);
  commentStart = dialect.row(LabelRow::Trans170);
  commentEnd = dialect.row(LabelRow::Trans171);
  lineNumber = dialect.n.size() == 1 ? dialect.n : "";
  for (const std::string* letter : {&dialect.x, &dialect.y, &dialect.z}) addLetter(axes, *letter);
  for (LabelRow row : {LabelRow::ALetter, LabelRow::BLetter, LabelRow::CLetter})
    addLetter(axes, dialect.rowWithoutBlanks(row));
  for (const std::string* letter : {&dialect.i, &dialect.j, &dialect.k, &dialect.r}) addLetter(centres, *letter);
}

std::vector<WordSpan> highlightLine(std::string_view line, const HighlightWords& words) {
  std::vector<WordSpan> spans;
  std::size_t at = 0;
  auto startsHere = [&](const std::string& text) { return !text.empty() && line.substr(at, text.size()) == text; };
  // The letter, then a sign and what follows up to a blank or a word terminator.
  auto letterWord = [&](std::size_t from) {
    std::size_t end = from + 1;
    if (end < line.size() && (line[end] == '-' || line[end] == '+')) ++end;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t' && !isWordTerminator(line[end])) ++end;
    return end;
  };
  while (at < line.size()) {
    if (startsHere(words.commentStart)) {
      std::size_t end = words.commentEnd.empty() ? std::string_view::npos
                                                 : line.find(words.commentEnd, at + words.commentStart.size());
      end = end == std::string_view::npos ? line.size() : end + words.commentEnd.size();
      spans.push_back({at, end - at, WordKind::Comment});
      at = end;
      continue;
    }
    bool found = false;
    const std::pair<const std::string*, WordKind> cuts[] = {{&words.cutOn, WordKind::CutOn},
                                                            {&words.cutOff, WordKind::CutOff}};
    for (const auto& [text, kind] : cuts) {
      if (startsHere(*text) && (at + text->size() >= line.size() || !isDigit(line[at + text->size()]))) {
        spans.push_back({at, text->size(), kind});
        at += text->size();
        found = true;
        break;
      }
    }
    if (found) continue;
    for (const std::string& word : words.motion) {
      if (startsHere(word) && (at + word.size() >= line.size() || !isDigit(line[at + word.size()]))) {
        spans.push_back({at, word.size(), WordKind::Motion});
        at += word.size();
        found = true;
        break;
      }
    }
    if (found) continue;
    const char ch = line[at];
    const bool number = at + 1 < line.size() && (isDigit(line[at + 1]) || line[at + 1] == '-' ||
                                                 line[at + 1] == '+' || line[at + 1] == '.');
    WordKind kind{};
    if (number && !words.lineNumber.empty() && ch == words.lineNumber[0])
      kind = WordKind::LineNumber;
    else if (number && words.axes.find(ch) != std::string::npos)
      kind = WordKind::Axis;
    else if (number && words.centres.find(ch) != std::string::npos)
      kind = WordKind::Centre;
    else {
      ++at;
      continue;
    }
    const std::size_t end = letterWord(at);
    spans.push_back({at, end - at, kind});
    at = end;
  }
  return spans;
}

}  // namespace kw
