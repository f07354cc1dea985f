// A profile file read and loaded, saved, and loaded again: the second save must give the same
// bytes as the first, or a setting did not survive its own save.
#include "core/profile/ProfileFile.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kw::IniFile ini;
  std::string error;
  if (!ini.load(kwfuzz::writeScratch("profile.ini", {reinterpret_cast<const char*>(data), size}), &error)) std::abort();
  kw::MachineProfile profile;
  kw::Ldini(profile, ini);
  kw::Svini(profile, ini);
  const std::string saved = ini.text();
  kw::IniFile again = kw::IniFile::fromText(saved);
  kw::MachineProfile reloaded;
  kw::Ldini(reloaded, again);
  kw::Svini(reloaded, again);
  if (again.text() != saved) std::abort();
  return 0;
}
