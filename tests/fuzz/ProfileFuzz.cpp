// A profile file read, loaded and saved over itself, then loaded again from what was saved: the
// second load must hold every value of the first, or a setting did not survive its own save.
#include "core/profile/ProfileFile.h"
#include "fuzz/FuzzSupport.h"

namespace {

std::string stored(const kw::MachineProfile& profile) {
  kw::IniFile ini;
  kw::Svini(profile, ini);
  return ini.text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kw::IniFile ini;
  std::string error;
  if (!ini.load(kwfuzz::writeScratch("profile.ini", {reinterpret_cast<const char*>(data), size}), &error))
    return 0;  // refused with a reason, as UTF-16 text with characters that do not fit a byte is
  kw::MachineProfile profile, reloaded;
  kw::Ldini(profile, ini);
  kw::Svini(profile, ini);
  kw::Ldini(reloaded, kw::IniFile::fromText(ini.text()));
  if (stored(reloaded) != stored(profile)) std::abort();
  return 0;
}
