#include "core/text/RawVector.h"

#include <sys/mman.h>

#include <cstdint>

namespace kw {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t roundedUp(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

}  // namespace

void* allocateLarge(std::size_t bytes) {
  const std::size_t size = roundedUp(bytes);
  // A huge page more than asked for, so that the room can start on a huge page's boundary; what
  // lies before and after it goes back at once.
  void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) munmap(mapped, aligned - start);
  if (const std::size_t after = start + size + kHugePage - (aligned + size); after > 0)
    munmap(reinterpret_cast<void*>(aligned + size), after);
  void* room = reinterpret_cast<void*>(aligned);
  madvise(room, size, MADV_HUGEPAGE);  // a hint: without it the pages are small
  return room;
}

void releaseLarge(void* room, std::size_t bytes) noexcept { munmap(room, roundedUp(bytes)); }

}  // namespace kw
