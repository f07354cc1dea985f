#include "core/dxf/EndPointIndex.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <utility>

#include "core/text/BothAtOnce.h"

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

void PointList::reserve(std::size_t count) {
  xy_.reserve(2 * count);
  if (withZ_) z_.reserve(count);
}

void PointList::resize(std::size_t count, const OrderPoint& p) {
  const std::size_t from = size();
  xy_.resize(2 * count);
  if (withZ_) z_.resize(count);
  for (std::size_t point = from; point < count; ++point) set(point, p);
}

void PointList::copy(const PointList& other, std::size_t from, std::size_t to, std::size_t at) {
  std::copy(other.xy_.begin() + static_cast<std::ptrdiff_t>(2 * from),
            other.xy_.begin() + static_cast<std::ptrdiff_t>(2 * to), xy_.begin() + static_cast<std::ptrdiff_t>(2 * at));
  if (withZ_)
    std::copy(other.z_.begin() + static_cast<std::ptrdiff_t>(from), other.z_.begin() + static_cast<std::ptrdiff_t>(to),
              z_.begin() + static_cast<std::ptrdiff_t>(at));
}

void PointList::move(std::size_t from, std::size_t to, std::size_t at) {
  std::memmove(xy_.data() + 2 * at, xy_.data() + 2 * from, 2 * (to - from) * sizeof(float));
  if (withZ_) std::memmove(z_.data() + at, z_.data() + from, (to - from) * sizeof(float));
}

void PointList::dropZerosOfZ() {
  if (std::all_of(z_.begin(), z_.end(), [](float z) { return z == 0; })) {
    RawVector<float>().swap(z_);
    withZ_ = false;
  }
}

void PointList::release() {
  RawVector<float>().swap(xy_);
  RawVector<float>().swap(z_);
}

EndPointIndex::EndPointIndex(PointList given, float tolerance)
    : tolerance_(tolerance), points_(std::move(given)), removed_(points_.size() / 2, 0) {
  points_.dropZerosOfZ();
  const std::size_t count = points_.size() / 2;
  const std::size_t points = 2 * count;
  if (!(tolerance_ >= 0) || count == 0) return;  // a negative tolerance connects nothing: the points are only kept

  // Cells four times as wide as the tolerance: the points that connect to a point lie in at most
  // two cells along each axis, and mostly in one. Far-flung coordinates widen the cells so that
  // cell numbers stay small.
  // A long list of points is gone through in two halves at once.
  constexpr std::size_t kHalvedFrom = 1 << 16;
  auto inHalves = [points](auto&& work) {
    if (points < kHalvedFrom)
      work(0, points);
    else
      bothAtOnce([&] { work(0, points / 2); }, [&] { work(points / 2, points); });
  };
  // An element that starts exactly where the one before it ends (the next piece of a polyline or
  // an ellipse) shares one slot with it: the slot of its start, which stands for the end before
  // it too, and which sorts where that end would (no point number lies between the two).
  auto sharesSlot = [this, points](std::size_t point) {  // an end whose point the next start repeats
    if (point % 2 == 0 || point + 1 >= points) return false;
    const OrderPoint a = points_[point], b = points_[point + 1];
    return a.x == b.x && a.y == b.y && a.z == b.z;
  };
  double largest[2] = {0, 0};
  std::size_t shared[2] = {0, 0};
  inHalves([&](std::size_t from, std::size_t to) {
    const int half = from == 0 ? 0 : 1;
    double& l = largest[half];
    for (std::size_t point = from; point < to; ++point) {
      const OrderPoint p = points_[point];
      l = std::max({l, std::fabs(static_cast<double>(p.x)), std::fabs(static_cast<double>(p.y))});
      if (sharesSlot(point)) ++shared[half];
    }
  });
  const std::size_t slots = points - shared[0] - shared[1];
  cellSize_ = std::max({4.0 * tolerance_, std::max(largest[0], largest[1]) / (kCellLimit / 4), 1e-30});
  cellsPerUnit_ = 1 / cellSize_;

  // The points go into their buckets in file order, start before end.
  std::size_t buckets = 16;
  int bucketBits = 4;
  while (4 * buckets < slots) buckets *= 2, ++bucketBits;
  bucketMask_ = buckets - 1;
  bucketStart_.assign(buckets + 1, 0);
  // A counting sort in two steps that each stay within the cache: first by groups of buckets
  // (the top bits of the bucket), then each group by its buckets.
  const int groupShift = std::max(0, bucketBits - 8);
  const std::size_t groups = buckets >> groupShift, groupBuckets = std::size_t{1} << groupShift;
  // Each point's bucket is noted where the live slots will be kept, which are set up after, and
  // its tag; each half counts its points of every group. An end that shares the next start's
  // slot is in no bucket.
  constexpr std::uint32_t kNoBucket = ~std::uint32_t{0};
  nextLive_.resize(points + 1);
  RawVector<std::uint32_t>& bucket = nextLive_;
  RawVector<std::uint8_t> tag(points);
  std::vector<std::uint32_t> inGroup[2] = {std::vector<std::uint32_t>(groups, 0), std::vector<std::uint32_t>(groups, 0)};
  inHalves([&](std::size_t from, std::size_t to) {
    std::vector<std::uint32_t>& counted = inGroup[from == 0 ? 0 : 1];
    for (std::size_t point = from; point < to; ++point) {
      if (sharesSlot(point)) {
        bucket[point] = kNoBucket;
        continue;
      }
      const OrderPoint p = points_[point];
      const CellHash h = hashOf(cellOf(p.x), cellOf(p.y));
      bucket[point] = static_cast<std::uint32_t>(h.bucket);
      tag[point] = point > 0 && sharesSlot(point - 1) ? h.tag | kTwoElements : h.tag;
      ++counted[h.bucket >> groupShift];
    }
  });
  // The points group after group, each group in file order: the first half's points of a group
  // before the second half's.
  std::vector<std::uint32_t> groupStart(groups + 1, 0), secondStart(groups);
  for (std::size_t g = 0; g < groups; ++g) {
    secondStart[g] = groupStart[g] + inGroup[0][g];
    groupStart[g + 1] = secondStart[g] + inGroup[1][g];
  }
  RawVector<std::uint32_t> byGroup(slots);
  inHalves([&](std::size_t from, std::size_t to) {
    std::vector<std::uint32_t> next =
        from == 0 ? std::vector<std::uint32_t>(groupStart.begin(), groupStart.end() - 1) : secondStart;
    for (std::size_t point = from; point < to; ++point)
      if (bucket[point] != kNoBucket) byGroup[next[bucket[point] >> groupShift]++] = static_cast<std::uint32_t>(point);
  });
  // Then each group by its buckets, the groups shared out between the two threads.
  slots_.resize(slots);
  tags_.resize(slots);
  auto sortGroups = [&](std::size_t fromGroup, std::size_t toGroup) {
    std::vector<std::uint32_t> place(groupBuckets + 1);
    for (std::size_t g = fromGroup; g < toGroup; ++g) {
      const std::uint32_t first = groupStart[g], last = groupStart[g + 1];
      const std::size_t firstBucket = g << groupShift;
      std::fill(place.begin(), place.end(), 0);
      for (std::uint32_t k = first; k < last; ++k) ++place[bucket[byGroup[k]] - firstBucket + 1];
      place[0] = first;
      for (std::size_t b = 1; b <= groupBuckets; ++b) place[b] += place[b - 1];
      std::copy(place.begin(), place.end() - 1, bucketStart_.begin() + static_cast<std::ptrdiff_t>(firstBucket));
      for (std::uint32_t k = first; k < last; ++k) {
        const std::uint32_t point = byGroup[k];
        const std::uint32_t slot = place[bucket[point] - firstBucket]++;
        slots_[slot] = point;
        tags_[slot] = tag[point];
      }
    }
  };
  if (points < kHalvedFrom) {
    sortGroups(0, groups);
  } else {
    std::size_t half = 0;
    while (half < groups && groupStart[half] < slots / 2) ++half;
    bothAtOnce([&] { sortGroups(0, half); }, [&] { sortGroups(half, groups); });
  }
  bucketStart_[buckets] = static_cast<std::uint32_t>(slots);
  nextLive_.resize(slots + 1);
  std::iota(nextLive_.begin(), nextLive_.end(), 0u);
}

void EndPointIndex::restore() {
  std::fill(removed_.begin(), removed_.end(), 0);
  std::iota(nextLive_.begin(), nextLive_.end(), 0u);
  firstRemaining_ = 0;
}

void EndPointIndex::remove(std::size_t element) { removed_[element] = 1; }

std::int64_t EndPointIndex::cellOf(double value) const {
  // Any rule that never puts a greater value in a lower cell will do, since a search looks in
  // every cell its reach spans by the same rule: a product and a rounding down, without a call.
  const double cell = value * cellsPerUnit_;
  if (!(cell > -kCellLimit)) return static_cast<std::int64_t>(-kCellLimit);  // NaN lands here too
  if (cell > kCellLimit) return static_cast<std::int64_t>(kCellLimit);
  const auto whole = static_cast<std::int64_t>(cell);  // toward zero
  return cell < static_cast<double>(whole) ? whole - 1 : whole;
}

EndPointIndex::Cells EndPointIndex::cellsAround(const OrderPoint& point) const {
  // The square of the tolerance around the point, widened a little against rounding.
  const double reach = tolerance_ + cellSize_ * 1e-6;
  return {cellOf(point.x - reach), cellOf(point.x + reach), cellOf(point.y - reach), cellOf(point.y + reach)};
}

EndPointIndex::CellHash EndPointIndex::hashOf(std::int64_t cx, std::int64_t cy) const {
  const std::uint64_t key =
      (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32) | static_cast<std::uint32_t>(cy);
  const std::uint64_t hash = mix(key);
  // The bucket comes from the low bits, the tag from the top ones: cells of one bucket mostly
  // differ there.
  return {static_cast<std::size_t>(hash & bucketMask_), static_cast<std::uint8_t>(hash >> 57)};
}

bool EndPointIndex::slotRemoved(std::uint32_t slot) const {
  const std::uint32_t element = slots_[slot] / 2;
  return removed_[element] && ((tags_[slot] & kTwoElements) == 0 || removed_[element - 1]);
}

std::uint32_t EndPointIndex::liveSlot(std::uint32_t slot) {
  const auto size = static_cast<std::uint32_t>(slots_.size());
  // Only a removed slot ever points past itself, so a live one is known by its elements alone.
  std::uint32_t live = slot;
  while (live < size && slotRemoved(live)) {
    const std::uint32_t next = nextLive_[live];
    live = next != live ? next : live + 1;
  }
  while (slot < live) {  // every slot on the way now points straight at the live one
    const std::uint32_t next = nextLive_[slot];
    nextLive_[slot] = live;
    slot = next != slot ? next : slot + 1;
  }
  return live;
}

std::size_t EndPointIndex::firstConnecting(const OrderPoint& point, std::size_t from, std::size_t* below) {
  if (below) *below = npos;
  if (!(tolerance_ >= 0) || slots_.empty()) return npos;
  // No element before `from` counts, so one at `from` that connects is the answer: the pieces of a
  // polyline or an ellipse, drawn one after another, are found without a look into the buckets.
  if (from < removed_.size() && !removed_[from] &&
      (pointsConnect(start(from), point, tolerance_) || pointsConnect(end(from), point, tolerance_)))
    return from;
  const auto [x0, x1, y0, y1] = cellsAround(point);
  // The first element not below `low` and below `limit` of the live slots of the cell from `slot`
  // on, before `end`, whose point connects and which is not removed; `limit` when there is none.
  // A connecting point lies in one of the cells looked in, so a slot of another cell is never the
  // answer. A slot of two elements stands for the one before its own element first.
  auto firstIn = [&](std::uint32_t slot, std::uint32_t end, std::size_t low, std::size_t limit, std::uint8_t tag) {
    while (slot < end) {
      const std::uint32_t element = slots_[slot] / 2;
      const bool two = (tags_[slot] & kTwoElements) != 0;
      if (element - (two ? 1 : 0) >= limit) break;  // the bucket lists its elements in file order
      if ((tags_[slot] & ~kTwoElements) != tag) {
        ++slot;
        continue;
      }
      if (const std::uint32_t live = liveSlot(slot); live != slot) {
        slot = live;
        continue;
      }
      if (pointsConnect(points_[slots_[slot]], point, tolerance_)) {
        if (two && element - 1 >= low && !removed_[element - 1]) return static_cast<std::size_t>(element - 1);
        if (element < limit && !removed_[element]) return static_cast<std::size_t>(element);
      }
      ++slot;
    }
    return limit;
  };
  std::size_t best = npos, bestBelow = from;
  for (std::int64_t cx = x0; cx <= x1; ++cx) {
    for (std::int64_t cy = y0; cy <= y1; ++cy) {
      const auto [b, tag] = hashOf(cx, cy);
      const std::uint32_t begin = bucketStart_[b], end = bucketStart_[b + 1];
      if (begin == end) continue;
      const auto first = std::lower_bound(slots_.begin() + begin, slots_.begin() + end, 2 * from);
      const auto firstSlot = static_cast<std::uint32_t>(first - slots_.begin());
      best = firstIn(firstSlot, end, from, best, tag);
      if (below && best == npos) {
        // The slot of element `from`'s start also stands for the end of the element before it.
        const bool twoAtFrom = firstSlot < end && slots_[firstSlot] == 2 * from && (tags_[firstSlot] & kTwoElements);
        bestBelow = firstIn(begin, firstSlot + (twoAtFrom ? 1 : 0), 0, bestBelow, tag);
      }
    }
  }
  if (below && best == npos && bestBelow < from) *below = bestBelow;
  return best;
}

void EndPointIndex::expect(const OrderPoint& point) {
  expectedBuckets_ = preparation_ = 0;
  if (!(tolerance_ >= 0) || slots_.empty()) return;
  const auto [x0, x1, y0, y1] = cellsAround(point);
  for (std::int64_t cx = x0; cx <= x1; ++cx)
    for (std::int64_t cy = y0; cy <= y1 && expectedBuckets_ < 4; ++cy) {
      const std::size_t b = hashOf(cx, cy).bucket;
      expected_[expectedBuckets_++] = b;
      __builtin_prefetch(bucketStart_.data() + b);
    }
  preparation_ = 1;
}

void EndPointIndex::prepare() {
  if (preparation_ == 0 || preparation_ > 2) return;
  for (int k = 0; k < expectedBuckets_; ++k) {
    const std::uint32_t begin = bucketStart_[expected_[k]], end = bucketStart_[expected_[k] + 1];
    if (preparation_ == 1) {
      if (begin < end) {
        __builtin_prefetch(slots_.data() + begin);
        __builtin_prefetch(tags_.data() + begin);
      }
    } else {
      for (std::uint32_t slot = begin; slot < end && slot < begin + 8; ++slot) {
        __builtin_prefetch(removed_.data() + slots_[slot] / 2);
        __builtin_prefetch(nextLive_.data() + slot);
        points_.prefetch(slots_[slot]);
      }
    }
  }
  ++preparation_;
}

void EndPointIndex::lookAhead(std::size_t element) {
  if (!(tolerance_ >= 0) || slots_.empty()) return;
  for (int stage = 0; stage < 3; ++stage) {
    const std::size_t next = element + 3 - static_cast<std::size_t>(stage);
    if (next >= removed_.size() || removed_[next]) continue;
    const auto [x0, x1, y0, y1] = cellsAround(end(next));  // where the path's first search looks
    int buckets = 0;
    for (std::int64_t cx = x0; cx <= x1; ++cx)
      for (std::int64_t cy = y0; cy <= y1 && buckets < 4; ++cy, ++buckets) {
        const std::size_t b = hashOf(cx, cy).bucket;
        if (stage == 0) {
          __builtin_prefetch(bucketStart_.data() + b);
          continue;
        }
        const std::uint32_t begin = bucketStart_[b], end = bucketStart_[b + 1];
        if (stage == 1) {
          if (begin < end) {
            __builtin_prefetch(slots_.data() + begin);
            __builtin_prefetch(tags_.data() + begin);
          }
          continue;
        }
        for (std::uint32_t slot = begin; slot < end && slot < begin + 8; ++slot) {
          __builtin_prefetch(removed_.data() + slots_[slot] / 2);
          __builtin_prefetch(nextLive_.data() + slot);
          points_.prefetch(slots_[slot]);
        }
      }
  }
}

std::size_t EndPointIndex::firstRemaining() {
  while (firstRemaining_ < removed_.size() && removed_[firstRemaining_]) ++firstRemaining_;
  return firstRemaining_ < removed_.size() ? firstRemaining_ : npos;
}

}  // namespace kw
