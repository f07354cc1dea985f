#include "core/dxf/PathOrdering.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <thread>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/dxf/EndPointIndex.h"
#include "core/dxf/PassDialect.h"
#include "core/profile/Dialect.h"
#include "core/profile/SettingNumbers.h"
#include "core/text/ArcGeometry.h"
#include "core/text/BlockScanner.h"
#include "core/text/BothAtOnce.h"

namespace kw {
namespace {

constexpr std::string_view kSortingCaption = "Sorting Dxf";
constexpr float kDefaultConnectTolerance = 0.005f;
// Elements, or paths, from which the work on them is shared out between two threads.
constexpr std::size_t kHalvedFrom = 1 << 15;

struct OrderingDialect {
  BlockLetters letters, written;
  std::string line, arcCw, arcCcw;
  std::string absolute, kerfLeft, cutOn, cutOff, fileEnd, leadIn;
  bool includeZ = false, turnsOutlines = false, holesFirst = false;
  LinePointReader points;
  PlainMoveForm moves;
  std::optional<bool> movesHoldArcs;  // whether every plain move holds an arc word, when that is known

  explicit OrderingDialect(const MachineProfile& profile) : points(profile), moves(profile) {
    using enum LabelRow;
    const Dialect dialect(profile);
    letters = dialect.lettersWithoutBlanks();
    written = writtenLetters(dialect);
    line = dialect.row(Line);
    arcCw = dialect.row(ArcCw);
    arcCcw = dialect.row(ArcCcw);
    absolute = dialect.row(Absolute);
    kerfLeft = dialect.row(KerfCompLeft);
    cutOn = dialect.row(BeginBlock);
    cutOff = dialect.row(EndBlock);
    fileEnd = dialect.row(FileEnd);
    leadIn = dialect.row(LeadIn);
    includeZ = profile.flag("IncludeZCheckBox");
    // The program compensates to the left, in the plane of the X and Y words as written.
    turnsOutlines = !kerfLeft.empty() && !profile.flag("SwapXY") && !profile.flag("SwapYZ");
    holesFirst = profile.flag("HolesFirst");
    movesHoldArcs = moves.holdsEither(arcCw, arcCcw);
  }

  // containsEitherWord(line, arcCw, arcCcw), where `plainMove` says the line is marked as one.
  bool holdsArc(std::string_view line, bool plainMove) const {
    return plainMove && movesHoldArcs ? *movesHoldArcs : containsEitherWord(line, arcCw, arcCcw);
  }

  // The point a line moves to; Z counts only when "Z Included" is checked.
  OrderPoint pointOf(std::string_view block) const { return points.of(block); }
};

// The words of a line as views: into the line where it is plain, else into its words as
// SplitBlockWords gives them, added to `held` (which must have room for them: the views point
// into it).
PlainWords wordsOf(std::string_view line, const PlainWordSplitter& plain, const BlockLetters& letters,
                   std::vector<BlockWords>& held) {
  PlainWords words;
  if (plain.split(line, words)) return words;
  return wordViews(held.emplace_back(SplitBlockWords(line, letters)));
}

// The arc word of a motion turned round: the other arc word, or the motion's own word (with its
// blank) when it is no arc.
void turnedMotion(std::string& motion, std::string_view g, const std::string& arcCw, const std::string& arcCcw) {
  motion.assign(g);
  if (!g.empty()) motion += ' ';
  if (containsWord(motion, arcCcw))
    motion = arcCw;
  else if (containsWord(motion, arcCw))
    motion = arcCcw;
}

// Writes the ordered program: the opening lines and the paths. Every element
// is placed once. When `keepsPoints`, it keeps the points the lines move to as `pointOf` reads
// them, of the first line of every path and of the end line of every element, so that the outlines
// of the paths need not read their lines again.
class PathWriter {
 public:
  // The program shares the texts of the element lines it takes over as they are. Four separator
  // lines start every path but the first; paths of a handful of elements are the rule, so room
  // for one path in four elements is reserved (a drawing of lone elements makes the lines grow).
  PathWriter(const PassLines& elements, const OrderingDialect& dialect, bool keepsPoints)
      : endPoints(0, dialect.includeZ),
        elements_(elements),
        lines_(elements.sharingTexts()),
        d_(dialect),
        keepsPoints_(keepsPoints) {
    lines_.reserve(elements.size() + elements.size() / 2 + 16);
    if (keepsPoints_) endPoints.reserve(elements.size() / 2 + elements.size() / 4 + 16);
    held_.reserve(3);  // reversed() reads three lines at once
  }

  // The lines of the program written so far.
  std::size_t written() const { return lines_.size(); }
  // Nothing written but the opening lines.
  void restart() {
    lines_ = elements_.sharingTexts();
    endPoints = PointList(0, d_.includeZ);
    firstPoints.clear();
    opening();
  }
  // The program, once every element is placed.
  PassLines take() { return std::move(lines_); }

  // An element's end line stands at an odd place in the program (four lines open it and separate
  // the paths, and each element takes two): its point is endPoints[place / 2].
  PointList endPoints;
  std::vector<OrderPoint> firstPoints;  // the other for each path in turn

  std::string_view startLine(std::size_t element) const { return elements_[2 * element]; }
  std::string_view endLine(std::size_t element) const {
    return 2 * element + 1 < elements_.size() ? elements_[2 * element + 1] : std::string_view();
  }

  void opening() {
    lines_.push_back(d_.absolute + " ");
    lines_.push_back(d_.kerfLeft + " ");
    lines_.push_back(d_.cutOn + " ");
    lines_.push_back(d_.leadIn + " ");
  }

  // Cut off, cut on and lead in before every path but the first.
  void separator() {
    lines_.push_back(d_.cutOff + " ");
    lines_.push_back(d_.cutOff + " ");
    lines_.push_back(d_.cutOn + " ");
    lines_.push_back(d_.leadIn + " ");
  }

  // The first element of a path, as it is, from `start` to `end`. Returns the path's new end.
  OrderPoint copy(std::size_t element, const OrderPoint& start, const OrderPoint& end) {
    place(2 * element);
    if (keepsPoints_) firstPoints.push_back(start);
    placeEndLine(element);
    endPoint(end);
    return end;
  }

  // An element whose start meets the path's end: its start line shrinks to the move itself.
  OrderPoint forward(std::size_t element, const OrderPoint& end) {
    const std::string_view startText = startLine(element);
    const bool inOrder = elements_.plainMove(2 * element) && startText.size() <= kMaxBlockLength
                             ? plainMovesInOrder_
                             : plainSplitter_.standsInOrder(startText, kMove, false);
    if (inOrder) {
      place(2 * element);  // already the move alone, as the pieces of a polyline are
    } else {
      held_.clear();
      const PlainWords start = wordsOf(startLine(element), plainSplitter_, d_.letters, held_);
      line_.clear();
      appendWords(line_, {start.g, start.x, start.y, start.z});
      lines_.push_back(line_);
    }
    placeEndLine(element);
    endPoint(end);
    return end;
  }

  // An element whose end meets the path's end, written backwards: a straight move to the path's
  // end (always the Line word: the end line before may be an arc, and an arc word without
  // centre words must not reach the machine), then the element's motion to its old start, an
  // arc turning the other way round the same centre.
  OrderPoint reversed(std::size_t element) {
    held_.clear();
    const PlainWords pathEnd = wordsOf(lines_.back(), plainSplitter_, d_.letters, held_);
    const PlainWords start = wordsOf(startLine(element), plainSplitter_, d_.letters, held_);
    const PlainWords end = wordsOf(endLine(element), plainSplitter_, d_.letters, held_);

    std::string move;
    if (!d_.line.empty()) move = d_.line + " ";
    appendWords(move, {pathEnd.x, pathEnd.y, pathEnd.z});

    std::string back;
    turnedMotion(back, end.g, d_.arcCw, d_.arcCcw);
    back += ' ';
    appendWords(back, {start.x, start.y, start.z, end.i, end.j, end.k, end.r});

    lines_.push_back(move);
    lines_.push_back(back);
    const OrderPoint to = d_.pointOf(lines_.back());
    endPoint(to);
    return to;
  }

 private:
  const PassLines& elements_;
  PassLines lines_;  // the program
  const OrderingDialect& d_;
  std::string line_;  // the shortened start line, its buffer kept from line to line
  const PlainWordSplitter plainSplitter_{d_.letters};
  // Words in SplitBlockWords' order G M N X Y Z R I J K: the move keeps G, X, Y and Z.
  static constexpr unsigned char kNo = PlainWordSplitter::kNotWritten;
  static constexpr unsigned char kMove[10] = {0, kNo, kNo, 1, 2, 3, kNo, kNo, kNo, kNo};
  // Whether a plain move stands as that move already.
  const bool plainMovesInOrder_ = plainSplitter_.standsInOrder(d_.moves.example(), kMove, false);
  std::vector<BlockWords> held_;  // the words of the lines read that are not plain (room for three)
  bool keepsPoints_;

  void endPoint(const OrderPoint& p) {
    if (keepsPoints_) endPoints.resize(written() / 2, p);
  }

  void place(std::size_t line) { lines_.share(elements_, line); }
  void placeEndLine(std::size_t element) {
    if (2 * element + 1 < elements_.size())
      place(2 * element + 1);
    else
      lines_.emplace_back();
  }
};

// A path as the ordering wrote it: its lines [begin, end) in the program, whole elements.
struct PathSpan {
  std::size_t begin = 0, end = 0;
};

// A closed path's outline (arcs by points along them) and its turning sense. The points of many
// outlines lie one after another in one array, from `at` on.
struct PathOutline {
  std::span<const OrderPoint> points;
  std::size_t at = 0, count = 0;
  float low[2] = {0, 0}, high[2] = {0, 0};  // the box round the points
  double area = 0;                          // twice the enclosed area, positive counter-clockwise
  bool closed = false;
};

// `first` is the point of the path's first line, endPoints[place / 2] that of each element's end
// line. The points go after those in `room`; `points` is left for when the room has them all.
PathOutline outlineOf(const PassLines& out, const OrderPoint& first, const PointList& endPoints,
                      const PathSpan& span, const OrderingDialect& d, float tolerance, RawVector<OrderPoint>& room) {
  constexpr int kPointsPerArc = 8;
  PathOutline o;
  o.at = room.size();
  OrderPoint from = first;
  room.push_back(from);
  for (std::size_t line = span.begin + 1; line < span.end; line += 2) {
    const std::string_view end = out[line];
    const OrderPoint to = endPoints[line / 2];
    const bool arc = d.holdsArc(end, out.plainMove(line));
    const bool cw = arc && containsWord(end, d.arcCw), ccw = arc && !cw;
    if (cw || ccw) {
      const double cx = FindLetterValue(d.written.i, end).value, cy = FindLetterValue(d.written.j, end).value;
      const double a0 = std::atan2(from.y - cy, from.x - cx), a1 = std::atan2(to.y - cy, to.x - cx);
      double sweep = std::fmod(ccw ? a1 - a0 : a0 - a1, kTwoPi);
      if (sweep <= 1e-9) sweep += kTwoPi;
      if (cw) sweep = -sweep;
      const double r = std::hypot(from.x - cx, from.y - cy);
      o.area += r * r * (sweep - std::sin(sweep));
      for (int step = 1; step < kPointsPerArc; ++step) {
        const double a = a0 + sweep * step / kPointsPerArc;
        room.push_back({static_cast<float>(cx + r * std::cos(a)), static_cast<float>(cy + r * std::sin(a)), 0});
      }
    }
    o.area += static_cast<double>(from.x) * to.y - static_cast<double>(to.x) * from.y;
    room.push_back(to);
    from = to;
  }
  o.count = room.size() - o.at;
  o.closed = span.end - span.begin >= 2 && pointsConnect(first, from, tolerance);
  o.low[0] = o.high[0] = first.x;
  o.low[1] = o.high[1] = first.y;
  for (std::size_t k = o.at; k < room.size(); ++k) {
    const OrderPoint& p = room[k];
    o.low[0] = std::min(o.low[0], p.x), o.high[0] = std::max(o.high[0], p.x);
    o.low[1] = std::min(o.low[1], p.y), o.high[1] = std::max(o.high[1], p.y);
  }
  return o;
}

bool encloses(const PathOutline& o, const OrderPoint& p) {
  if (p.x < o.low[0] || p.x > o.high[0] || p.y < o.low[1] || p.y > o.high[1]) return false;
  bool inside = false;
  for (std::size_t i = 0, j = o.points.size() - 1; i < o.points.size(); j = i++) {
    const OrderPoint &a = o.points[i], &b = o.points[j];
    if ((a.y > p.y) != (b.y > p.y) &&
        p.x < static_cast<double>(b.x - a.x) * (p.y - a.y) / (static_cast<double>(b.y) - a.y) + a.x)
      inside = !inside;
  }
  return inside;
}

// The path travelled the other way: each element from its end back to its start, arcs turning
// the other way round the same centre.
void reversePath(PassLines& out, const PathSpan& span, const OrderingDialect& d, const PlainWordSplitter& plain) {
  // A line replaced below keeps its old text, which the words read still point into.
  std::vector<PlainWords> words(span.end - span.begin);
  std::vector<BlockWords> held;
  held.reserve(words.size());
  for (std::size_t k = 0; k < words.size(); ++k) words[k] = wordsOf(out[span.begin + k], plain, d.letters, held);
  std::string text, motion;
  auto position = [&text](const PlainWords& w) { appendWords(text, {w.x, w.y, w.z}); };
  const std::string line = d.line.empty() ? "" : d.line + " ";
  std::size_t written = span.begin;
  const std::size_t last = words.size() - 1;
  text = line;
  position(words[last]);
  out.set(written++, text);
  for (std::size_t end = last; end >= 1; end -= 2) {
    const PlainWords& e = words[end];
    turnedMotion(motion, e.g, d.arcCw, d.arcCcw);
    if (end != last) {
      text = line;
      position(e);
      out.set(written++, text);
    }
    text = motion;
    text += ' ';
    position(words[end == 1 ? 0 : end - 2]);
    appendWords(text, {e.i, e.j, e.k, e.r});
    out.set(written++, text);
    if (end == 1) break;
  }
}

// Which closed paths lie in which: `depth` counts the closed paths round a path, `parent` is
// the nearest of them (the smallest round it), `holds` tells a path that has another inside.
struct Nesting {
  std::vector<PathOutline> outlines;
  RawVector<OrderPoint> points[2];  // the outlines' points, by the half that found them
  std::vector<int> depth;
  std::vector<std::size_t> parent;  // kNoParent for none
  std::vector<bool> holds;
  static constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);
};

Nesting nestingOf(const PassLines& out, const std::vector<OrderPoint>& firstPoints,
                  const PointList& endPoints, const std::vector<PathSpan>& spans,
                  const OrderingDialect& d, float tolerance) {
  Nesting n;
  n.depth.assign(spans.size(), 0);
  n.parent.assign(spans.size(), Nesting::kNoParent);
  n.holds.assign(spans.size(), false);
  std::vector<PathOutline>& outlines = n.outlines;
  std::vector<std::size_t> closed;
  float low[2] = {0, 0}, high[2] = {0, 0};
  outlines.resize(spans.size());
  auto outline = [&](std::size_t from, std::size_t to, RawVector<OrderPoint>& room) {
    // A point an element and seven more an arc: room for an arc in every other element, which
    // takes memory only where it is written.
    if (from < to) room.reserve(2 * (spans[to - 1].end - spans[from].begin) + (to - from));
    for (std::size_t p = from; p < to; ++p)
      outlines[p] = outlineOf(out, firstPoints[p], endPoints, spans[p], d, tolerance, room);
    for (std::size_t p = from; p < to; ++p) outlines[p].points = {room.data() + outlines[p].at, outlines[p].count};
  };
  // Long paths (an ellipse makes hundreds of elements) are as many as short ones: the paths are
  // shared out by their lines.
  if (out.size() < kHalvedFrom || spans.size() < 2) {
    outline(0, spans.size(), n.points[0]);
  } else {
    std::size_t half = 0;
    while (half + 1 < spans.size() && spans[half].end < out.size() / 2) ++half;
    bothAtOnce([&] { outline(0, half, n.points[0]); }, [&] { outline(half, spans.size(), n.points[1]); });
  }
  for (std::size_t p = 0; p < spans.size(); ++p) {
    if (!outlines[p].closed) continue;
    for (int axis = 0; axis < 2; ++axis) {
      low[axis] = closed.empty() ? outlines[p].low[axis] : std::min(low[axis], outlines[p].low[axis]);
      high[axis] = closed.empty() ? outlines[p].high[axis] : std::max(high[axis], outlines[p].high[axis]);
    }
    closed.push_back(p);
  }
  if (closed.size() < 2) return n;

  // The outlines by the cells of a grid their boxes cover, so that a point meets only the
  // outlines near it.
  const int cells = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(closed.size()))));
  auto cell = [&](float value, int axis) {
    const double size = std::max(static_cast<double>(high[axis]) - low[axis], 1e-9);
    return std::clamp(static_cast<int>((value - low[axis]) / size * cells), 0, cells - 1);
  };
  std::vector<std::vector<std::size_t>> grid(static_cast<std::size_t>(cells) * cells);
  for (std::size_t q : closed)
    for (int cy = cell(outlines[q].low[1], 1); cy <= cell(outlines[q].high[1], 1); ++cy)
      for (int cx = cell(outlines[q].low[0], 0); cx <= cell(outlines[q].high[0], 0); ++cx)
        grid[static_cast<std::size_t>(cy) * cells + cx].push_back(q);

  // Each closed path looks for the paths round it; the two halves of a long list at once, each
  // noting the paths found to hold another.
  auto around = [&](std::size_t from, std::size_t to, std::vector<std::size_t>& holding) {
    for (std::size_t c = from; c < to; ++c) {
      const std::size_t p = closed[c];
      const OrderPoint& at = outlines[p].points.front();
      for (std::size_t q : grid[static_cast<std::size_t>(cell(at.y, 1)) * cells + cell(at.x, 0)])
        if (q != p && encloses(outlines[q], at)) {
          ++n.depth[p];
          holding.push_back(q);
          if (n.parent[p] == Nesting::kNoParent || std::fabs(outlines[q].area) < std::fabs(outlines[n.parent[p]].area))
            n.parent[p] = q;
        }
    }
  };
  std::vector<std::size_t> holding[2];
  if (closed.size() < kHalvedFrom / 8)
    around(0, closed.size(), holding[0]);
  else
    bothAtOnce([&] { around(0, closed.size() / 2, holding[0]); },
               [&] { around(closed.size() / 2, closed.size(), holding[1]); });
  for (const std::vector<std::size_t>& paths : holding)
    for (std::size_t q : paths) n.holds[q] = true;
  return n;
}

// With the kerf compensated to the left, a part's outline is cut clockwise and its holes
// counter-clockwise, so that the kerf falls on the scrap side. Paths that neither hold another
// path nor lie in one keep the direction they were drawn in, unless `everyClosedPath`.
void turnNestedPaths(PassLines& out, const std::vector<PathSpan>& spans, const OrderingDialect& d,
                     const Nesting& n, bool everyClosedPath) {
  if (!d.turnsOutlines) return;
  const PlainWordSplitter plain(d.letters);
  for (std::size_t p = 0; p < spans.size(); ++p) {
    const PathOutline& o = n.outlines[p];
    if (!o.closed || !(everyClosedPath || n.depth[p] > 0 || n.holds[p])) continue;
    if ((n.depth[p] % 2 == 0) == (o.area > 0)) reversePath(out, spans[p], d, plain);
  }
}

// "Holes first, short rapids": every closed path is cut before the closed path round it, and
// the paths follow one another by the nearest start from the machine's origin, then by
// reversing runs of closed paths wherever that shortens the rapids and keeps the holes first.
class ShortRapids {
 public:
  ShortRapids(const PassLines& out, const std::vector<PathSpan>& spans, const OrderingDialect& d, const Nesting& n)
      : n_(n) {
    for (const PathSpan& s : spans) {
      starts_.push_back(d.pointOf(out[s.begin]));
      ends_.push_back(d.pointOf(out[s.end - 1]));
    }
  }

  std::vector<std::size_t> order() {
    std::vector<std::size_t> path = nearestFirst();
    improve(path);
    return path;
  }

 private:
  const Nesting& n_;
  std::vector<OrderPoint> starts_, ends_;

  static double distance(const OrderPoint& a, const OrderPoint& b) {
    const double dx = static_cast<double>(a.x) - b.x, dy = static_cast<double>(a.y) - b.y;
    return std::sqrt(dx * dx + dy * dy);
  }

  // Nearest neighbour over the paths free to go (all their holes cut), found through a grid.
  std::vector<std::size_t> nearestFirst() const {
    const std::size_t count = starts_.size();
    std::vector<int> waiting(count, 0);  // holes not cut yet
    for (std::size_t p = 0; p < count; ++p)
      if (n_.parent[p] != Nesting::kNoParent) ++waiting[n_.parent[p]];
    double low[2] = {starts_[0].x, starts_[0].y}, high[2] = {low[0], low[1]};
    for (const OrderPoint& s : starts_) {
      low[0] = std::min<double>(low[0], s.x), high[0] = std::max<double>(high[0], s.x);
      low[1] = std::min<double>(low[1], s.y), high[1] = std::max<double>(high[1], s.y);
    }
    const int cells = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(count) / 2)));
    const double size[2] = {std::max((high[0] - low[0]) / cells, 1e-9), std::max((high[1] - low[1]) / cells, 1e-9)};
    auto cellOf = [&](double v, int axis) {
      return std::clamp(static_cast<int>((v - low[axis]) / size[axis]), 0, cells - 1);
    };
    std::vector<std::vector<std::size_t>> grid(static_cast<std::size_t>(cells) * cells);
    auto free = [&](std::size_t p) {
      grid[static_cast<std::size_t>(cellOf(starts_[p].y, 1)) * cells + cellOf(starts_[p].x, 0)].push_back(p);
    };
    for (std::size_t p = 0; p < count; ++p)
      if (waiting[p] == 0) free(p);

    std::vector<std::size_t> path;
    OrderPoint at{};  // the machine's origin
    while (path.size() < count) {
      const int cx = cellOf(at.x, 0), cy = cellOf(at.y, 1);
      double best = 0;
      std::vector<std::size_t>* bestCell = nullptr;
      std::size_t bestSlot = 0;
      for (int r = 0;; ++r) {
        for (int y = std::max(0, cy - r); y <= std::min(cells - 1, cy + r); ++y)
          for (int x = std::max(0, cx - r); x <= std::min(cells - 1, cx + r); ++x) {
            if (std::max(std::abs(x - cx), std::abs(y - cy)) != r) continue;  // the ring only
            auto& list = grid[static_cast<std::size_t>(y) * cells + x];
            for (std::size_t slot = 0; slot < list.size(); ++slot) {
              const double d = distance(at, starts_[list[slot]]);
              // Ties go to the path drawn first, so the order does not depend on the grid.
              if (!bestCell || d < best || (d == best && list[slot] < (*bestCell)[bestSlot]))
                best = d, bestCell = &list, bestSlot = slot;
            }
          }
        // What lies beyond the cells scanned is at least this far away.
        double beyond = std::numeric_limits<double>::infinity();
        if (cx - r > 0) beyond = std::min(beyond, at.x - (low[0] + (cx - r) * size[0]));
        if (cx + r < cells - 1) beyond = std::min(beyond, low[0] + (cx + r + 1) * size[0] - at.x);
        if (cy - r > 0) beyond = std::min(beyond, at.y - (low[1] + (cy - r) * size[1]));
        if (cy + r < cells - 1) beyond = std::min(beyond, low[1] + (cy + r + 1) * size[1] - at.y);
        if (beyond == std::numeric_limits<double>::infinity() || (bestCell && best < beyond)) break;
      }
      const std::size_t next = (*bestCell)[bestSlot];
      (*bestCell)[bestSlot] = bestCell->back();
      bestCell->pop_back();
      path.push_back(next);
      at = ends_[next];
      if (const std::size_t around = n_.parent[next]; around != Nesting::kNoParent && --waiting[around] == 0)
        free(around);
    }
    return path;
  }

  // Reverses runs of up to kWindow closed paths (a closed path starts where it ends, so only
  // the two rapids at the run's ends change) while that shortens the rapids and no path of the
  // run lies in another of it. The origin stands before the first path and after the last.
  void improve(std::vector<std::size_t>& path) const {
    constexpr std::size_t kWindow = 40;
    const std::size_t count = path.size();
    std::vector<std::size_t> place(count);
    auto endOf = [&](std::size_t i) { return i == 0 ? OrderPoint{} : ends_[path[i - 1]]; };
    auto startOf = [&](std::size_t i) { return i == count ? OrderPoint{} : starts_[path[i]]; };
    auto closed = [&](std::size_t p) { return n_.outlines[p].closed; };
    for (int pass = 0; pass < 4; ++pass) {
      bool better = false;
      for (std::size_t i = 0; i < count; ++i) place[path[i]] = i;
      for (std::size_t i = 0; i < count; ++i) {
        if (!closed(path[i])) continue;
        for (std::size_t j = i + 1; j < count && j < i + kWindow && closed(path[j]); ++j) {
          const double before = distance(endOf(i), startOf(i)) + distance(ends_[path[j]], startOf(j + 1));
          const double after = distance(endOf(i), starts_[path[j]]) + distance(ends_[path[i]], startOf(j + 1));
          if (after >= before - 1e-9) continue;
          bool keepsHolesFirst = true;
          for (std::size_t k = i; k <= j && keepsHolesFirst; ++k) {
            const std::size_t around = n_.parent[path[k]];
            keepsHolesFirst = around == Nesting::kNoParent || place[around] < i || place[around] > j;
          }
          if (!keepsHolesFirst) continue;
          std::reverse(path.begin() + static_cast<std::ptrdiff_t>(i), path.begin() + static_cast<std::ptrdiff_t>(j) + 1);
          for (std::size_t k = i; k <= j; ++k) place[path[k]] = k;
          better = true;
        }
      }
      if (!better) break;
    }
  }
};

// The program's paths put in `order`, each after the separator lines the ordering wrote.
void reorderPaths(PassLines& out, const std::vector<PathSpan>& spans, const std::vector<std::size_t>& order) {
  PassLines reordered = out.sharingTexts();
  reordered.reserve(out.size());
  auto take = [&](std::size_t from, std::size_t to) {
    for (std::size_t line = from; line < to; ++line) reordered.share(out, line);
  };
  const std::size_t opening = spans.front().begin;
  const std::size_t separator = spans.front().end, separatorEnd = spans.size() > 1 ? spans[1].begin : spans.front().end;
  take(0, opening);
  for (std::size_t k = 0; k < order.size(); ++k) {
    if (k > 0) take(separator, separatorEnd);
    take(spans[order[k]].begin, spans[order[k]].end);
  }
  out = std::move(reordered);
}

}  // namespace

float connectTolerance(const MachineProfile& profile) {
  return settingNumber(profile, "ConnectEdit", kDefaultConnectTolerance);
}

namespace {

// Where the rounds put the elements, handed to the writer: at once, or through a list that a
// second thread writes from while the rounds go on. A reversed element's new end is then taken
// to be its start point, as the line written moves to its start's words; the writer checks it.
class Placer {
 public:
  static constexpr std::size_t kMaxElements = std::size_t{1} << 30;

  Placer(PathWriter& writer, const EndPointIndex& index, bool aside)
      : writer_(writer), index_(index), written_(writer.written()) {
    if (!aside) return;
    placements_ = std::make_unique_for_overwrite<std::uint32_t[]>(kRing);
    worker_ = std::thread([this] { write(); });
  }
  ~Placer() {
    if (worker_.joinable()) {
      stop();
      worker_.join();
    }
  }
  Placer(const Placer&) = delete;
  Placer& operator=(const Placer&) = delete;

  // The lines written so far: four separate the paths, each element takes two.
  std::size_t written() const { return written_; }

  OrderPoint first(std::size_t element) { return place(kFirst, element); }
  OrderPoint newPath(std::size_t element) { return place(kNewPath, element); }
  OrderPoint forward(std::size_t element) { return place(kForward, element); }
  OrderPoint reversed(std::size_t element) { return place(kReversed, element); }

  // Waits for the writer; false when a reversed element's line moved elsewhere than assumed.
  bool finish() {
    stop();
    worker_.join();
    if (failed_) std::rethrow_exception(failed_);
    return !elsewhere_;
  }

 private:
  static constexpr std::uint32_t kFirst = 0, kNewPath = 1u << 30, kForward = 2u << 30, kReversed = 3u << 30;
  static constexpr std::uint32_t kKind = 3u << 30;
  static constexpr std::size_t kLast = std::size_t{1} << 63;  // with the count of all placements
  PathWriter& writer_;
  const EndPointIndex& index_;  // only the elements' end points are read, which stay as they are
  std::size_t written_;
  // The placements go round a ring; the rounds wait when they are a whole ring ahead.
  static constexpr std::size_t kRing = std::size_t{1} << 16;
  std::unique_ptr<std::uint32_t[]> placements_;
  std::size_t count_ = 0;                  // placements made
  std::atomic<std::size_t> published_{0};  // placements the writer may take, and kLast after the last
  std::atomic<std::size_t> taken_{0};      // placements written, or kLast once the writer has stopped
  bool stopped_ = false;
  bool elsewhere_ = false;
  std::exception_ptr failed_;
  std::thread worker_;

  OrderPoint place(std::uint32_t kind, std::size_t element) {
    written_ += kind == kNewPath ? 6 : 2;
    if (!placements_) return apply(kind, element);
    if (std::size_t taken = taken_.load(std::memory_order_acquire); count_ - taken >= kRing && taken != kLast) {
      published_.store(count_, std::memory_order_release);
      published_.notify_one();
      while (count_ - taken >= kRing && taken != kLast) {
        taken_.wait(taken, std::memory_order_acquire);
        taken = taken_.load(std::memory_order_acquire);
      }
    }
    placements_[count_++ % kRing] = kind | static_cast<std::uint32_t>(element);
    if (count_ % 256 == 0) {
      published_.store(count_, std::memory_order_release);
      published_.notify_one();
    }
    return kind == kReversed ? index_.start(element) : index_.end(element);
  }

  OrderPoint apply(std::uint32_t kind, std::size_t element) {
    switch (kind) {
      case kNewPath:
        writer_.separator();
        [[fallthrough]];
      case kFirst:
        return writer_.copy(element, index_.start(element), index_.end(element));
      case kForward:
        return writer_.forward(element, index_.end(element));
      default:
        return writer_.reversed(element);
    }
  }

  void stop() {
    if (stopped_) return;
    stopped_ = true;
    published_.store(count_ | kLast, std::memory_order_release);
    published_.notify_one();
  }

  void write() {
    std::size_t done = 0;
    try {
      for (;;) {
        const std::size_t value = published_.load(std::memory_order_acquire);
        for (const std::size_t ready = value & ~kLast; done < ready; ++done) {
          const std::uint32_t placement = placements_[done % kRing];
          const std::uint32_t kind = placement & kKind;
          const std::size_t element = placement & ~kKind;
          const OrderPoint to = apply(kind, element);
          if (kind == kReversed) {
            const OrderPoint assumed = index_.start(element);
            if (to.x != assumed.x || to.y != assumed.y || to.z != assumed.z) elsewhere_ = true;
          }
        }
        if (value & kLast) return;
        taken_.store(done, std::memory_order_release);
        taken_.notify_one();
        published_.wait(value, std::memory_order_acquire);  // until more are published
      }
    } catch (...) {
      failed_ = std::current_exception();
      taken_.store(kLast, std::memory_order_release);  // the rounds go on without waiting
      taken_.notify_one();
    }
  }
};

// The rounds: every element placed through `placer`; the spans of the paths in the program.
template <typename EndRound>
std::vector<PathSpan> placeElements(EndPointIndex& index, std::size_t count, float tolerance, Placer& placer,
                                    EndRound&& endRound) {
  std::vector<PathSpan> spans;
  std::size_t remaining = count;
  OrderPoint pathEnd;
  if (count > 0) {
    spans.push_back({placer.written(), 0});
    pathEnd = placer.first(0);
    index.expect(index.start(0));
    index.remove(0);
    --remaining;
  }

  // Scanning on from `from`, the first remaining element that connects to the path's end is the
  // one the round attaches next; when none is left after `from` the round ends, and the next
  // round scans again from the beginning.
  std::size_t roundStart = remaining;
  std::size_t from = 0;
  bool attached = false;
  // A search that found nothing from `from` on also tells what the next round's first search,
  // from 0 and for the same end, finds.
  std::size_t below = EndPointIndex::npos;
  bool belowKnown = false;
  while (remaining > 0) {
    const std::size_t next = belowKnown ? below : index.firstConnecting(pathEnd, from, &below);
    belowKnown = false;
    if (next != EndPointIndex::npos) {
      index.prepare();
      pathEnd = pointsConnect(index.start(next), pathEnd, tolerance) ? placer.forward(next) : placer.reversed(next);
      index.remove(next);
      --remaining;
      from = next + 1;
      attached = true;
      if (remaining == 0) endRound(roundStart);
      continue;
    }
    endRound(roundStart);
    from = 0;
    if (!attached) {  // nothing connects any more: the first element left starts a new path
      const std::size_t first = index.firstRemaining();
      spans.back().end = placer.written();
      pathEnd = placer.newPath(first);
      index.expect(index.start(first));  // where a closed path comes back to
      index.lookAhead(first);
      spans.push_back({placer.written() - 2, 0});
      index.remove(first);
      --remaining;
      // Every element before it is placed, so the round scans on from the one after it (where
      // the next piece of a polyline or an ellipse stands).
      from = first + 1;
    } else {
      belowKnown = true;
    }
    roundStart = remaining;
    attached = false;
  }
  if (!spans.empty()) spans.back().end = placer.written();
  return spans;
}

PassLines orderPaths(PassLines& elements, DxfPassContext& context, PassLines* unused, PointList* given) {
  UiPort& ui = context.ui;
  ui.setCaption(WindowId::Main, kSortingCaption);
  const OrderingDialect dialect(context.profile);
  const float tolerance = connectTolerance(context.profile);
  const std::size_t count = (elements.size() + 1) / 2;
  ui.showProgress(0, static_cast<int>(elements.size()), true);

  PathWriter writer(elements, dialect, dialect.turnsOutlines || dialect.holesFirst);
  writer.opening();

  // The points of the element lines, as the reading gave them or read from the lines. A last
  // element without its end line ends where an empty line would.
  PointList points(0, dialect.includeZ);
  const bool known = given && given->size() == elements.size() && given->withZ() == dialect.includeZ;
  if (known) {
    points = std::move(*given);
    if (elements.size() % 2 != 0) points.push_back(dialect.pointOf(std::string_view()));
  } else {
    points = PointList(2 * count, dialect.includeZ);
  }
  if (given) *given = PointList(0, false);
  auto readPoints = [&](std::size_t from, std::size_t to) {
    for (std::size_t e = from; e < to; ++e) {
      // The pieces of a polyline or an ellipse start with the very line the piece before ended
      // with: its point is known.
      if (e > from && writer.startLine(e) == writer.endLine(e - 1))
        points.set(2 * e, points[2 * e - 1]);
      else
        points.set(2 * e, dialect.pointOf(writer.startLine(e)));
      points.set(2 * e + 1, dialect.pointOf(writer.endLine(e)));
    }
  };
  if (!known) {
    if (count < kHalvedFrom)
      readPoints(0, count);
    else
      bothAtOnce([&] { readPoints(0, count / 2); }, [&] { readPoints(count / 2, count); });
  }
  std::optional<EndPointIndex> indexHeld(std::in_place, std::move(points), tolerance);  // let go after the rounds
  EndPointIndex& index = *indexHeld;

  // One round reads every remaining element: the gauge shows how many lines it read, and its
  // maximum is what the first round read.
  int gaugeMaximum = -1;
  auto endRound = [&](std::size_t remainingAtStart) {
    const int lines = static_cast<int>(2 * remainingAtStart);
    if (gaugeMaximum < 0) gaugeMaximum = lines;
    ui.showProgress(lines, gaugeMaximum, true);
  };

  // The rounds decide where each element goes. For a long drawing a second thread writes the
  // program's lines from those decisions while the rounds go on; when it finds a reversed
  // element's line moving elsewhere than the rounds took it to, the rounds are run again,
  // writing as they go.
  std::optional<std::vector<PathSpan>> placed;
  if (count >= kHalvedFrom && count < Placer::kMaxElements) {
    Placer placer(writer, index, true);
    std::vector<PathSpan> spans = placeElements(index, count, tolerance, placer, endRound);
    if (placer.finish()) placed = std::move(spans);
  }
  if (!placed) {
    index.restore();
    writer.restart();
    Placer placer(writer, index, false);
    placed = placeElements(index, count, tolerance, placer, endRound);
  }
  std::vector<PathSpan>& spans = *placed;
  // Every element is placed: what follows needs only the program.
  indexHeld.reset();
  PassLines out = writer.take();
  elements.releaseLines();
  if ((dialect.turnsOutlines && spans.size() >= 2) || (dialect.holesFirst && !spans.empty())) {
    std::vector<std::size_t> order;
    {
      const Nesting nesting = nestingOf(out, writer.firstPoints, writer.endPoints, spans, dialect, tolerance);
      writer.endPoints.release();
      turnNestedPaths(out, spans, dialect, nesting, dialect.holesFirst);
      if (dialect.holesFirst && spans.size() >= 2) order = ShortRapids(out, spans, dialect, nesting).order();
    }
    if (!order.empty()) reorderPaths(out, spans, order);
  }
  out.push_back(dialect.cutOff);  // the closing lines
  out.push_back(dialect.fileEnd);
  if (unused) unused->clear();
  return out;
}

}  // namespace

PassLines SORTOUT3(PassLines elements, DxfPassContext& context, PassLines* unused, PointList* points) {
  return orderPaths(elements, context, unused, points);
}

}  // namespace kw
