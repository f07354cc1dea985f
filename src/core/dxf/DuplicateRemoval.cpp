// Duplicate removal: the last pass of a DXF conversion (RemoveDup2) and the editor's Compress
// and Super Compress (RemoveDup).
#include <utility>

#include "core/dxf/CleanupPasses.h"
#include "core/dxf/PassDialect.h"
#include "core/profile/Dialect.h"
#include "core/text/BlockScanner.h"

namespace kw {
namespace {

constexpr std::string_view kRemoveDuplicatesCaption = "Removing Duplicates";

void appendWithoutBlanks(std::string& out, std::string_view text) {
  for (char ch : text)
    if (ch != ' ') out.push_back(ch);
}
// The X, Y and Z words without blanks.
std::string positionOf(const BlockWords& w) {
  std::string position;
  appendWithoutBlanks(position, w.x);
  appendWithoutBlanks(position, w.y);
  appendWithoutBlanks(position, w.z);
  return position;
}
bool hasPosition(const BlockWords& w) { return !w.x.empty() || !w.y.empty() || !w.z.empty(); }
bool hasCentreOrRest(const BlockWords& w) {
  return !w.i.empty() || !w.j.empty() || !w.r.empty() || !w.k.empty() || !w.rest.empty();
}
// Equal once every blank is removed from both; nothing is copied.
bool sameWithoutBlanks(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  for (;;) {
    while (i < a.size() && a[i] == ' ') ++i;
    while (j < b.size() && b[j] == ' ') ++j;
    if (i == a.size() || j == b.size()) return i == a.size() && j == b.size();
    if (a[i++] != b[j++]) return false;
  }
}

// The editor's duplicate removal for one pair of neighbouring lines, `line` and `next`.
class NeighbourRule {
 public:
  NeighbourRule(const Dialect& dialect, bool super)
      : letters_(dialect.lettersWithoutBlanks()),
        arcCw_(dialect.row(LabelRow::ArcCw)),
        arcCcw_(dialect.row(LabelRow::ArcCcw)),
        super_(super) {}

  void apply(std::string& line, std::string& next) {
    const BlockWords w = SplitBlockWords(line, letters_);
    BlockWords n = SplitBlockWords(next, letters_);
    if (super_) {
      // A bare move to where the last bare move went goes.
      if (!hasCentreOrRest(w) && hasPosition(w)) lastPosition_ = w.x + w.y + w.z;
      if (!hasCentreOrRest(n) && hasPosition(n) && n.x + n.y + n.z == lastPosition_) {
        next.clear();
        n = BlockWords{};
      }
      // Modal coordinates: a word that repeats the line before is left out. The line number
      // stays the line's first word, where a control reads it (one after a G word is refused).
      if (w.x == n.x) {
        next = n.n + n.g + n.m + n.y + n.z + n.i + n.j + n.r + n.k + n.rest;
        n = SplitBlockWords(next, letters_);
      }
      if (w.y == n.y) {
        next = n.n + n.g + n.m + n.x + n.z + n.i + n.j + n.r + n.k + n.rest;
        n = SplitBlockWords(next, letters_);
      }
      if (w.z == n.z) {
        next = n.n + n.g + n.m + n.x + n.y + n.i + n.j + n.r + n.k + n.rest;
        n = SplitBlockWords(next, letters_);
      }
    }
    const std::string position = positionOf(w);
    const bool samePosition = position == positionOf(n);
    if (n.g.empty() && n.m.empty() && n.z.empty() && n.i.empty() && n.j.empty() && n.k.empty() && n.rest.empty() &&
        samePosition)
      next.clear();
    if ((containsWord(w.g, arcCw_) || containsWord(w.g, arcCcw_)) && n.i.empty() && n.j.empty() && n.k.empty() &&
        samePosition)
      next.clear();
    if (sameWithoutBlanks(line, next)) line.clear();
  }

 private:
  BlockLetters letters_;
  std::string arcCw_, arcCcw_;
  bool super_;
  std::string lastPosition_;
};

}  // namespace

std::vector<std::string> RemoveDup2(PassLines in, DxfPassContext& context, const std::string* currentFileName) {
  const MachineProfile& profile = context.profile;
  context.ui.setCaption(WindowId::Main, kRemoveDuplicatesCaption);
  const Dialect dialect(profile);
  const BlockLetters letters = dialect.lettersWithoutBlanks();
  const std::string& arcCw = dialect.row(LabelRow::ArcCw);
  const std::string& arcCcw = dialect.row(LabelRow::ArcCcw);
  const bool rMode = profile.flag("RCheckbox");

  const std::size_t total = in.size();
  std::vector<std::string> out;
  out.reserve(total);
  std::string_view previousText;  // the line before as it came
  std::string previous;           // P: the line before, also when it was emptied
  bool previousIsArc = false;     // P's G word holds an arc word
  std::string previousPosition;   // P's X, Y and Z words without blanks
  std::string position;
  std::string line;
  PlainWords plain;
  const PlainWordSplitter splitter(letters);
  BlockWords words;
  // The lines are let go of as they are read: the program grows as they go.
  in.consume([&](std::string_view text, std::size_t index) {
    if (index % kProgressEvery == 0) context.ui.showProgress(static_cast<int>(index), static_cast<int>(total), true);
    if (index > 0 && !previous.empty() && text == previousText) {
      // The same text as the line before, which was kept: it rebuilds into that very line, so
      // it goes (the start line of an element that goes on from a straight one).
      previousIsArc = false;
      previousPosition.clear();
      previous.clear();
      return;
    }
    previousText = text;
    // The line rebuilt, its position, and its G word with its blank (the line's first word).
    if (!splitter.split(text, plain)) {
      words = SplitBlockWords(text, letters);
      plain = wordViews(words);
    }
    if (rMode)
      plain.i = plain.j = plain.k = {};
    else
      plain.r = {};
    line.clear();
    appendWords(line, {plain.g, plain.m, plain.n, plain.x, plain.y, plain.z, plain.i, plain.j, plain.r, plain.k});
    line += plain.rest;
    position.assign(plain.x);
    position += plain.y;
    position += plain.z;
    const bool bare = plain.g.empty() && plain.m.empty() && plain.z.empty() && plain.i.empty() && plain.j.empty() &&
                      plain.k.empty() && plain.r.empty() && plain.rest.empty();
    const std::string_view g = std::string_view(line).substr(0, plain.g.empty() ? 0 : plain.g.size() + 1);
    // A bare move to where the line before went, the start line that repeats the end of the
    // arc before it, or the line before once more.
    if (((bare || previousIsArc) && position == previousPosition) || sameWithoutBlanks(line, previous)) line.clear();

    if (line.empty()) {
      previousIsArc = false;
      previousPosition.clear();
    } else {
      previousIsArc = containsWord(g, arcCw) || containsWord(g, arcCcw);
      previousPosition.swap(position);
    }
    previous.swap(line);  // the next line is rebuilt in the old room of this one
    if (!isBlank(previous)) out.emplace_back(previous);
  });
  context.ui.showProgress(static_cast<int>(total), static_cast<int>(total), true);
  if (currentFileName) context.ui.setCaption(WindowId::Main, *currentFileName);
  return out;
}

bool RemoveDup(std::vector<std::string>& program, int mode, DxfPassContext& context) {
  const Dialect dialect(context.profile);
  const bool incremental = !program.empty() && containsWord(program.front(), dialect.row(LabelRow::Incremental));
  NeighbourRule rule(dialect, mode == 1);

  // The lines are taken one by one as `line`, with the line after it as `next` (empty after the
  // last line; it is never written). A line that ends up blank is deleted. When the very first
  // line is deleted, the line after it stays as it is and the work goes on with the line after
  // that.
  const std::size_t count = program.size();
  std::vector<std::string> out;
  out.reserve(count);
  if (count > 0) {
    std::string line = std::move(program[0]);
    std::size_t nextIndex = 1;
    bool first = true;
    while (true) {
      if ((nextIndex - 1) % kProgressEvery == 0)
        context.ui.showProgress(static_cast<int>(nextIndex), static_cast<int>(count), true);
      const bool hasNext = nextIndex < count;
      std::string next = hasNext ? std::move(program[nextIndex]) : std::string();
      rule.apply(line, next);
      const bool deleted = isBlank(line);
      if (!deleted) out.push_back(std::move(line));
      if (deleted && first) {
        if (!hasNext) break;
        out.push_back(std::move(next));
        if (++nextIndex >= count) break;
        line = std::move(program[nextIndex]);
        ++nextIndex;
        first = false;
        continue;
      }
      first = false;
      if (!hasNext) break;
      line = std::move(next);
      ++nextIndex;
    }
  }
  program = std::move(out);
  context.ui.showProgress(static_cast<int>(program.size()), static_cast<int>(program.size()), true);
  return incremental;
}

bool Compress(std::vector<std::string>& program, DxfPassContext& context) { return RemoveDup(program, 0, context); }

bool SuperCompress(std::vector<std::string>& program, DxfPassContext& context) {
  const Dialect dialect(context.profile);
  const std::string& incremental = dialect.row(LabelRow::Incremental);
  for (const std::string& line : program) {
    if (containsWord(line, incremental)) {
      context.ui.message(kIncrementalRefusal);
      context.ui.setBusy(false);
      return false;
    }
  }
  RemoveDup(program, 1, context);
  return true;
}

}  // namespace kw
