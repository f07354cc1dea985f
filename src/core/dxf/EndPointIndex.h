#pragma once
// The index behind the path ordering: the two end points of every element in a grid of cells
// twice as wide as the connect tolerance, each cell listing its elements in file order, so "the
// first remaining element from here on that connects to this point" costs one to four cell
// look-ups instead of a walk over the whole element list.
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

  // starts[i] and ends[i] are the end points of element i; both vectors must outlive the index.
  EndPointIndex(const std::vector<OrderPoint>& starts, const std::vector<OrderPoint>& ends, float tolerance);

  // Takes an element out: it is never found again.
  void remove(std::size_t element);
  bool removed(std::size_t element) const { return removed_[element] != 0; }

  // The smallest element index not below `from` that is not removed and whose start or end
  // connects to `point`; npos when there is none.
  std::size_t firstConnecting(const OrderPoint& point, std::size_t from);

  // The smallest element index that is not removed; npos when every element is removed.
  std::size_t firstRemaining();

 private:
  struct Slot {
    std::uint32_t element;
    std::uint32_t isEnd;  // 0: the start point, 1: the end point
  };
  struct Cell {
    std::uint64_t key = 0;
    std::uint32_t begin = 0, end = 0;  // slots_[begin, end) lie in the cell; end 0: a free place
  };

  std::int64_t cellOf(double value) const;
  static std::uint64_t keyOf(std::int64_t cx, std::int64_t cy);
  const Cell* findCell(std::uint64_t key) const;
  // The first slot at or after `slot` whose element is not removed (slots_.size() if none).
  std::uint32_t liveSlot(std::uint32_t slot);

  const std::vector<OrderPoint>& starts_;
  const std::vector<OrderPoint>& ends_;
  float tolerance_;
  double cellSize_ = 1;
  std::vector<Slot> slots_;
  std::vector<std::uint32_t> nextLive_;  // union-find over slots: a removed slot points further on
  std::vector<Cell> cells_;  // open addressing, a power of two in size
  std::uint64_t cellMask_ = 0;
  std::vector<unsigned char> removed_;
  std::size_t firstRemaining_ = 0;
};

}  // namespace kw
