#include "core/ui/UiPort.h"

#include <cstdio>

namespace kw {

void StderrPort::message(std::string_view text) {
  std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

Answer StderrPort::askYesNo(std::string_view text) {
  std::fprintf(stderr, "%.*s [answered No]\n", static_cast<int>(text.size()), text.data());
  return Answer::No;
}

}  // namespace kw
