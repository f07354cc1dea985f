#include "core/dxf/EndPointIndex.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace kw {
namespace {

// Cell numbers stay within this range, so neighbouring cells never wrap around.
constexpr double kCellLimit = 1073741824.0;  // 2^30

std::uint64_t mix(std::uint64_t key) {
  key ^= key >> 33;
  key *= 0xff51afd7ed558ccdULL;
  key ^= key >> 33;
  key *= 0xc4ceb9fe1a85ec53ULL;
  key ^= key >> 33;
  return key;
}

}  // namespace

bool pointsConnect(const OrderPoint& a, const OrderPoint& b, float tolerance) {
  const double gap = std::fabs(static_cast<double>(a.x) - b.x) + std::fabs(static_cast<double>(a.y) - b.y) +
                     std::fabs(static_cast<double>(a.z) - b.z);
  return gap <= tolerance;
}

EndPointIndex::EndPointIndex(const std::vector<OrderPoint>& starts, const std::vector<OrderPoint>& ends,
                             float tolerance)
    : starts_(starts), ends_(ends), tolerance_(tolerance), removed_(starts.size(), 0) {
  const std::size_t count = starts.size();
  if (!(tolerance_ >= 0) || count == 0) return;  // a negative tolerance connects nothing

  // Cells twice as wide as the tolerance: the points that connect to a point lie in at most two
  // cells along each axis. Far-flung coordinates widen the cells so that cell numbers stay small.
  double largest = 0;
  for (std::size_t i = 0; i < count; ++i)
    for (const OrderPoint* p : {&starts[i], &ends[i]})
      largest = std::max({largest, std::fabs(static_cast<double>(p->x)), std::fabs(static_cast<double>(p->y))});
  cellSize_ = std::max({2.0 * tolerance_, largest / (kCellLimit / 4), 1e-30});

  std::vector<std::pair<std::uint64_t, Slot>> keyed;
  keyed.reserve(2 * count);
  for (std::size_t i = 0; i < count; ++i) {
    const auto element = static_cast<std::uint32_t>(i);
    keyed.push_back({keyOf(cellOf(starts[i].x), cellOf(starts[i].y)), Slot{element, 0}});
    keyed.push_back({keyOf(cellOf(ends[i].x), cellOf(ends[i].y)), Slot{element, 1}});
  }
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first < b.first;
    if (a.second.element != b.second.element) return a.second.element < b.second.element;
    return a.second.isEnd < b.second.isEnd;
  });

  std::size_t capacity = 16;
  while (capacity < keyed.size()) capacity *= 2;  // at least twice the number of cells
  cells_.assign(2 * capacity, Cell{});
  cellMask_ = 2 * capacity - 1;
  slots_.reserve(keyed.size());
  Cell* cell = nullptr;
  for (std::size_t s = 0; s < keyed.size(); ++s) {
    const auto index = static_cast<std::uint32_t>(s);
    if (s == 0 || keyed[s].first != keyed[s - 1].first) {
      std::uint64_t place = mix(keyed[s].first) & cellMask_;
      while (cells_[place].end != 0) place = (place + 1) & cellMask_;
      cell = &cells_[place];
      cell->key = keyed[s].first;
      cell->begin = index;
    }
    cell->end = index + 1;
    slots_.push_back(keyed[s].second);
  }
  nextLive_.resize(slots_.size() + 1);
  std::iota(nextLive_.begin(), nextLive_.end(), 0u);
}

void EndPointIndex::remove(std::size_t element) { removed_[element] = 1; }

std::int64_t EndPointIndex::cellOf(double value) const {
  const double cell = std::floor(value / cellSize_);
  if (!(cell > -kCellLimit)) return static_cast<std::int64_t>(-kCellLimit);  // NaN lands here too
  if (cell > kCellLimit) return static_cast<std::int64_t>(kCellLimit);
  return static_cast<std::int64_t>(cell);
}

std::uint64_t EndPointIndex::keyOf(std::int64_t cx, std::int64_t cy) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32) |
         static_cast<std::uint32_t>(cy);
}

const EndPointIndex::Cell* EndPointIndex::findCell(std::uint64_t key) const {
  std::uint64_t place = mix(key) & cellMask_;
  while (cells_[place].end != 0) {
    if (cells_[place].key == key) return &cells_[place];
    place = (place + 1) & cellMask_;
  }
  return nullptr;
}

std::uint32_t EndPointIndex::liveSlot(std::uint32_t slot) {
  const auto size = static_cast<std::uint32_t>(slots_.size());
  std::uint32_t live = slot;
  while (live < size) {
    if (nextLive_[live] != live) {
      live = nextLive_[live];
    } else if (removed_[slots_[live].element]) {
      nextLive_[live] = live + 1;
      ++live;
    } else {
      break;
    }
  }
  while (slot < live) {  // every slot on the way now points straight at the live one
    const std::uint32_t next = nextLive_[slot];
    nextLive_[slot] = live;
    slot = next;
  }
  return live;
}

std::size_t EndPointIndex::firstConnecting(const OrderPoint& point, std::size_t from) {
  if (!(tolerance_ >= 0) || slots_.empty()) return npos;
  // The cells that the square of the tolerance around the point touches, widened a little
  // against rounding.
  const double reach = tolerance_ + cellSize_ * 1e-6;
  const std::int64_t x0 = cellOf(point.x - reach), x1 = cellOf(point.x + reach);
  const std::int64_t y0 = cellOf(point.y - reach), y1 = cellOf(point.y + reach);
  std::size_t best = npos;
  for (std::int64_t cx = x0; cx <= x1; ++cx) {
    for (std::int64_t cy = y0; cy <= y1; ++cy) {
      const Cell* cell = findCell(keyOf(cx, cy));
      if (!cell) continue;
      const Cell run = *cell;
      const auto first = std::lower_bound(slots_.begin() + run.begin, slots_.begin() + run.end, from,
                                          [](const Slot& s, std::size_t element) { return s.element < element; });
      std::uint32_t slot = liveSlot(static_cast<std::uint32_t>(first - slots_.begin()));
      while (slot < run.end) {
        const Slot s = slots_[slot];
        if (s.element >= best) break;  // the cell lists its elements in file order
        const OrderPoint& candidate = s.isEnd ? ends_[s.element] : starts_[s.element];
        if (pointsConnect(candidate, point, tolerance_)) {
          best = s.element;
          break;
        }
        slot = liveSlot(slot + 1);
      }
    }
  }
  return best;
}

std::size_t EndPointIndex::firstRemaining() {
  while (firstRemaining_ < removed_.size() && removed_[firstRemaining_]) ++firstRemaining_;
  return firstRemaining_ < removed_.size() ? firstRemaining_ : npos;
}

}  // namespace kw
