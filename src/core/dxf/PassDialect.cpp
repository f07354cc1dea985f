#include "core/dxf/PassDialect.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/text/DecimalNumber.h"

namespace kw {

bool containsWord(std::string_view line, std::string_view word) {
  // A search without a call per candidate: the words asked for are a few bytes long.
  const std::size_t n = word.size();
  if (n == 0 || n > line.size()) return false;
  const char* at = line.data();
  const char* const last = line.data() + (line.size() - n);  // the last place the word can start
  while (at <= last) {
    at = static_cast<const char*>(std::memchr(at, word[0], static_cast<std::size_t>(last - at) + 1));
    if (!at) return false;
    std::size_t k = 1;
    while (k < n && at[k] == word[k]) ++k;
    if (k == n) return true;
    ++at;
  }
  return false;
}

bool containsEitherWord(std::string_view line, std::string_view a, std::string_view b) {
  if (a.empty() || b.empty() || a[0] != b[0]) return containsWord(line, a) || containsWord(line, b);
  const std::size_t shorter = std::min(a.size(), b.size());
  if (shorter > line.size()) return false;
  auto startsAt = [&](const char* at, std::string_view word) {
    if (static_cast<std::size_t>(line.data() + line.size() - at) < word.size()) return false;
    std::size_t k = 1;
    while (k < word.size() && at[k] == word[k]) ++k;
    return k == word.size();
  };
  const char* at = line.data();
  const char* const last = line.data() + (line.size() - shorter);  // the last place a word can start
  // A line of a word or two, as a G word, is gone through byte by byte; a longer one by memchr
  // from one candidate to the next.
  const bool bytewise = line.size() <= 8;
  for (; at <= last; ++at) {
    if (!bytewise) {
      at = static_cast<const char*>(std::memchr(at, a[0], static_cast<std::size_t>(last - at) + 1));
      if (!at) return false;
    }
    if (*at == a[0] && (startsAt(at, a) || startsAt(at, b))) return true;
  }
  return false;
}

BlockLetters writtenLetters(const Dialect& dialect) {
  BlockLetters letters = dialect.lettersWithoutBlanks();
  for (auto [letter, swapped] : {std::pair{&letters.x, &dialect.x},
                                 {&letters.y, &dialect.y},
                                 {&letters.z, &dialect.z},
                                 {&letters.i, &dialect.i},
                                 {&letters.j, &dialect.j},
                                 {&letters.k, &dialect.k}})
    *letter = StripChar('A', ' ', *swapped);
  return letters;
}

namespace {

// The value FindLetterValue reads for a letter followed by `number` and a blank, when `number`
// is a plain decimal number (no blank, no character that ends a word); nothing otherwise. Of
// what a decimal number may hold, only the exponent's "E" ends a word.
std::optional<float> plainNumber(std::string_view number) {
  float value = 0;
  if (readDecimal(number, PointDigits::BothSides, value) != NumberRead::Number ||
      number.find('E') != std::string_view::npos)
    return std::nullopt;
  return value;
}

}  // namespace

LinePointReader::LinePointReader(const MachineProfile& profile) : includeZ_(profile.flag("IncludeZCheckBox")) {
  const Dialect dialect(profile);
  written_ = writtenLetters(dialect);
  std::string letters;
  numbersTell_ = true;
  auto letter = [&](const std::string& written, const std::string& asTyped) {
    numbersTell_ = numbersTell_ && written.size() == 1 && written == asTyped && isWordTerminator(written[0]) &&
                   letters.find(written[0]) == std::string::npos;
    letters += written;
  };
  letter(written_.x, dialect.x);
  letter(written_.y, dialect.y);
  if (includeZ_) letter(written_.z, dialect.z);
  for (LabelRow row : {LabelRow::Line, LabelRow::ArcCw, LabelRow::ArcCcw}) {
    const std::string& word = dialect.row(row);
    numbersTell_ = numbersTell_ && word.find_first_of(letters) == std::string::npos;
    rowLength_ = std::max(rowLength_, word.size());
  }
}

OrderPoint LinePointReader::of(std::string_view line) const {
  OrderPoint p;
  p.x = FindLetterValue(written_.x, line).value;
  p.y = FindLetterValue(written_.y, line).value;
  if (includeZ_) p.z = FindLetterValue(written_.z, line).value;
  return p;
}

bool LinePointReader::numbersTell(bool zWritten, std::size_t length) const {
  // The words must stand within the length a block is read to: the row word, a blank, and each
  // letter with its number and a blank.
  return numbersTell_ && (zWritten || !includeZ_) && rowLength_ + length + 7 <= kMaxBlockLength;
}

std::optional<float> LinePointReader::zOf(std::string_view z) const {
  return includeZ_ ? plainNumber(z) : std::optional<float>(0.0f);
}

std::optional<OrderPoint> LinePointReader::ofNumbers(std::string_view x, std::string_view y, std::string_view z,
                                                     bool zWritten) const {
  if (!numbersTell(zWritten, x.size() + y.size() + z.size())) return std::nullopt;
  const std::optional<float> px = plainNumber(x), py = plainNumber(y), pz = zOf(z);
  if (!px || !py || !pz) return std::nullopt;
  return OrderPoint{*px, *py, *pz};
}

namespace {

bool numberCharacter(char c) { return static_cast<unsigned char>(c - '0') <= 9 || c == '-' || c == '.'; }

bool moveNumber(std::string_view number) {
  return !number.empty() && std::all_of(number.begin(), number.end(), numberCharacter);
}

}  // namespace

PlainMoveForm::PlainMoveForm(const Dialect& dialect, bool includeZ)
    : word_(dialect.row(LabelRow::Line)), x_(dialect.x), y_(dialect.y), z_(dialect.z), includeZ_(includeZ) {
  beforeX_ = word_ + ' ';
  beforeX_ += x_;
  beforeY_.push_back(' ');
  beforeY_ += y_;
  afterY_.push_back(' ');
  if (includeZ_) afterY_ += z_;
  write(example_, "0", "0", "0");
}

PlainMoveForm::PlainMoveForm(const MachineProfile& profile)
    : PlainMoveForm(Dialect(profile), profile.flag("IncludeZCheckBox")) {}

bool PlainMoveForm::plain(bool zWritten, std::string_view x, std::string_view y, std::string_view z) const {
  return zWritten == includeZ_ && moveNumber(x) && moveNumber(y) && (!includeZ_ || moveNumber(z));
}

std::optional<bool> PlainMoveForm::holdsEither(std::string_view a, std::string_view b) const {
  std::string letters = x_;
  letters += y_;
  if (includeZ_) letters += z_;
  bool holds = false;
  for (const std::string_view word : {a, b}) {
    if (word.empty()) continue;  // never found
    for (const char c : word)
      if (c == ' ' || letters.find(c) != std::string::npos) return std::nullopt;
    if (std::all_of(word.begin(), word.end(), numberCharacter)) return std::nullopt;
    holds = holds || containsWord(word_, word);
  }
  return holds;
}

PlainMoveForm::Words::Words(const PlainMoveForm& form, const PlainWordSplitter& splitter) {
  for (const std::string* text : {&form.word_, &form.x_, &form.y_, &form.z_})
    if (text->find_first_of(" \t") != std::string::npos) return;
  wordSize_ = form.word_.size();
  pieces_ = form.includeZ_ ? 3 : 2;
  letterSizes_[0] = form.x_.size();
  letterSizes_[1] = form.y_.size();
  letterSizes_[2] = form.z_.size();
  PlainWords example;
  std::string_view pieces[4];
  if (!splitter.split(form.example_, example) || !example.rest.empty() || !piecesOf(form.example_, pieces)) return;
  static constexpr std::string_view PlainWords::*kFields[] = {&PlainWords::g, &PlainWords::m, &PlainWords::n,
                                                               &PlainWords::x, &PlainWords::y, &PlainWords::z,
                                                               &PlainWords::r, &PlainWords::i, &PlainWords::j,
                                                               &PlainWords::k};
  // Each piece of the example must be one word of it, and each word one piece.
  int found = 0;
  auto fieldOf = [&](std::string_view piece) -> std::string_view PlainWords::* {
    for (const auto field : kFields)
      if ((example.*field).data() == piece.data() && (example.*field).size() == piece.size()) return ++found, field;
    return nullptr;
  };
  if (wordSize_ > 0 && !(word_ = fieldOf(pieces[0]))) return;
  for (int k = 0; k < pieces_; ++k)
    if (!(letters_[k] = fieldOf(pieces[k + 1]))) return;
  const int words = static_cast<int>(std::count_if(std::begin(kFields), std::end(kFields),
                                                   [&](auto field) { return !(example.*field).empty(); }));
  usable_ = found == words;
  inOrder_ = usable_ && wordSize_ > 0 && word_ == &PlainWords::g && letters_[0] == &PlainWords::x &&
             letters_[1] == &PlainWords::y && (pieces_ == 2 || letters_[2] == &PlainWords::z);
}

bool PlainMoveForm::Words::piecesOf(std::string_view move, std::string_view (&pieces)[4]) const {
  const char* const text = move.data();
  const std::size_t size = move.size();
  pieces[0] = {text, wordSize_};
  std::size_t at = wordSize_ + 1;
  for (int k = 0; k < pieces_; ++k) {
    // The last piece ends the line, before its blank when there is no Z; a number before it is
    // at least one character.
    std::size_t end = pieces_ == 2 ? size - 1 : size;
    if (k + 1 < pieces_) {
      end = at + letterSizes_[k] + 1;
      while (end < size && text[end] != ' ') ++end;
      if (end == size) return false;
    }
    if (end < at) return false;
    pieces[k + 1] = {text + at, end - at};
    at = end + 1;
  }
  return true;
}

bool PlainMoveForm::Words::split(std::string_view move, PlainWords& words) const {
  std::string_view pieces[4];
  if (!usable_ || move.size() > kMaxBlockLength || !piecesOf(move, pieces)) return false;
  words = PlainWords{};
  if (word_) words.*word_ = pieces[0];
  for (int k = 0; k < pieces_; ++k) words.*letters_[k] = pieces[k + 1];
  return true;
}

bool PlainMoveForm::Words::piecesInOrder(std::string_view move, std::string_view (&pieces)[4]) const {
  return inOrder_ && move.size() <= kMaxBlockLength && piecesOf(move, pieces);
}

bool isBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace kw
