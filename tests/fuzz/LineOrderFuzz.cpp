// The word order of the batch conversion over a whole program: M after G or after R, with the
// profile's X and Y letters as shipped or swapped, and comments in parentheses or not. A line
// grows by at most the blank after each of its eleven words.
#include "core/profile/Dialect.h"
#include "core/texttools/LineOrder.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using enum kw::LabelRow;
  kwfuzz::Input input(data, size);
  const unsigned options = input.bits();
  kw::MachineProfile profile = kwfuzz::defaultProfile();
  if (input.bit(options, 1)) {
    profile.setCell(kw::rowIndex(XLetter), 1, "Y");
    profile.setCell(kw::rowIndex(YLetter), 1, "X");
  }
  if (input.bit(options, 2)) {
    profile.setCell(kw::rowIndex(Trans170), 1, "(");
    profile.setCell(kw::rowIndex(Trans171), 1, ")");
  }
  std::vector<std::string> lines = kwfuzz::programLines(input.rest());
  kw::applyLineOrder(lines, input.bit(options, 0), kw::Dialect(profile).lettersWithoutBlanks());
  for (const std::string& line : lines)
    if (line.size() > kw::kMaxBlockLength + 11) std::abort();
  return 0;
}
