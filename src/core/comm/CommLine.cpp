#include "core/comm/CommLine.h"

#include <chrono>
#include <thread>

namespace kw {

std::uint32_t SteadyClock::ticks() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SteadyClock::idle() {
  if (onIdle) onIdle();
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void Delay(CommClock& clock, int ms, const std::function<bool()>& stop) {
  if (ms <= 0) return;
  const std::uint32_t start = clock.ticks();
  while (clock.ticks() - start < static_cast<std::uint32_t>(ms)) {
    if (stop && stop()) return;
    clock.idle();
  }
}

}  // namespace kw
