#pragma once
// Sending the program to a controller or a tape punch, one character at a time, with the
// profile's framing, delays, stripping, translation, start and end characters, file name line,
// leader, trailer, track-8 parity and readable header.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/comm/CommLine.h"
#include "core/ui/UiPort.h"

namespace kw {

class MachineProfile;

inline constexpr std::string_view kTimeOutCaption = "TimeOut Err Close Comm and try Again";

// The settings a transmit reads at its start.
struct TransmitOptions {
  int lineDelay = 0;   // "Line Delay Ms", 0 for a text that is not a whole number
  int charDelay = 0;   // "Char Delay Ms"
  int firstChar = -1;  // sent before the program when 0 or more
  int lastChar = -1;   // sent after the program when 0 or more
  bool crLf = false;
  bool stripSpaces = false;
  bool translate = false;
  bool fileNameLine = false;  // the first line becomes the file name in parentheses
  bool tape = false;          // punch: leader, trailer, parity marks, tape picture
  bool readableHeader = false;
  int headLength = 0;
  int headChar = 0;
  char parity = 0;  // 'E' or 'O' marks track 8 in punch mode
  bool sevenDataBits = false;
  bool dontTransmit = false;  // show the output instead of sending it
};
TransmitOptions transmitOptions(const MachineProfile& profile, bool dontTransmit);

struct TransmitProgress {
  std::size_t lines = 0, totalLines = 0;  // program lines done, of how many
  std::size_t bytes = 0, totalBytes = 0;  // bytes gone to the line, of how many
};

// Where a transmit shows what it does: the communication window, or stderr headless.
class TransmitView {
 public:
  virtual ~TransmitView() = default;
  // Empties the transmit, receive and tape windows.
  virtual void clearWindows() {}
  // "Dont Transmit": a line that would have been sent, without its line end.
  virtual void addTransmitLine(const std::string& /*text*/) {}
  // Before program line `line` goes out: its number, a blank and the line.
  virtual void showProgress(const std::string& /*numberedLine*/, const TransmitProgress&) {}
  // A row of the tape picture; the newest row stands on top.
  virtual void addTapeRow(const std::string& /*row*/) {}
  // Esc or the Stop button.
  virtual bool stopRequested() { return false; }
};

enum class TransmitEnd { Done, TimedOut, HungUp, Stopped };

struct TransmitResult {
  TransmitEnd end = TransmitEnd::Done;
  std::size_t bytesSent = 0;
  std::size_t eighthBitLost = 0;  // bytes above 127 sent on a 7-bit line
};

// What the user is told after a transmit: why it ended early, and what a 7-bit line did to
// bytes above 127. Empty for a transmit that went as asked.
std::string transmitReport(const TransmitResult& result);

// The transmit command. A character that cannot be written within the output time-out, or a
// line that goes away, ends the transmit: a beep, the communication window's caption
// kTimeOutCaption, the port closed. Esc ends it too, discarding what waits in the output queue.
TransmitResult Send1Click(const TransmitOptions& options, const MachineProfile& profile,
                          const std::vector<std::string>& program, std::string_view title, CommLine& line,
                          CommClock& clock, UiPort& ui, TransmitView& view);

// "Send From Line": the opening lines of the program (those before its first line that moves
// an axis), then the program from line `from` (an index) on, so that a job broken off there
// is resumed with its units, plane and modes set. Nothing, with the user told why, for a
// program that holds the incremental word: its position at a line is known only from every
// line before it.
inline constexpr std::string_view kSendFromLineIncremental =
    "Send From Line needs an absolute program: in an incremental one the position at a line depends on "
    "every line before it.";
std::vector<std::string> programFromLine(const MachineProfile& profile, const std::vector<std::string>& program,
                                         std::size_t from, UiPort& ui);

// The first program line as its file name: the title without blanks, minus signs,
// underscores and full stops, at most 8 characters, in parentheses.
std::string fileNameLine(std::string_view title);

}  // namespace kw
