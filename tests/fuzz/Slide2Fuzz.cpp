// SLIDE2 with every operation code over a program, on the whole program or a highlighted block,
// with "Incremental  Type I J", the array mode, the word order of "Swap X Y " and a conversion
// rule that stops the run drawn from the input. A line it rewrites holds at most 255 bytes and
// the blank after each reordered word; outside the array mode no line comes or goes.
#include "core/geometry/Slide2.h"
#include "fuzz/FuzzSupport.h"
#include "support/RecordingPort.h"

namespace {

// Makes every value relative to the line before; stops at a line holding "M0".
class RelativeValues : public kw::LineConversion {
 public:
  bool convert(kw::SlideLine& line) override {
    if (line.text.find("M0") != std::string_view::npos) return false;
    for (std::size_t w = 0; w < kw::kSlideWords; ++w) line.value[w] -= line.previous[w];
    return true;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char kCodes[] = {'1', '2', '3', '4', '6', '7', '8', '9', '5', '0', 'F', 'X', 'I', 'A', '?'};
  kwfuzz::Input input(data, size);
  const unsigned code = input.bits(), options = input.bits(), value = input.bits();
  const int first = static_cast<int>(input.bits()) - 2, count = static_cast<int>(input.bits()) - 1;
  const kw::MachineProfile profile = kwfuzz::defaultProfile();
  kw::SlideSettings settings;
  settings.dialect = kw::Dialect(profile);
  settings.decimals = static_cast<int>(options >> 5);
  settings.distance = (static_cast<float>(value) - 128.0f) * 0.8f;
  settings.size = static_cast<float>(value) / 2.55f;
  settings.incrementalIJ = input.bit(options, 0);
  settings.arrayMode = input.bit(options, 1);
  if (input.bit(options, 2)) settings.reorder = kwfuzz::mLastOrder(kwfuzz::defaultProfile());
  std::vector<std::string> lines = kwfuzz::splitLines(input.rest());
  const std::vector<std::string> before = lines;
  kw::RecordingPort port;
  RelativeValues conversion;
  const kw::SlideResult result = kw::SLIDE2(lines, kCodes[code % std::size(kCodes)], settings, {first, count}, port,
                                            input.bit(options, 3) ? &conversion : nullptr);
  if (result.rewritten > before.size()) std::abort();
  if (!settings.arrayMode && lines.size() != before.size()) std::abort();
  for (std::size_t i = 0; i < lines.size(); ++i)
    if ((i >= before.size() || lines[i] != before[i]) && lines[i].size() > kw::kMaxBlockLength + 11) std::abort();
  return 0;
}
