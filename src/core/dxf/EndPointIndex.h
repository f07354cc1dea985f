#pragma once
// The index behind the path ordering: the two end points of every element in a grid of cells
// four times as wide as the connect tolerance. The cells are hashed into buckets (about one per
// two points), each bucket listing its points in file order, so "the first remaining element from
// here on that connects to this point" costs one to four bucket look-ups instead of a walk over
// the whole element list. A bucket may hold points of other cells too: every candidate is
// checked against the tolerance.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kw {

struct OrderPoint {
  float x = 0, y = 0, z = 0;
};

// |dx| + |dy| + |dz| <= tolerance, summed in double.
bool pointsConnect(const OrderPoint& a, const OrderPoint& b, float tolerance);

class EndPointIndex {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  // starts[i] and ends[i] are the end points of element i (the index keeps its own copies, so
  // the caller may let them go).
  EndPointIndex(const std::vector<OrderPoint>& starts, const std::vector<OrderPoint>& ends, float tolerance);

  // The end points of element i as they were given.
  OrderPoint start(std::size_t element) const { return elementPoint(2 * element); }
  OrderPoint end(std::size_t element) const { return elementPoint(2 * element + 1); }

  // Takes an element out: it is never found again.
  void remove(std::size_t element);
  bool removed(std::size_t element) const { return removed_[element] != 0; }

  // The smallest element index not below `from` that is not removed and whose start or end
  // connects to `point`; npos when there is none. Then, with `below`, *below is the smallest such
  // index below `from` (npos when there is none): what a search from 0 would answer.
  std::size_t firstConnecting(const OrderPoint& point, std::size_t from, std::size_t* below = nullptr);

  // The smallest element index that is not removed; npos when every element is removed.
  std::size_t firstRemaining();

 private:
  std::int64_t cellOf(double value) const;
  std::size_t bucketOf(std::int64_t cx, std::int64_t cy) const;
  // The first slot at or after `slot` whose element is not removed (slots_.size() if none).
  std::uint32_t liveSlot(std::uint32_t slot);

  float tolerance_;
  double cellSize_ = 1;
  // The points by bucket, each bucket in file order, a point known by its number: 2 * element for
  // the start, one more for the end. A bucket's candidates are checked against the points below.
  std::vector<std::uint32_t> slots_;
  std::vector<float> elementXY_;  // x and y of every point, start and end of each element in turn
  std::vector<float> elementZ_;   // z of every point, or empty when every z is 0
  OrderPoint elementPoint(std::size_t point) const {
    return {elementXY_[2 * point], elementXY_[2 * point + 1], elementZ_.empty() ? 0.0f : elementZ_[point]};
  }
  std::vector<std::uint32_t> bucketStart_;  // slots_[bucketStart_[b], bucketStart_[b + 1]) lie in bucket b
  std::uint64_t bucketMask_ = 0;            // a power of two buckets, less one
  std::vector<std::uint32_t> nextLive_;     // union-find over slots: a removed slot points further on
  std::vector<unsigned char> removed_;
  std::size_t firstRemaining_ = 0;
};

}  // namespace kw
