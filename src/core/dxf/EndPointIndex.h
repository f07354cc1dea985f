#pragma once
// The index behind the path ordering: the two end points of every element in a grid of cells
// four times as wide as the connect tolerance. The cells are hashed into buckets (about one per
// four points), each bucket listing its points in file order, so "the first remaining element from
// here on that connects to this point" costs one to four bucket look-ups instead of a walk over
// the whole element list. A bucket may hold points of other cells too: every candidate is
// checked against the tolerance.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/text/RawVector.h"

namespace kw {

struct OrderPoint {
  float x = 0, y = 0, z = 0;
};

// |dx| + |dy| + |dz| <= tolerance, summed in double.
bool pointsConnect(const OrderPoint& a, const OrderPoint& b, float tolerance);

// Points, with z only where it is asked for (every z is 0 then), at two or three floats each.
class PointList {
 public:
  PointList(std::size_t count, bool withZ) : xy_(2 * count, 0.0f), z_(withZ ? count : 0, 0.0f), withZ_(withZ) {}
  std::size_t size() const { return xy_.size() / 2; }
  OrderPoint operator[](std::size_t point) const {
    return {xy_[2 * point], xy_[2 * point + 1], z_.empty() ? 0.0f : z_[point]};
  }
  void set(std::size_t point, const OrderPoint& p) {
    xy_[2 * point] = p.x;
    xy_[2 * point + 1] = p.y;
    if (!z_.empty()) z_[point] = p.z;
  }
  // Asks for the point's place to be brought into the cache.
  void prefetch(std::size_t point) const { __builtin_prefetch(xy_.data() + 2 * point); }
  bool withZ() const { return withZ_; }
  void reserve(std::size_t count);
  // Points there is room for without the points moving.
  std::size_t capacity() const { return withZ_ ? std::min(xy_.capacity() / 2, z_.capacity()) : xy_.capacity() / 2; }
  // `count` points, any new one `p`.
  void resize(std::size_t count, const OrderPoint& p = {});
  // `count` points, each new one to be written with `copy` or `set` before it is read.
  void growForOverwrite(std::size_t count) {
    xy_.resize(2 * count);
    if (withZ_) z_.resize(count);
  }
  void push_back(const OrderPoint& p) {
    xy_.push_back(p.x);
    xy_.push_back(p.y);
    if (withZ_) z_.push_back(p.z);
  }
  void pop_back() {
    xy_.resize(xy_.size() - 2);
    if (withZ_) z_.pop_back();
  }
  // No points, z kept or not as `withZ` says; the room stays.
  void reset(bool withZ) {
    xy_.clear();
    z_.clear();
    withZ_ = withZ;
  }
  // Points [from, to) of `other` (which keeps z when these do) written over these from `at` on.
  void copy(const PointList& other, std::size_t from, std::size_t to, std::size_t at);
  // Points [from, to) moved to start at `at`; the two places may overlap.
  void move(std::size_t from, std::size_t to, std::size_t at);
  // Lets go of z when every point's is 0.
  void dropZerosOfZ();
  void release();

 private:
  RawVector<float> xy_;  // x and y of every point
  RawVector<float> z_;   // z of every point, or empty
  bool withZ_;
};

class EndPointIndex {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  // The end points of the elements, point 2 * i the start of element i and point 2 * i + 1 its
  // end: the index keeps them.
  EndPointIndex(PointList given, float tolerance);

  // The end points of element i as they were given.
  OrderPoint start(std::size_t element) const { return points_[2 * element]; }
  OrderPoint end(std::size_t element) const { return points_[2 * element + 1]; }

  std::size_t elements() const { return removed_.size(); }
  // Every element back in, as when the index was made.
  void restore();

  // Takes an element out: it is never found again.
  void remove(std::size_t element);
  bool removed(std::size_t element) const { return removed_[element] != 0; }

  // The smallest element index not below `from` that is not removed and whose start or end
  // connects to `point`; npos when there is none. Then, with `below`, *below is the smallest such
  // index below `from` (npos when there is none): what a search from 0 would answer.
  std::size_t firstConnecting(const OrderPoint& point, std::size_t from, std::size_t* below = nullptr);

  // The smallest element index that is not removed; npos when every element is removed.
  std::size_t firstRemaining();

  // A search for `point` to come (a path's start, where a closed path comes back to): `expect`
  // notes its buckets and asks for their places in the cache, and each call of `prepare` brings
  // the next thing the search reads there (the bucket's slots, then their elements and points),
  // so that the search, when it comes, finds them there. Only speed depends on it.
  void expect(const OrderPoint& point);
  void prepare();
  // The same for the first searches of the paths that may begin after element `element`: the
  // paths of a drawing mostly begin one after another in file order, and a path of one element
  // (a circle) is searched for as soon as it begins. The elements one, two and three on are each
  // prepared a stage further, one stage each time a path begins.
  void lookAhead(std::size_t element);

 private:
  std::int64_t cellOf(double value) const;
  // The cells a point's connecting points lie in: x0 to x1 by y0 to y1.
  struct Cells {
    std::int64_t x0, x1, y0, y1;
  };
  Cells cellsAround(const OrderPoint& point) const;
  // A cell's bucket, and a tag that tells most other cells of the bucket from it.
  struct CellHash {
    std::size_t bucket;
    std::uint8_t tag;
  };
  CellHash hashOf(std::int64_t cx, std::int64_t cy) const;
  // The first slot at or after `slot` with an element that is not removed (slots_.size() if none).
  std::uint32_t liveSlot(std::uint32_t slot);
  bool slotRemoved(std::uint32_t slot) const;

  float tolerance_;
  double cellSize_ = 1, cellsPerUnit_ = 1;
  // The points by bucket, each bucket in file order, a point known by its number: 2 * element for
  // the start, one more for the end (an end the next start repeats has no slot of its own). A
  // bucket's candidates are checked against the points below.
  RawVector<std::uint32_t> slots_;
  // The tag of each slot's cell (seven bits): a slot of another cell is passed over without a
  // look at its element or point, which lie elsewhere in memory. The eighth bit marks the slot of
  // a start that the end before it shares (kTwoElements).
  RawVector<std::uint8_t> tags_;
  static constexpr std::uint8_t kTwoElements = 0x80;
  PointList points_;
  std::vector<std::uint32_t> bucketStart_;  // slots_[bucketStart_[b], bucketStart_[b + 1]) lie in bucket b
  std::uint64_t bucketMask_ = 0;            // a power of two buckets, less one
  RawVector<std::uint32_t> nextLive_;     // union-find over slots: a removed slot points further on
  std::vector<unsigned char> removed_;
  std::size_t firstRemaining_ = 0;
  std::size_t expected_[4] = {};  // the buckets of the search to come
  int expectedBuckets_ = 0, preparation_ = 0;
};

}  // namespace kw
