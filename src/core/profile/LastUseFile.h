#pragma once
// What the last-use file "LastIni.ini" remembers between runs: the profile in use, the plot
// window's two speed texts and the twelve line-insertion texts.
#include <array>
#include <string>

#include "core/profile/IniFile.h"

namespace kw {

struct LastUseFile {
  std::string cutSpeed = "1.00";
  std::string rapidSpeed = "2.00";
  std::string profileName;  // without folder; empty when none is remembered
  std::array<std::string, 12> lineInsert;
};

// Every text is held to its first 255 bytes. A missing key keeps the default above.
LastUseFile readLastUse(const IniFile& ini);
// Writes "F2Edit1", "F2Edit2", "LastUsedFile", then "Edit0" to "Edit11".
void writeLastUse(const LastUseFile& lastUse, IniFile& ini);

}  // namespace kw
