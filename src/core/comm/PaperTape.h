#pragma once
// The eight-track paper tape: how a punched row is drawn, the shapes of the readable header's
// letters, and the track-8 parity marks.
#include <string>
#include <string_view>
#include <vector>

namespace kw {

// The tape picture of one punched row: track 8 ("#"), tracks 7 to 4, the feed hole ".",
// tracks 3 to 1 ("*" for a hole, blank for none).
std::string tapeRow(unsigned char code);
// The picture of a readable-header row: tracks 7 to 4, ".", tracks 3 to 1.
std::string headerRow(unsigned char code);
// The columns of a character of the readable header (looked up in upper case): six for a
// character with a glyph, the last of them 0, else one column of 0.
std::vector<unsigned char> glyphColumns(char c);
// The header bytes of a title: each character from the last to the first, its columns from
// the last to the first.
std::string readableHeaderBytes(std::string_view title);

// The communication window's character remover: the block scanner's modes A, B, L and R,
// and E and O, which add 128 (within a byte) to every character whose code is even or odd.
std::string Strip(char mode, char ch, std::string_view text);

}  // namespace kw
