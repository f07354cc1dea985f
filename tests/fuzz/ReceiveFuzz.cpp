// Arbitrary bytes arriving on the line, in polls of arbitrary sizes, into the receive window;
// then the terminal's Enter and a transmit of what was received, with options from the first
// byte. The window's lines never hold NUL, LF or CR, lines before the one being received never
// change, each CR opens exactly one line, and every byte a transmit counts reaches the line.
#include <algorithm>

#include "core/comm/Receive.h"
#include "core/comm/Transmit.h"
#include "fuzz/FuzzSupport.h"
#include "support/RecordingLine.h"
#include "support/RecordingPort.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kwfuzz::Input input(data, size);
  const unsigned options = input.bits();
  const unsigned pollSize = input.bits() % 32 + 1;
  const std::string_view bytes = input.rest();
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < bytes.size(); at += pollSize) {
    const std::string_view poll = bytes.substr(at, pollSize);
    const std::vector<std::string> before = lines;
    const std::size_t crs = static_cast<std::size_t>(std::count(poll.begin(), poll.end(), '\r'));
    const std::size_t first =
        kw::receiveBytes(lines, reinterpret_cast<const unsigned char*>(poll.data()), poll.size());
    if (first > before.size() || lines.size() < before.size() + crs || lines.size() > before.size() + crs + 1)
      std::abort();
    for (std::size_t i = 0; i < first && i < before.size(); ++i)
      if (lines[i] != before[i]) std::abort();
  }
  for (const std::string& line : lines)
    if (line.find_first_of(std::string_view("\0\n\r", 3)) != std::string::npos) std::abort();

  kw::RecordingLine line;
  const std::size_t typed = kw::TxRichEdit1KeyPress(line, lines, 13);
  if (line.written.size() != typed || line.written.back() != '\r') std::abort();

  kw::MachineProfile profile = kwfuzz::defaultProfile();
  kwfuzz::setFlags(profile, {"CheckBox4", "RadioButton17", "TranslateCheckBox", "TransFileCheckBox", "TapeCheckBox",
                             "ReadableCheckBox", "TapeRadioButtonEven", "TapeRadioButtonOdd"},
                   options);
  profile.setNumber("HeaderLenSpinEdit", static_cast<int>(options % 5));
  profile.setCell(29, 0, "G");
  profile.setCell(29, 1, "GG");
  line.written.clear();
  line.refuseAfter = options & 1 ? static_cast<int>(bytes.size()) : -1;
  kw::CountingClock clock;
  kw::RecordingPort ui;
  kw::TransmitView view;
  const kw::TransmitResult r = kw::Send1Click(kw::transmitOptions(profile, false), profile, lines,
                                              lines.empty() ? "" : lines.front(), line, clock, ui, view);
  if (r.bytesSent != line.written.size()) std::abort();
  const bool refused = r.end == kw::TransmitEnd::TimedOut;
  if (refused != (line.refuseAfter >= 0 && r.end != kw::TransmitEnd::Done)) std::abort();
  if (refused && line.written.size() != static_cast<std::size_t>(line.refuseAfter)) std::abort();
  if (line.refuseAfter < 0 && r.end != kw::TransmitEnd::Done) std::abort();
  return 0;
}
