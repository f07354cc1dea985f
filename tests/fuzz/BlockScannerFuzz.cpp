// The block scanner over any block: a letter's value, the split into words with and without
// comment delimiters (what is left of a block is never longer than a block), and the stripping
// of a character.
#include "core/text/BlockScanner.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kwfuzz::Input input(data, size);
  const char letter = static_cast<char>(input.bits());
  const unsigned options = input.bits();
  const std::string_view block = input.rest();
  const kw::LetterValue found = kw::FindLetterValue(std::string(1, letter), block);
  if (!found.found && found.value != 0.0f) std::abort();
  kw::BlockLetters letters;
  if (input.bit(options, 0)) letters.commentStart = "(";
  if (input.bit(options, 1)) letters.commentEnd = ")";
  if (input.bit(options, 2)) letters.x = std::string(1, letter);
  if (kw::SplitBlockWords(block, letters).rest.size() > kw::kMaxBlockLength) std::abort();
  kw::StripChar("ABLR"[options >> 3 & 3u], letter, block);
  return 0;
}
