// The offset pipeline over a program, block by block or over a highlighted range, with either
// centre convention, the word order of "Swap X Y ", any number of decimals and the offset text
// of the program's first line. Each run writes its path between two lines of a single blank,
// and no line it writes is longer than its words can make it.
#include "core/geometry/Offset.h"
#include "fuzz/FuzzSupport.h"
#include "support/RecordingPort.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kwfuzz::Input input(data, size);
  const unsigned options = input.bits();
  const int first = static_cast<int>(input.bits()) - 2, count = static_cast<int>(input.bits()) - 1;
  kw::OffsetSettings settings;
  settings.dialect = kw::Dialect(kwfuzz::defaultProfile());
  settings.decimals = static_cast<int>(options >> 4);
  settings.incrementalIJ = input.bit(options, 0);
  if (input.bit(options, 1)) settings.reorder = kwfuzz::mLastOrder(kwfuzz::defaultProfile());
  std::vector<std::string> lines = kwfuzz::splitLines(input.rest());
  kw::OffsetWindowState window;
  if (!lines.empty()) window.offsetText = lines.front();
  kw::RecordingPort port;
  kw::Button4Click(lines, {first, count}, window, settings, port);
  if (!window.lines.empty() && (window.lines.front() != " " || window.lines.back() != " ")) std::abort();
  // A G word of at most 255 bytes, then at most seven words of a letter and a number.
  for (const std::string& line : window.lines)
    if (line.size() > kw::kMaxBlockLength + 7 * (kw::kMaxBlockLength + 40) + 11) std::abort();
  return 0;
}
