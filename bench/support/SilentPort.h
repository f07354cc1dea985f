#pragma once
// A user port that shows nothing and answers No: the benchmarks time the routines alone.
#include "core/ui/UiPort.h"

namespace kwbench {

class SilentPort : public kw::UiPort {
 public:
  void message(std::string_view) override {}
  kw::Answer askYesNo(std::string_view) override { return kw::Answer::No; }
  void beep() override {}
  void setCaption(kw::WindowId, std::string_view) override {}
  void setBusy(bool) override {}
  std::optional<std::string> chooseOpenFile(kw::FileDialog&) override { return {}; }
  std::optional<std::string> chooseSaveFile(kw::FileDialog&) override { return {}; }
};

}  // namespace kwbench
