#pragma once
// What comes in from the controller, shown line by line, and the terminal that sends what
// the user types.
#include <cstddef>
#include <string>
#include <vector>

#include "core/comm/CommLine.h"

namespace kw {

// Adds the bytes of one poll to the receive window's lines: 0 and LF are ignored, backspace
// deletes the last character of the line being received, CR ends it and opens an empty
// line, every other byte is the character of its code. Returns the index of the first line
// that changed (lines before it are as they were).
std::size_t receiveBytes(std::vector<std::string>& lines, const unsigned char* data, std::size_t size);

// A key typed into the transmit window: Enter (13) on an open line sends the window's last
// line, when it has one, unchanged and then CR. Returns the bytes written.
std::size_t TxRichEdit1KeyPress(CommLine& line, const std::vector<std::string>& transmitLines, int key);

}  // namespace kw
