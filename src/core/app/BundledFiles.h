#pragma once
// Files shipped inside the executable (the machine profiles of profiles/).
#include <string_view>
#include <vector>

namespace kw {

struct BundledFile {
  std::string_view name;
  std::string_view bytes;
};

const std::vector<BundledFile>& bundledProfiles();

}  // namespace kw
