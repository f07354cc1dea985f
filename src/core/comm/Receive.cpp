#include "core/comm/Receive.h"

namespace kw {

std::size_t receiveBytes(std::vector<std::string>& lines, const unsigned char* data, std::size_t size) {
  const std::size_t first = lines.empty() ? 0 : lines.size() - 1;
  std::string working = lines.empty() ? std::string() : lines.back();
  auto store = [&] {
    if (lines.empty())
      lines.push_back(working);
    else
      lines.back() = working;
  };
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char c = data[i];
    if (c == 0 || c == '\n') continue;
    if (c == 8) {
      if (!working.empty()) working.pop_back();
    } else if (c == '\r') {
      store();
      lines.emplace_back();
      working.clear();
    } else {
      working += static_cast<char>(c);
    }
  }
  if (!working.empty()) store();
  return first;
}

std::size_t TxRichEdit1KeyPress(CommLine& line, const std::vector<std::string>& transmitLines, int key) {
  if (key != 13 || !line.IsOpen()) return 0;
  std::size_t sent = 0;
  if (!transmitLines.empty() && !transmitLines.back().empty()) {
    const std::string& last = transmitLines.back();
    const std::int32_t n = line.SendBytes(reinterpret_cast<const unsigned char*>(last.data()),
                                          static_cast<std::uint32_t>(last.size()));
    if (n > 0) sent += static_cast<std::size_t>(n);
  }
  const unsigned char cr = '\r';
  if (line.SendBytes(&cr, 1) == 1) ++sent;
  return sent;
}

}  // namespace kw
