#include "core/profile/LastUseFile.h"

#include <string_view>

namespace kw {

namespace {

constexpr std::string_view kLineInsert = "LineInsert";
constexpr std::string_view kFiles = "Files";
constexpr std::string_view kRecent = "RecentFiles";
constexpr std::size_t kMaxText = 255;

std::string held(std::string_view text) { return std::string(text.substr(0, kMaxText)); }

std::string editKey(std::size_t i) { return "Edit" + std::to_string(i); }
std::string recentKey(std::size_t i) { return "File" + std::to_string(i + 1); }

}  // namespace

LastUseFile readLastUse(const IniFile& ini) {
  LastUseFile f;
  f.profileName = held(ini.readString(kFiles, "LastUsedFile", ""));
  for (std::size_t i = 0; i < f.lineInsert.size(); ++i)
    f.lineInsert[i] = held(ini.readString(kLineInsert, editKey(i), ""));
  f.cutSpeed = held(ini.readString(kLineInsert, "F2Edit1", f.cutSpeed));
  f.rapidSpeed = held(ini.readString(kLineInsert, "F2Edit2", f.rapidSpeed));
  // A path is kept whole: a shortened one would name another file.
  for (std::size_t i = 0; i < kRecentFiles; ++i)
    if (std::string path = ini.readString(kRecent, recentKey(i), ""); !path.empty()) f.recentFiles.push_back(path);
  return f;
}

void writeLastUse(const LastUseFile& lastUse, IniFile& ini) {
  ini.writeString(kLineInsert, "F2Edit1", held(lastUse.cutSpeed));
  ini.writeString(kLineInsert, "F2Edit2", held(lastUse.rapidSpeed));
  ini.writeString(kFiles, "LastUsedFile", held(lastUse.profileName));
  for (std::size_t i = 0; i < lastUse.lineInsert.size(); ++i)
    ini.writeString(kLineInsert, editKey(i), held(lastUse.lineInsert[i]));
  writeRecentFiles(lastUse.recentFiles, ini);
}

void writeRecentFiles(const std::vector<std::string>& files, IniFile& ini) {
  for (std::size_t i = 0; i < kRecentFiles; ++i) {
    const std::string key = recentKey(i);
    if (i < files.size())
      ini.writeString(kRecent, key, files[i]);
    else if (ini.value(kRecent, key))
      ini.writeString(kRecent, key, "");
  }
}

}  // namespace kw
