#pragma once
// A vector of plain numbers whose new elements are left as they come, not zeroed, when it grows by
// resize or is made with a size: for the large arrays of a conversion that are written in full
// right after. Their memory is then first touched by whoever writes it, two threads at once where
// the work is halved, not by one thread zeroing it beforehand.
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace kw {

// Room for a large array straight from the system, in whole huge pages where the system gives
// them: a conversion reads its large arrays all over, and with small pages each first touch is a
// fault and each far read a look-up of its page. Null when there is no room.
inline constexpr std::size_t kLargeArray = std::size_t{4} << 20;
void* allocateLarge(std::size_t bytes);
void releaseLarge(void* room, std::size_t bytes) noexcept;

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

  T* allocate(std::size_t n) {
    if (n * sizeof(T) < kLargeArray) return std::allocator<T>::allocate(n);
    if (void* room = allocateLarge(n * sizeof(T))) return static_cast<T*>(room);
    throw std::bad_alloc();
  }
  void deallocate(T* at, std::size_t n) noexcept {
    if (n * sizeof(T) < kLargeArray)
      std::allocator<T>::deallocate(at, n);
    else
      releaseLarge(at, n * sizeof(T));
  }

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
