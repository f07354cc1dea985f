#include "core/ui/UiPort.h"

#include <cstdio>

namespace kw {

void StderrPort::message(std::string_view text) {
  std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

void StderrPort::showLayerLog(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) message(line);
}

Answer StderrPort::askYesNo(std::string_view text) {
  std::fprintf(stderr, "%.*s [answered No]\n", static_cast<int>(text.size()), text.data());
  return Answer::No;
}

}  // namespace kw
