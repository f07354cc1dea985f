#pragma once
// What every pass of a DXF conversion is given: the machine profile in use (read at the moment
// of use), the user port for captions, progress and messages, and the program folder.
#include <string>
#include <vector>

#include "core/profile/MachineProfile.h"
#include "core/ui/UiPort.h"

namespace kw {

struct DxfPassContext {
  MachineProfile& profile;
  UiPort& ui;
  std::string programFolder;
};

// The lines of one temporary file of the conversion, held in memory.
using PassLines = std::vector<std::string>;

}  // namespace kw
