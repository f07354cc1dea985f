#pragma once
// A vector of plain numbers whose new elements are left as they come, not zeroed, when it grows by
// resize or is made with a size: for the large arrays of a conversion that are written in full
// right after. Their memory is then first touched by whoever writes it, two threads at once where
// the work is halved, not by one thread zeroing it beforehand.
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace kw {

template <typename T>
class LeftAsTheyCome : public std::allocator<T> {
 public:
  template <typename U>
  struct rebind {
    using other = LeftAsTheyCome<U>;
  };
  LeftAsTheyCome() = default;
  template <typename U>
  LeftAsTheyCome(const LeftAsTheyCome<U>&) noexcept {}  // NOLINT(google-explicit-constructor): as std::allocator

  template <typename U>
  void construct(U* at) noexcept {
    static_assert(std::is_trivially_default_constructible_v<U>);
    ::new (static_cast<void*>(at)) U;
  }
  template <typename U, typename... Args>
  void construct(U* at, Args&&... args) {
    ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
  }
};

template <typename T>
using RawVector = std::vector<T, LeftAsTheyCome<T>>;

}  // namespace kw
