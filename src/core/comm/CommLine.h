#pragma once
// What the transmit, the tape punch and the terminal need of a serial line, and the clock
// their waits run on. The program's own driver implements the line over termios; tests hand
// in a recording line and a clock that only counts.
#include <cstdint>
#include <functional>

namespace kw {

// Why the last SendBytes fell short.
enum class SendFault { None, TimedOut, HungUp };

class CommLine {
 public:
  virtual ~CommLine() = default;
  virtual bool IsOpen() const = 0;
  // The number of bytes written; the negated number written when the output time-out struck
  // or the line went away; 0 when closed or count is 0.
  virtual std::int32_t SendBytes(const unsigned char* data, std::uint32_t count) = 0;
  // Bytes the output queue still takes, -1 when closed.
  virtual int OutputSpaceFree() = 0;
  virtual void PurgeBuffers(bool input, bool output) = 0;
  virtual void SetDtrLine(bool on) = 0;
  virtual void SetRtsLine(bool on) = 0;
  virtual void ClosePort() = 0;
  // Set by every SendBytes: None when all bytes went out (or the port was closed).
  virtual SendFault lastFault() const = 0;
};

// Milliseconds since some start, and a way to let pending events run while waiting.
class CommClock {
 public:
  virtual ~CommClock() = default;
  virtual std::uint32_t ticks() = 0;
  // One turn of waiting: pending events (the receive poll, repaints, Esc) run.
  virtual void idle() = 0;
};

// The system's monotonic clock; a turn of waiting runs onIdle and sleeps a millisecond.
class SteadyClock : public CommClock {
 public:
  std::uint32_t ticks() override;
  void idle() override;
  std::function<void()> onIdle;
};

// Waits until the clock has advanced by ms from the moment of the call, idling between
// looks; stops early when `stop` says so.
void Delay(CommClock& clock, int ms, const std::function<bool()>& stop = {});

}  // namespace kw
