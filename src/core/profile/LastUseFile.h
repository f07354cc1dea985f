#pragma once
// What the last-use file "LastIni.ini" remembers between runs: the profile in use, the plot
// window's two speed texts, the twelve line-insertion texts and the files opened last.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/profile/IniFile.h"

namespace kw {

struct LastUseFile {
  std::string cutSpeed = "1.00";
  std::string rapidSpeed = "2.00";
  std::string profileName;  // without folder; empty when none is remembered
  std::array<std::string, 12> lineInsert;
  std::vector<std::string> recentFiles;  // newest first, at most kRecentFiles
};

inline constexpr std::size_t kRecentFiles = 8;

// Every text is held to its first 255 bytes. A missing key keeps the default above.
LastUseFile readLastUse(const IniFile& ini);
// Writes "F2Edit1", "F2Edit2", "LastUsedFile", "Edit0" to "Edit11", then writeRecentFiles.
void writeLastUse(const LastUseFile& lastUse, IniFile& ini);
// The recent files as "File1" to "File8" of section "RecentFiles"; a key the list no longer
// fills is emptied, and a file that never had the section gets none for an empty list.
void writeRecentFiles(const std::vector<std::string>& files, IniFile& ini);

}  // namespace kw
