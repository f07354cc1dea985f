// Duplicate removal: the last pass of a DXF conversion (RemoveDup2) and the editor's Compress
// and Super Compress (RemoveDup).
#include <algorithm>
#include <atomic>
#include <exception>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "core/dxf/CleanupPasses.h"
#include "core/dxf/PassDialect.h"
#include "core/profile/Dialect.h"
#include "core/text/BlockScanner.h"
#include "core/text/BothAtOnce.h"
#include "core/text/FileIo.h"
#include "core/texttools/LineOrder.h"

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

// Letters with which a line rebuilt in the order G M N X Y Z I J R K can stand in the line order
// N G M X Y Z I J K R unchanged: each a character that ends a number, X before Y.
bool lettersOrderable(const BlockLetters& letters) {
  for (const std::string* letter : {&letters.n, &letters.x, &letters.y, &letters.z, &letters.r, &letters.i,
                                    &letters.j, &letters.k})
    if (letter->size() != 1 || !isWordTerminator((*letter)[0])) return false;
  return static_cast<unsigned char>(letters.x[0]) <= static_cast<unsigned char>(letters.y[0]);
}

// The final pass, line by line. What it keeps of the line before (P) decides what becomes of
// the next line; a rule that has just kept a line stands the same whatever came before that
// line, which lets two rules work on the two halves of a program at once.
class FinalRule {
 public:
  explicit FinalRule(const MachineProfile& profile)
      : dialect_(profile),
        letters_(dialect_.lettersWithoutBlanks()),
        splitter_(letters_),
        arcCw_(dialect_.row(LabelRow::ArcCw)),
        arcCcw_(dialect_.row(LabelRow::ArcCcw)),
        rMode_(profile.flag("RCheckbox")),
        orderable_(lettersOrderable(letters_)),
        moveWords_(PlainMoveForm(dialect_, profile.flag("IncludeZCheckBox")), splitter_) {}

  // The line rebuilt, R or I J K as the profile wants and its words in the order G M N X Y Z I J
  // R K; blank when the line goes. The view lasts until the next line is taken. `plainMove`: the
  // line is marked as one.
  std::string_view take(std::string_view text, bool plainMove) {
    // (A start line that goes on from the end line before it shares that line's text.)
    if (!s_.previous.empty() && text.size() == s_.previousText.size() &&
        (text.data() == s_.previousText.data() || text == s_.previousText)) {
      // The same text as the line before, which was kept: it rebuilds into that very line, so
      // it goes (the start line of an element that goes on from a straight one).
      s_.previousIsArc = false;
      s_.previousPosition.clear();
      s_.previous.clear();
      return {};
    }
    s_.previousText = text;
    // The line rebuilt, its position, and its G word with its blank (the line's first word).
    std::string_view pieces[4];
    const bool bare = plainMove && moveWords_.piecesInOrder(text, pieces) ? rebuildInOrder(text, pieces)
                                                                           : rebuild(text, plainMove);
    const std::string_view g = std::string_view(line_).substr(0, gSize_);
    // A bare move to where the line before went, the start line that repeats the end of the
    // arc before it, or the line before once more.
    if (((bare || s_.previousIsArc) && position_ == s_.previousPosition) || sameWithoutBlanks(line_, s_.previous))
      line_.clear();

    if (line_.empty()) {
      s_.previousIsArc = false;
      s_.previousPosition.clear();
    } else {
      // The G words are few, and mostly the one of the line before.
      if (g != lastG_) {
        lastG_.assign(g);
        lastGIsArc_ = containsEitherWord(g, arcCw_, arcCcw_);
      }
      s_.previousIsArc = lastGIsArc_;
      s_.previousPosition.swap(position_);
    }
    s_.previous.swap(line_);  // the next line is rebuilt in the old room of this one
    return s_.previous;
  }

  // What the rule keeps of the line before: two rules that stand the same treat the next line
  // alike.
  struct Standing {
    std::string_view previousText;  // the line before as it came
    std::string previous;           // P: the line before, also when it was emptied
    bool previousIsArc = false;     // P's G word holds an arc word
    std::string previousPosition;   // P's X, Y and Z words without blanks
    bool operator==(const Standing&) const = default;
  };
  const Standing& standing() const { return s_; }
  // Whether the line last taken, when it was kept, stands as LineOrderer leaves it.
  bool inLineOrder() const { return inLineOrder_; }

 private:
  // A plain move whose words stand in their rebuilt order (`pieces`, PlainMoveForm::Words): the
  // line rebuilt is the move with a blank at its end. Whether the move is bare (never: it has its
  // Line word).
  bool rebuildInOrder(std::string_view text, const std::string_view (&pieces)[4]) {
    line_.clear();  // (clear and append: quicker than assign, which allows for overlaps)
    line_ += text;
    if (text.back() != ' ') line_ += ' ';
    position_.clear();
    position_ += pieces[1];
    position_ += pieces[2];
    position_ += pieces[3];
    inLineOrder_ = orderable_ && line_.size() <= kMaxBlockLength;
    gSize_ = pieces[0].size() + 1;
    return false;
  }

  // Any other line, its words found by the splitter (or by the form for a plain move).
  bool rebuild(std::string_view text, bool plainMove) {
    const bool plain = (plainMove && moveWords_.split(text, plain_)) || splitter_.split(text, plain_);
    if (!plain) {
      words_ = SplitBlockWords(text, letters_);
      plain_ = wordViews(words_);
    }
    if (rMode_)
      plain_.i = plain_.j = plain_.k = {};
    else
      plain_.r = {};
    line_.clear();
    appendWords(line_, {plain_.g, plain_.m, plain_.n, plain_.x, plain_.y, plain_.z, plain_.i, plain_.j, plain_.r,
                        plain_.k});
    line_ += plain_.rest;
    position_.clear();
    position_ += plain_.x;
    position_ += plain_.y;
    position_ += plain_.z;
    // The line rebuilt from a plain block, without an N word or a rest, stands in the word order
    // N G M X Y Z I J K R too: only one of R and K is kept, and every word after the first begins
    // with a letter that ends a number.
    inLineOrder_ = plain && orderable_ && plain_.n.empty() && plain_.rest.empty() && line_.size() <= kMaxBlockLength;
    gSize_ = plain_.g.empty() ? 0 : plain_.g.size() + 1;
    return plain_.g.empty() && plain_.m.empty() && plain_.z.empty() && plain_.i.empty() && plain_.j.empty() &&
           plain_.k.empty() && plain_.r.empty() && plain_.rest.empty();
  }

  const Dialect dialect_;
  const BlockLetters letters_;
  const PlainWordSplitter splitter_;
  const std::string& arcCw_;
  const std::string& arcCcw_;
  const bool rMode_;
  const bool orderable_;  // the letters let a rebuilt line stand in the line order (see take)
  const PlainMoveForm::Words moveWords_;  // how the plain moves split
  bool inLineOrder_ = false;
  std::size_t gSize_ = 0;  // the rebuilt line's G word with its blank
  Standing s_;
  std::string position_, line_;
  std::string lastG_;  // the last G word looked at, and whether it holds an arc word
  bool lastGIsArc_ = false;
  PlainWords plain_;
  BlockWords words_;
};

// What a rule keeps of part of a program: the lines, which share the texts of the program's lines
// that stay as they are, and the texts of the others, written apart (so that the pieces worked at
// once each write only their own); a kept line of a changed text stands empty until `finish`.
struct Kept {
  PassLines lines, changed;
  std::vector<std::size_t> changedAt;  // the line of each changed text

  explicit Kept(const PassLines& in) : lines(in.sharingTexts()) {}
  // The changed texts in their lines.
  void finish() {
    lines.takeTextsOf(changed);
    for (std::size_t k = 0; k < changedAt.size(); ++k) lines.setShared(changedAt[k], changed, k);
    changed.clear();
    changedAt.clear();
  }
};

// The lines [from, to) of `in` through `rule`, the kept ones added to `out` (and to `stream`, when
// it is given), through `order` when it is given.
void keepLines(const PassLines& in, std::size_t from, std::size_t to, FinalRule& rule, Kept& out, UiPort* progress,
               LineOrderer* order, LineStream* stream) {
  for (std::size_t index = from; index < to; ++index) {
    if (progress && index % kProgressEvery == 0)
      progress->showProgress(static_cast<int>(index), static_cast<int>(in.size()), true);
    const std::string_view text = in[index];
    const std::string_view kept = rule.take(text, in.plainMove(index));
    if (isBlank(kept)) continue;
    const std::string_view line = order && !rule.inLineOrder() ? order->ordered(kept) : kept;
    if (stream) stream->add(line);
    if (line == text) {
      out.lines.share(in, index);
    } else {
      out.changedAt.push_back(out.lines.size());
      out.changed.push_back(line);
      out.lines.emplace_back();
    }
  }
}

// Where the pieces of a long program start, the first at 0: each after the cut-on line of a path
// near its share of the program, which the rule keeps (in a converted program it is no move, and
// the cut-off line stands before it), so that a rule that starts afresh on that line stands as the
// one that comes to it from the start. One piece for a program too short to be worth sharing out.
std::vector<std::size_t> pieceStarts(const PassLines& in, const std::string& cutOn) {
  constexpr std::size_t kSharedFrom = 1 << 16, kPieces = 8;
  std::vector<std::size_t> starts = {0};
  if (in.size() < kSharedFrom || cutOn.empty()) return starts;
  for (std::size_t k = 1; k < kPieces; ++k) {
    const std::size_t to = std::min(in.size(), (k + 1) * in.size() / kPieces);
    for (std::size_t line = std::max(k * in.size() / kPieces, starts.back() + 1); line + 1 < to; ++line) {
      if (containsWord(in[line], cutOn) && !containsWord(in[line - 1], cutOn)) {
        starts.push_back(line + 1);
        break;
      }
    }
  }
  return starts;
}

// One piece of a long program as a rule that starts afresh on the line before it keeps it.
struct Piece {
  static constexpr int kWorking = 0, kDone = 1, kAbandoned = 2;
  std::size_t from = 0, to = 0;
  std::optional<FinalRule> rule;
  FinalRule::Standing junction;  // what the rule stood on when it began
  std::optional<Kept> kept;
  std::atomic<int> state{kWorking};
};

}  // namespace

PassLines RemoveDup2(PassLines in, DxfPassContext& context, const std::string* currentFileName, bool lineOrder,
                     LineStream* stream) {
  context.ui.setCaption(WindowId::Main, kRemoveDuplicatesCaption);
  const std::size_t total = in.size();
  FinalRule rule(context.profile);
  Kept out(in);
  out.lines.reserve(total);
  const BlockLetters letters = Dialect(context.profile).lettersWithoutBlanks();
  std::optional<LineOrderer> order;
  if (lineOrder) order.emplace(letters, false);
  LineOrderer* const ordering = order ? &*order : nullptr;
  const std::vector<std::size_t> starts = pieceStarts(in, Dialect(context.profile).row(LabelRow::BeginBlock));
  if (starts.size() == 1) {
    keepLines(in, 0, total, rule, out, &context.ui, ordering, stream);
  } else {
    // A long program is worked in pieces by two threads at once, each piece by a rule of its own
    // that starts on the line before it. The pieces are then taken in order: when the rule that
    // comes to a piece does not stand as the one that began it (rare: a cut-on line that also
    // moves, to where an arc before it ended), the piece is worked again by the rule that comes
    // to it. With a stream, a third thread takes each piece as soon as it and those before it
    // are done, and streams its lines, while the two work on.
    std::vector<Piece> pieces(starts.size());
    for (std::size_t k = 0; k < pieces.size(); ++k) {
      pieces[k].from = starts[k];
      pieces[k].to = k + 1 < starts.size() ? starts[k + 1] : total;
    }
    std::optional<LineOrderer> takerOrder, secondOrder;
    if (lineOrder) takerOrder.emplace(letters, false), secondOrder.emplace(letters, false);
    FinalRule* comes = &rule;  // the rule that has kept every piece taken so far
    auto take = [&] {
      for (Piece& piece : pieces) {
        piece.state.wait(Piece::kWorking, std::memory_order_acquire);
        if (piece.state.load(std::memory_order_acquire) == Piece::kAbandoned) return;
        if (!(comes->standing() == piece.junction)) {
          piece.kept.emplace(in);
          keepLines(in, piece.from, piece.to, *comes, *piece.kept, nullptr, takerOrder ? &*takerOrder : nullptr,
                    stream);
          continue;
        }
        comes = &*piece.rule;
        if (!stream) continue;
        const Kept& kept = *piece.kept;
        std::size_t changed = 0;
        for (std::size_t line = 0; line < kept.lines.size(); ++line) {
          const bool isChanged = changed < kept.changedAt.size() && kept.changedAt[changed] == line;
          stream->add(isChanged ? kept.changed[changed++] : kept.lines[line]);
        }
      }
    };
    // Each thread claims the next piece in turn.
    std::atomic<std::size_t> next{0};
    auto work = [&](LineOrderer* pieceOrder, UiPort* progress) {
      for (std::size_t k = next.fetch_add(1); k < pieces.size(); k = next.fetch_add(1)) {
        Piece& piece = pieces[k];
        if (progress) progress->showProgress(static_cast<int>(piece.from), static_cast<int>(total), true);
        piece.rule.emplace(context.profile);
        if (k > 0) piece.rule->take(in[piece.from - 1], in.plainMove(piece.from - 1));
        piece.junction = piece.rule->standing();
        piece.kept.emplace(in);
        piece.kept->lines.reserve(piece.to - piece.from);
        keepLines(in, piece.from, piece.to, *piece.rule, *piece.kept, nullptr, pieceOrder, nullptr);
        piece.state.store(Piece::kDone, std::memory_order_release);
        piece.state.notify_one();
      }
    };
    std::exception_ptr takeFailed;
    std::thread taker;
    if (stream) {
      taker = std::thread([&] {
        try {
          take();
        } catch (...) {
          takeFailed = std::current_exception();
        }
      });
    }
    try {
      bothAtOnce([&] { work(ordering, &context.ui); }, [&] { work(secondOrder ? &*secondOrder : nullptr, nullptr); });
    } catch (...) {
      for (Piece& piece : pieces) {
        int working = Piece::kWorking;
        piece.state.compare_exchange_strong(working, Piece::kAbandoned);
        piece.state.notify_one();
      }
      if (taker.joinable()) taker.join();
      throw;
    }
    if (taker.joinable())
      taker.join();
    else
      take();
    if (takeFailed) std::rethrow_exception(takeFailed);
    if (!stream) {
      for (Piece& piece : pieces) {
        piece.kept->finish();
        out.lines.append(std::move(piece.kept->lines));
      }
    }
  }
  out.finish();
  in.clear();
  context.ui.showProgress(static_cast<int>(total), static_cast<int>(total), true);
  if (currentFileName) context.ui.setCaption(WindowId::Main, *currentFileName);
  if (stream) out.lines.clear();
  return std::move(out.lines);
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
