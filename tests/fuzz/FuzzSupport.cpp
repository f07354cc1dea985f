#include "fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "core/app/BundledFiles.h"
#include "core/profile/Dialect.h"
#include "core/profile/ProfileFile.h"
#include "core/text/FileIo.h"
#include "core/texttools/LineOrder.h"
#include "support/TempDir.h"

namespace kwfuzz {

unsigned Input::bits() {
  if (bytes_.empty()) return 0;
  const unsigned value = static_cast<unsigned char>(bytes_.front());
  bytes_.remove_prefix(1);
  return value;
}

void setFlags(kw::MachineProfile& profile, const std::vector<const char*>& flags, unsigned bits) {
  for (std::size_t n = 0; n < flags.size(); ++n)
    if ((bits >> n & 1u) != 0) profile.setFlag(flags[n], !profile.flag(flags[n]));
}

std::vector<std::string> splitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const std::size_t end = std::min(bytes.find('\n'), bytes.size());
    lines.emplace_back(bytes.substr(0, end));
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
  }
  return lines;
}

std::function<std::string(std::string_view)> mLastOrder(const kw::MachineProfile& profile) {
  return [letters = kw::Dialect(profile).lettersWithoutBlanks()](std::string_view line) {
    return kw::lineOrderNGXYZIJKRM(line, letters);
  };
}

kw::MachineProfile defaultProfile() {
  static const kw::MachineProfile loaded = [] {
    kw::MachineProfile profile;
    for (const kw::BundledFile& file : kw::bundledProfiles())
      if (file.name == "kerfwerk.ini") kw::Ldini(profile, kw::IniFile::fromText(file.bytes));
    return profile;
  }();
  return loaded;
}

std::string scratchFolder() {
  static const kwtest::TempDir folder;
  return folder.path().string();
}

std::string writeScratch(const std::string& name, std::string_view bytes) {
  const std::string path = scratchFolder() + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::vector<std::string> programLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::string error;
  if (!kw::readTextLines(writeScratch("program.nc", bytes), lines, &error)) lines.clear();
  return lines;
}

}  // namespace kwfuzz
