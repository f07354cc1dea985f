// The clean-up passes that keep the program's pairs of lines: collinear straight elements
// merged (CrunchLines), arc centres made incremental (CONVERTBRIDGEPORT2), and the opening,
// closing, plane and EditLine lines added (AddPlaneCodes2).
#include "core/dxf/CleanupPasses.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "core/dxf/PassDialect.h"
#include "core/profile/Dialect.h"
#include "core/profile/SettingNumbers.h"
#include "core/text/ArcGeometry.h"
#include "core/text/BlockScanner.h"
#include "core/text/BothAtOnce.h"
#include "core/text/FileIo.h"
#include "core/text/FixedText.h"

namespace kw {
namespace {

constexpr std::string_view kCrunchCaption = "Crunching Lines";
constexpr std::string_view kConvertCaption = "Converting I J";
constexpr std::string_view kPlaneCaption = "Adding Plane Codes";
constexpr float kDefaultVectorError = 0.5f;  // degrees
constexpr int kConverterPrecision = 7;
constexpr std::size_t kHalvedFrom = 1 << 16;  // lines from which a pass shares its work out

// The pairs of a pass's input; a last line without a partner forms a pair of its own.
struct Pairs {
  const PassLines& lines;
  std::size_t count() const { return (lines.size() + 1) / 2; }
  std::string_view first(std::size_t pair) const { return lines[2 * pair]; }
  bool hasSecond(std::size_t pair) const { return 2 * pair + 1 < lines.size(); }
  std::string_view second(std::size_t pair) const { return hasSecond(pair) ? lines[2 * pair + 1] : std::string_view(); }
  void writeFirst(std::size_t pair, PassLines& out) const { out.share(lines, 2 * pair); }
  void writeSecond(std::size_t pair, PassLines& out) const {
    if (hasSecond(pair)) out.share(lines, 2 * pair + 1);
  }
  void write(std::size_t pair, PassLines& out) const {
    writeFirst(pair, out);
    writeSecond(pair, out);
  }
};

void reportPairs(UiPort& ui, std::size_t pair, const PassLines& in) {
  if (pair % kProgressEvery == 0) ui.showProgress(static_cast<int>(2 * pair), static_cast<int>(in.size()), true);
}

// ---------------------------------------------------------------- CrunchLines

// What CrunchLines needs to know about a pair.
struct PairShape {
  bool startMoves = false;          // the first line moves somewhere (X and Y words)
  bool element = false;             // both lines move somewhere
  bool endComplete = false;         // the second line has X and Y (and Z when "Z Included") words
  double direction[3] = {0, 0, 0};  // in the XY, XZ and YZ planes, 0 to 2 pi
};

double normalised(float angle) {
  double a = angle;
  if (a < 0) a += kTwoPi;
  return a;
}

PairShape shapeOf(std::string_view l1, std::string_view l2, const BlockLetters& letters, bool includeZ) {
  const LetterValue x1 = FindLetterValue(letters.x, l1), y1 = FindLetterValue(letters.y, l1);
  const LetterValue z1 = FindLetterValue(letters.z, l1);
  const LetterValue x2 = FindLetterValue(letters.x, l2), y2 = FindLetterValue(letters.y, l2);
  const LetterValue z2 = FindLetterValue(letters.z, l2);
  PairShape s;
  s.startMoves = x1.found && y1.found;
  s.element = s.startMoves && x2.found && y2.found;
  s.endComplete = x2.found && y2.found && (!includeZ || z2.found);
  s.direction[0] = normalised(angleOfPoint(x2.value, y2.value, x1.value, y1.value));
  s.direction[1] = normalised(angleOfPoint(x2.value, z2.value, x1.value, z1.value));
  s.direction[2] = normalised(angleOfPoint(y2.value, z2.value, y1.value, z1.value));
  return s;
}

// An element whose second line is a straight move: no arc word, no centre or radius word.
bool isStraight(const PairShape& shape, std::string_view l2, const BlockLetters& letters, const std::string& arcCw,
                const std::string& arcCcw) {
  return shape.element && !containsWord(l2, arcCw) && !containsWord(l2, arcCcw) &&
         !FindLetterValue(letters.i, l2).found && !FindLetterValue(letters.j, l2).found &&
         !FindLetterValue(letters.k, l2).found && !FindLetterValue(letters.r, l2).found;
}

bool sameDirection(const PairShape& a, const PairShape& b, double tolerance) {
  for (int plane = 0; plane < 3; ++plane)
    if (!(std::fabs(a.direction[plane] - b.direction[plane]) < tolerance)) return false;
  return true;
}

// ---------------------------------------------------------------- CONVERTBRIDGEPORT2

struct ArcFormat {
  std::string arcCw, arcCcw;
  std::string x, y, z, i, j, k, r;
  int decimals = kDefaultDecimalPlaces;
  bool includeZ = false, rMode = false;

  explicit ArcFormat(const MachineProfile& profile) {
    const Dialect dialect(profile);
    const BlockLetters letters = writtenLetters(dialect);
    arcCw = dialect.row(LabelRow::ArcCw);
    arcCcw = dialect.row(LabelRow::ArcCcw);
    x = letters.x;
    y = letters.y;
    z = letters.z;
    i = letters.i;
    j = letters.j;
    k = letters.k;
    r = letters.r;
    decimals = decimalPlaces(profile);
    includeZ = profile.flag("IncludeZCheckBox");
    rMode = profile.flag("RCheckbox");
  }

  std::string line(const ArcWords& w, const std::string& extra, LabelRow row) const {
    std::string out = row == LabelRow::ArcCw ? arcCw : arcCcw;
    auto field = [&](bool present, const std::string& letter, float value) {
      out += ' ';
      if (!present) return;
      out += letter;
      out += writableFixedText(value, decimals, kConverterPrecision);
    };
    field(true, x, w.x);
    field(true, y, w.y);
    field(includeZ, z, w.z);
    field(w.hasI, i, w.i);
    field(w.hasJ, j, w.j);
    field(w.hasK, k, w.k);
    field(w.hasR && rMode, r, w.r);
    out += ' ';
    out += extra;
    return out;
  }
};

// ---------------------------------------------------------------- AddPlaneCodes2

bool isRegularFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// The file an opening or closing row names, if it exists.
std::optional<std::string> namedFile(const std::string& text, const std::string& programFolder) {
  const std::filesystem::path name(text);
  if (name.is_absolute()) return isRegularFile(name) ? std::optional<std::string>(text) : std::nullopt;
  if (!programFolder.empty()) {
    const std::filesystem::path inFolder = std::filesystem::path(programFolder) / name;
    if (isRegularFile(inFolder)) return inFolder.string();
  }
  if (isRegularFile(name)) return text;
  return std::nullopt;
}

// One opening or closing row: a blank line for an empty text, the lines of the file it names,
// or the text itself.
void writeRow(const std::string& text, DxfPassContext& context, PassLines& out) {
  if (text.empty()) {
    out.push_back(" ");
    return;
  }
  if (const std::optional<std::string> file = namedFile(text, context.programFolder)) {
    std::string error;
    if (insertfile(*file, out, &error)) return;
    context.ui.message("Cannot read " + *file + ": " + error);
  }
  out.push_back(text);
}

}  // namespace

PassLines CrunchLines(PassLines in, DxfPassContext& context) {
  const MachineProfile& profile = context.profile;
  context.ui.setCaption(WindowId::Main, kCrunchCaption);
  const double tolerance = settingNumber(profile, "VectorErr", kDefaultVectorError) * (kPi / 180.0);
  const Dialect dialect(profile);
  const BlockLetters letters = dialect.lettersWithoutBlanks();
  const bool includeZ = profile.flag("IncludeZCheckBox");
  const std::string& arcCw = dialect.row(LabelRow::ArcCw);
  const std::string& arcCcw = dialect.row(LabelRow::ArcCcw);

  const Pairs pairs{in};
  PassLines out = in.sharingTexts();
  out.reserve(in.size());
  PairShape reference;  // the last pair written (none yet: not an element)
  // The dropped run since the last pair written: its first and its last pair.
  bool dropping = false;
  std::size_t firstDropped = 0, lastDropped = 0;
  auto keepRunEnd = [&] {
    // Nothing after the run moves to where it ended: the run becomes one element.
    pairs.writeFirst(firstDropped, out);
    if (pairs.hasSecond(lastDropped))
      pairs.writeSecond(lastDropped, out);
    else
      out.emplace_back();
    dropping = false;
  };

  for (std::size_t p = 0; p < pairs.count(); ++p) {
    reportPairs(context.ui, p, in);
    const PairShape shape = shapeOf(pairs.first(p), pairs.second(p), letters, includeZ);
    if (dropping && !shape.startMoves) keepRunEnd();
    if (reference.element && shape.endComplete && sameDirection(reference, shape, tolerance) &&
        isStraight(shape, pairs.second(p), letters, arcCw, arcCcw)) {
      if (!dropping) firstDropped = p;
      dropping = true;
      lastDropped = p;
      continue;
    }
    dropping = false;  // this element's start line reaches the end of the run
    pairs.write(p, out);
    reference = shape;
  }
  if (dropping) keepRunEnd();
  context.ui.showProgress(static_cast<int>(in.size()), static_cast<int>(in.size()), true);
  return out;
}

std::string BUILDARC2(const ArcWords& words, const std::string& extra, LabelRow row, const MachineProfile& profile) {
  return ArcFormat(profile).line(words, extra, row);
}

PassLines CONVERTBRIDGEPORT2(PassLines in, DxfPassContext& context) {
  const MachineProfile& profile = context.profile;
  context.ui.setCaption(WindowId::Main, kConvertCaption);
  const ArcFormat format(profile);
  const BlockLetters letters = writtenLetters(Dialect(profile));
  // A diameter program ("X div  2") whose centre words are radii ("I  div 2" off).
  const bool divideI = profile.flag("Xdiv2") && !profile.flag("Idiv2");
  const double xScale = std::fabs(static_cast<double>(settingNumber(profile, "Xscale", 1.0f)));

  // Only the arc lines change: they are rebuilt, then put where they stand. The pairs of a long
  // program are gone through in two halves at once.
  const Pairs pairs{in};
  // Whether every plain move holds an arc word, when that is known.
  const std::optional<bool> movesHoldArcs = PlainMoveForm(profile).holdsEither(format.arcCw, format.arcCcw);
  using Rebuilt = std::vector<std::pair<std::size_t, std::string>>;  // line, text
  auto rebuild = [&](std::size_t from, std::size_t to, Rebuilt& arcs, UiPort* progress) {
    for (std::size_t p = from; p < to; ++p) {
      if (progress) reportPairs(*progress, p, in);
      if (!pairs.hasSecond(p)) continue;
      const std::string_view l1 = pairs.first(p);
      const std::string_view l2 = pairs.second(p);
      const bool arc = in.plainMove(2 * p + 1) && movesHoldArcs ? *movesHoldArcs
                                                                 : containsEitherWord(l2, format.arcCw, format.arcCcw);
      if (!arc) continue;
      const bool ccw = containsWord(l2, format.arcCcw);
      // Only the words the rebuilt line shows are read: Z with "Z Included", R in R mode, and
      // the start's X, Y and Z for the centre words that are there.
      const LetterValue i = FindLetterValue(letters.i, l2);
      const LetterValue j = FindLetterValue(letters.j, l2);
      const LetterValue k = FindLetterValue(letters.k, l2);
      const LetterValue r = format.rMode ? FindLetterValue(letters.r, l2) : LetterValue{};
      const double x1 = i.found ? FindLetterValue(letters.x, l1).value : 0.0;
      const double y1 = j.found ? FindLetterValue(letters.y, l1).value : 0.0;
      const double z1 = k.found ? FindLetterValue(letters.z, l1).value : 0.0;
      ArcWords w;
      w.x = FindLetterValue(letters.x, l2).value;
      w.y = FindLetterValue(letters.y, l2).value;
      if (format.includeZ) w.z = FindLetterValue(letters.z, l2).value;
      double di = i.value - x1;
      if (divideI && xScale != 0) di /= xScale;  // a zero scale would give infinite centres
      w.i = static_cast<float>(di);
      w.j = static_cast<float>(j.value - y1);
      w.k = static_cast<float>(k.value - z1);
      w.r = r.value;
      w.hasI = i.found;
      w.hasJ = j.found;
      w.hasK = k.found;
      w.hasR = r.found;
      arcs.emplace_back(2 * p + 1, format.line(w, "", ccw ? LabelRow::ArcCcw : LabelRow::ArcCw));
    }
  };
  Rebuilt first, second;
  if (in.size() < kHalvedFrom) {
    rebuild(0, pairs.count(), first, &context.ui);
  } else {
    const std::size_t half = pairs.count() / 2;
    bothAtOnce([&] { rebuild(0, half, first, &context.ui); }, [&] { rebuild(half, pairs.count(), second, nullptr); });
  }
  for (const Rebuilt* arcs : {&first, &second})
    for (const auto& [line, text] : *arcs) in.set(line, text);
  context.ui.showProgress(static_cast<int>(in.size()), static_cast<int>(in.size()), true);
  return in;
}

bool insertfile(const std::string& path, PassLines& out, std::string* error) {
  std::vector<std::string> lines;
  std::string reason;
  if (!readTextLines(path, lines, &reason)) {
    if (error) *error = reason;
    return false;
  }
  const bool even = lines.size() % 2 == 0;
  for (const std::string& line : lines) out.push_back(line);
  if (even) out.push_back(" ");
  return true;
}

PassLines AddPlaneCodes2(PassLines in, DxfPassContext& context) {
  using enum LabelRow;
  const MachineProfile& profile = context.profile;
  context.ui.setCaption(WindowId::Main, kPlaneCaption);
  const Dialect dialect(profile);
  const BlockLetters letters = dialect.lettersWithoutBlanks();
  const bool includeZ = profile.flag("IncludeZCheckBox");
  const bool editLine = profile.flag("CircleCheckBox") || profile.flag("ArcleadinCheckBox") ||
                        profile.flag("EditOnlyCheckBox") || profile.flag("LineArcleadinCheckBox") ||
                        profile.flag("ArcinLineOutCheckBox");
  const std::string& cutOn = dialect.row(BeginBlock);
  const std::string& fileEnd = dialect.row(FileEnd);
  const std::string& xyPlane = dialect.row(XYPlane);
  const std::string& xzPlane = dialect.row(XZPlane);
  const std::string& yzPlane = dialect.row(YZPlane);
  const std::string rapid = dialect.rowWithoutBlanks(Trans127);

  PassLines out = in.sharingTexts();
  out.reserve(in.size() + in.size() / 4 + 16);
  const std::string& fileStart = dialect.row(FileStart);
  out.push_back(fileStart);
  out.push_back(fileStart);
  for (LabelRow row : kOpeningRows) writeRow(dialect.row(row), context, out);

  // Without "Z Included" no plane word is written.
  auto planeWords = [&](std::string_view line) {
    if (!includeZ) return;
    const bool i = FindLetterValue(letters.i, line).found;
    const bool j = FindLetterValue(letters.j, line).found;
    const bool k = FindLetterValue(letters.k, line).found;
    if (i && j && !xyPlane.empty()) out.push_back(xyPlane);
    if (i && k && !xzPlane.empty()) out.push_back(xzPlane);
    if (j && k && !yzPlane.empty()) out.push_back(yzPlane);
  };

  const Pairs pairs{in};
  // The positioning line before a path that opens at `pair`: a rapid move to its first point.
  auto positioning = [&](std::size_t pair) {
    const BlockWords start = SplitBlockWords(pairs.first(pair + 1), letters);
    return rapid + " " + start.x + start.y + start.z;
  };
  for (std::size_t p = 0; p < pairs.count(); ++p) {
    reportPairs(context.ui, p, in);
    const std::string_view l1 = pairs.first(p);
    const std::string_view l2 = pairs.second(p);
    planeWords(l2);
    if (editLine && containsWord(l1, cutOn) && p + 1 < pairs.count()) {
      // A path opening: a positioning line to the path's first point before the cut goes on.
      const std::size_t first = p + 1;
      out.push_back(positioning(p));
      pairs.write(p, out);
      planeWords(pairs.second(first));
      pairs.write(first, out);
      p = first;
      continue;
    }
    // An empty first line is left out; its partner (the File End line when the profile's cut-off
    // word is empty) is still written.
    if (!l1.empty()) pairs.writeFirst(p, out);
    if (!pairs.hasSecond(p)) continue;
    if (l2 == fileEnd)
      for (LabelRow row : kClosingRows) writeRow(dialect.row(row), context, out);
    pairs.writeSecond(p, out);
    // Without plane words, the pairs of a long program up to the last are first read in two
    // halves at once, for the path openings and their positioning lines and for a File End line
    // standing early; then they are passed on in turn. With a File End line among them, pair by
    // pair as above.
    if (p == 0 && !includeZ && in.size() >= kHalvedFrom) {
      const std::size_t last = pairs.count() - 1, half = pairs.count() / 2;
      struct Found {
        std::vector<std::pair<std::size_t, std::string>> openings;  // pair, positioning line
        std::vector<std::size_t> blanks;                            // pairs whose first line is empty
        bool ended = false;
      };
      // Whether every plain move holds the cut-on word, when that is known.
      const std::optional<bool> movesOpen = PlainMoveForm(context.profile).holdsEither(cutOn, {});
      auto opens = [&](std::size_t q) {
        return in.plainMove(2 * q) && movesOpen ? *movesOpen : containsWord(pairs.first(q), cutOn);
      };
      auto find = [&](std::size_t from, std::size_t to, Found& found, UiPort* progress) {
        for (std::size_t q = from; q < to && !found.ended; ++q) {
          if (progress) reportPairs(*progress, q, in);
          found.ended = pairs.second(q) == fileEnd;
          if (editLine && opens(q)) found.openings.emplace_back(q, positioning(q));
          if (pairs.first(q).empty()) found.blanks.push_back(q);
        }
      };
      Found first, second;
      bothAtOnce([&] { find(1, half, first, &context.ui); }, [&] { find(half, last, second, nullptr); });
      if (!first.ended && !second.ended) {
        first.openings.insert(first.openings.end(), std::make_move_iterator(second.openings.begin()),
                              std::make_move_iterator(second.openings.end()));
        first.blanks.insert(first.blanks.end(), second.blanks.begin(), second.blanks.end());
        // The pairs between the openings and the empty first lines are passed on a stretch at a
        // time: the stretches are laid out first, then copied by both threads at once.
        struct Stretch {
          std::size_t from, to, at;  // lines [from, to) of the input to the output's line `at` on
        };
        std::vector<Stretch> stretches;
        std::vector<std::pair<std::size_t, std::string>> positioning;  // line, text
        const std::size_t start = out.size();
        std::size_t at = start;
        auto pass = [&](std::size_t from, std::size_t to) {
          to = std::min(to, in.size());
          if (from < to) stretches.push_back({from, to, at});
          at += to - from;
        };
        std::size_t q = 1;
        auto opening = first.openings.begin();
        auto blank = first.blanks.cbegin();
        while (q < last) {
          while (opening != first.openings.end() && opening->first < q) ++opening;
          while (blank != first.blanks.cend() && *blank < q) ++blank;
          const std::size_t stretchEnd =
              std::min({last, opening != first.openings.end() ? opening->first : last,
                        blank != first.blanks.cend() ? *blank : last});
          pass(2 * q, 2 * stretchEnd);
          q = stretchEnd;
          if (q == last) break;
          if (opening != first.openings.end() && opening->first == q) {
            positioning.emplace_back(at++, std::move(opening->second));
            pass(2 * q, 2 * q + 4);  // and the path's first pair
            ++q;
          } else {
            pass(2 * q + 1, 2 * q + 2);  // its empty first line is left out
          }
          ++q;
        }
        out.growForOverwrite(at);
        auto copy = [&](std::size_t fromStretch, std::size_t toStretch) {
          for (std::size_t k = fromStretch; k < toStretch; ++k)
            out.copy(in, stretches[k].from, stretches[k].to, stretches[k].at);
        };
        // The stretches halved by the lines they hold (most programs pass on in one).
        const std::size_t middle = start + (at - start) / 2;
        std::vector<Stretch> halves;
        for (const Stretch& stretch : stretches) {
          if (stretch.at < middle && stretch.at + (stretch.to - stretch.from) > middle) {
            const std::size_t split = stretch.from + (middle - stretch.at);
            halves.push_back({stretch.from, split, stretch.at});
            halves.push_back({split, stretch.to, middle});
          } else {
            halves.push_back(stretch);
          }
        }
        stretches.swap(halves);
        std::size_t secondStretches = 0;
        while (secondStretches < stretches.size() && stretches[secondStretches].at < middle) ++secondStretches;
        bothAtOnce([&] { copy(0, secondStretches); }, [&] { copy(secondStretches, stretches.size()); });
        for (const auto& [line, text] : positioning) out.set(line, text);
        p = q - 1;
      }
    }
  }
  context.ui.showProgress(static_cast<int>(in.size()), static_cast<int>(in.size()), true);
  return out;
}

}  // namespace kw
