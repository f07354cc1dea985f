#include "core/dxf/EndPointIndex.h"

#include <cstddef>
#include <vector>

#include <gtest/gtest.h>

namespace kw {
namespace {

constexpr std::size_t kNone = EndPointIndex::npos;

// Four elements in a chain along X, element e from x = e to x = e + 1, so that each of the last
// three starts exactly where the one before it ends and shares its slot in the index; then one
// element on its own that ends at x = 2 as well. Each element is still found by its own start or
// end: from any element on, and below it when nothing is found from there.
TEST(EndPointIndex, ElementsThatShareAPointAreEachFound) {
  struct Query {
    float x;
    std::size_t from;
    std::vector<std::size_t> removed;
    std::size_t found, below;
  };
  const Query queries[] = {
      {1, 0, {}, 0, kNone},      // the end of element 0 and the start of element 1
      {1, 0, {0}, 1, kNone},
      {1, 2, {}, kNone, 0},      // nothing from 2 on; below: element 0 by its end
      {1, 2, {0}, kNone, 1},     // below: element 1 by its start
      {1, 1, {1}, kNone, 0},     // element 1's slot stands for element 0's end
      {1, 0, {0, 1}, kNone, kNone},
      {2, 0, {}, 1, kNone},
      {2, 2, {}, 2, kNone},
      {2, 3, {}, 4, kNone},      // the lone element by its end
      {2, 3, {4}, kNone, 1},
      {4, 0, {}, 3, kNone},
      {0, 1, {}, kNone, 0},
      {0.5f, 0, {}, kNone, kNone},
  };
  for (const Query& q : queries) {
    PointList points(0, false);
    for (int e = 0; e < 4; ++e) {
      points.push_back({static_cast<float>(e), 0, 0});
      points.push_back({static_cast<float>(e + 1), 0, 0});
    }
    points.push_back({2, 5, 0});
    points.push_back({2, 0, 0});
    EndPointIndex index(std::move(points), 0.005f);
    for (std::size_t e : q.removed) index.remove(e);
    std::size_t below = 99;
    EXPECT_EQ(index.firstConnecting({q.x, 0, 0}, q.from, &below), q.found) << "x " << q.x << " from " << q.from;
    if (q.found == kNone) EXPECT_EQ(below, q.below) << "x " << q.x << " from " << q.from;
  }
}

}  // namespace
}  // namespace kw
