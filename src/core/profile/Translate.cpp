#include "core/profile/Translate.h"

#include "core/profile/MachineProfile.h"

namespace kw {

std::string Translate(const MachineProfile& profile, int row, std::string_view line) {
  std::string out(line);
  std::string_view find = std::string_view(profile.cell(row, 0)).substr(0, 255);
  if (find.empty()) return out;
  size_t at = out.find(find);
  if (at == std::string::npos) return out;
  out.replace(at, find.size(), profile.cell(row, 1));
  if (out.size() > 255) out.resize(255);
  return out;
}

std::string translateRows(const MachineProfile& profile, int first, int last, std::string_view line) {
  std::string out(line.substr(0, 255));
  for (int row = first; row <= last; ++row) out = Translate(profile, row, out);
  return out;
}

void translateLines(std::vector<std::string>& lines, const MachineProfile& profile, int first, int last) {
  for (auto& line : lines) line = translateRows(profile, first, last, line);
}

}  // namespace kw
