#pragma once
// A serial line for tests that keeps every byte written, and a clock that only counts: each
// turn of waiting is one millisecond.
#include <cstdint>
#include <string>

#include "core/comm/CommLine.h"

namespace kw {

class RecordingLine : public CommLine {
 public:
  std::string written;
  bool open = true;
  int refuseAfter = -1;  // bytes taken before the line stops taking any (-1 = never)
  SendFault fault = SendFault::None;

  bool IsOpen() const override { return open; }
  std::int32_t SendBytes(const unsigned char* data, std::uint32_t count) override {
    fault = SendFault::None;
    if (!open || count == 0) return 0;
    if (refuseAfter >= 0 && written.size() >= static_cast<std::size_t>(refuseAfter)) {
      fault = SendFault::TimedOut;
      return 0;
    }
    written.append(reinterpret_cast<const char*>(data), count);
    return static_cast<std::int32_t>(count);
  }
  int OutputSpaceFree() override { return open ? 2048 : -1; }
  void PurgeBuffers(bool, bool) override {}
  void SetDtrLine(bool) override {}
  void SetRtsLine(bool) override {}
  void ClosePort() override { open = false; }
  SendFault lastFault() const override { return fault; }
};

class CountingClock : public CommClock {
 public:
  std::uint32_t now = 0;
  std::uint32_t ticks() override { return now; }
  void idle() override { ++now; }
};

}  // namespace kw
