#include "core/profile/LastUseFile.h"

#include <string_view>

namespace kw {

namespace {

constexpr std::string_view kLineInsert = "LineInsert";
constexpr std::string_view kFiles = "Files";
constexpr std::size_t kMaxText = 255;

std::string held(std::string_view text) { return std::string(text.substr(0, kMaxText)); }

std::string editKey(std::size_t i) { return "Edit" + std::to_string(i); }

}  // namespace

LastUseFile readLastUse(const IniFile& ini) {
  LastUseFile f;
  f.profileName = held(ini.readString(kFiles, "LastUsedFile", ""));
  for (std::size_t i = 0; i < f.lineInsert.size(); ++i)
    f.lineInsert[i] = held(ini.readString(kLineInsert, editKey(i), ""));
  f.cutSpeed = held(ini.readString(kLineInsert, "F2Edit1", f.cutSpeed));
  f.rapidSpeed = held(ini.readString(kLineInsert, "F2Edit2", f.rapidSpeed));
  return f;
}

void writeLastUse(const LastUseFile& lastUse, IniFile& ini) {
  ini.writeString(kLineInsert, "F2Edit1", held(lastUse.cutSpeed));
  ini.writeString(kLineInsert, "F2Edit2", held(lastUse.rapidSpeed));
  ini.writeString(kFiles, "LastUsedFile", held(lastUse.profileName));
  for (std::size_t i = 0; i < lastUse.lineInsert.size(); ++i)
    ini.writeString(kLineInsert, editKey(i), held(lastUse.lineInsert[i]));
}

}  // namespace kw
