#include "core/geometry/Array.h"

#include <algorithm>
#include <optional>

#include "core/text/DecimalNumber.h"
#include "core/text/FixedText.h"

namespace kw {

namespace {

bool contains(const std::string& text, const std::string& word) {
  return !word.empty() && text.find(word) != std::string::npos;
}

bool vertical(ArrayDirection direction) {
  return direction == ArrayDirection::Up || direction == ArrayDirection::Down;
}

void endWithFileEnd(std::vector<std::string>& lines, const std::string& fileEnd) {
  if (fileEnd.empty()) return;
  if (lines.empty() || !contains(lines.back(), fileEnd)) lines.push_back(fileEnd);
}

// A program that ends with a tape mark (as "%" closes a punched tape) keeps it as its last line:
// where it stood it would end the program before the copies, and the machine would never cut
// them. The mark is taken off while the copies are made.
std::optional<std::string> takeClosingMark(std::vector<std::string>& lines, const Dialect& d) {
  if (lines.size() < 2 || !d.closesTape(lines.back())) return std::nullopt;
  std::string mark = std::move(lines.back());
  lines.pop_back();
  return mark;
}

void putBack(std::vector<std::string>& lines, std::optional<std::string>& mark) {
  if (mark) lines.push_back(std::move(*mark));
}

}  // namespace

int arrayQuantity(const std::string& text) {
  const std::optional<double> typed = typedNumber(text);
  if (!typed || *typed != static_cast<double>(static_cast<long long>(*typed))) return 1;
  return static_cast<int>(std::clamp(*typed, 1.0, static_cast<double>(kMaxArrayQuantity)));
}

double arrayBoxValue(const std::string& text, double otherwise) { return typedNumber(text).value_or(otherwise); }

std::string arrayNumber(double value) { return FixedText(value, 3, 10); }

std::string stepArrayBox(const std::string& text, double step, double otherwise) {
  return arrayNumber(arrayBoxValue(text, otherwise) + step);
}

bool arrayCopies(ArrayRun& run, ArrayValues& values, ArrayDirection direction) {
  std::vector<std::string>& lines = run.lines;
  const std::string& fileEnd = run.settings.dialect.row(LabelRow::FileEnd);
  std::optional<std::string> mark = takeClosingMark(lines, run.settings.dialect);
  const std::size_t programLines = lines.size();
  if (!values.keepUndoCount) values.undoCount = static_cast<int>(lines.size()) - 1;
  std::string& box = vertical(direction) ? values.verticalIncrement : values.horizontalIncrement;
  const int quantity = arrayQuantity(vertical(direction) ? values.verticalQty : values.horizontalQty);
  const double increment = arrayBoxValue(box, kDefaultIncrement);
  double total = increment;
  run.settings.arrayMode = true;
  for (int copy = 1; copy < quantity; ++copy) {
    std::string distance = box;  // the slide reads the distance as the plot window's edit would
    run.settings.distance = slideValue(distance);
    // Every copy is made from the program as it stood before the first one, however short.
    std::vector<std::string> program(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(programLines));
    const SlideEnd end = SLIDE2(program, static_cast<char>(direction), run.settings, {}, run.ui).end;
    std::move(program.begin(), program.begin() + static_cast<std::ptrdiff_t>(programLines), lines.begin());
    lines.insert(lines.end(), std::make_move_iterator(program.begin() + static_cast<std::ptrdiff_t>(programLines)),
                 std::make_move_iterator(program.end()));
    if (end != SlideEnd::Done) {
      putBack(lines, mark);
      return false;
    }
    total += increment;
    box = arrayNumber(total);
  }
  box = arrayNumber(increment);
  // A copy's end word would stop the machine before the copies after it.
  for (std::size_t index = programLines; index < lines.size(); ++index)
    if (contains(lines[index], fileEnd)) lines[index].clear();
  if (!values.gridInProgress) endWithFileEnd(lines, fileEnd);
  putBack(lines, mark);
  return true;
}

bool arrayGrid(ArrayRun& run, ArrayValues& values, ArrayDirection vertical, ArrayDirection horizontal) {
  std::optional<std::string> mark = takeClosingMark(run.lines, run.settings.dialect);
  const int startCount = static_cast<int>(run.lines.size()) - 1;
  values.gridInProgress = true;
  values.keepUndoCount = false;
  bool done = arrayCopies(run, values, vertical);
  values.keepUndoCount = true;
  if (done) done = arrayCopies(run, values, horizontal);
  values.gridInProgress = false;
  values.keepUndoCount = false;
  if (done) {
    endWithFileEnd(run.lines, run.settings.dialect.row(LabelRow::FileEnd));
    values.undoCount = startCount;
  }
  putBack(run.lines, mark);
  return done;
}

bool undoNest(std::vector<std::string>& lines, ArrayValues& values, const Dialect& dialect) {
  if (values.undoCount <= 0) return false;
  std::optional<std::string> mark = takeClosingMark(lines, dialect);
  if (lines.size() > static_cast<std::size_t>(values.undoCount)) lines.resize(static_cast<std::size_t>(values.undoCount));
  values.undoCount = 0;
  lines.push_back(dialect.row(LabelRow::FileEnd));
  putBack(lines, mark);
  return true;
}

void suggestIncrements(ArrayValues& values, double xExtent, double yExtent) {
  const double clearance = arrayBoxValue(values.clearance, kDefaultClearance);
  values.verticalIncrement = arrayNumber(xExtent + clearance);
  values.horizontalIncrement = arrayNumber(yExtent + clearance);
}

}  // namespace kw
