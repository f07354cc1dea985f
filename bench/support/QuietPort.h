#pragma once
// The benchmarks' user port: every message, question and dialog is dropped.
#include "core/ui/UiPort.h"

namespace kwbench {

class QuietPort : public kw::UiPort {
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
