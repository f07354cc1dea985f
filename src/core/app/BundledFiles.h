#pragma once
// Files shipped inside the executable: the machine profiles and the help page.
#include <string_view>
#include <vector>

namespace kw {

struct BundledFile {
  std::string_view name;
  std::string_view bytes;
};

const std::vector<BundledFile>& bundledProfiles();
// The help page and its pictures, seeded into the program folder's "help" folder.
const std::vector<BundledFile>& bundledHelp();

}  // namespace kw
