#pragma once
// A user port for tests: records every message, question, caption and dialog.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/ui/UiPort.h"

namespace kw {

// Records every call; questions take their answers from a queue (No when it is empty).
class RecordingPort : public UiPort {
 public:
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<Answer> answers;
  std::vector<std::pair<WindowId, std::string>> captions;
  std::vector<std::optional<std::string>> picks;  // answers of the file dialogs, in order
  std::vector<FileDialog> dialogs;                // what each dialog was shown
  std::vector<WindowId> hidden;
  int beeps = 0;

  void message(std::string_view text) override { messages.emplace_back(text); }
  Answer askYesNo(std::string_view text) override;
  void beep() override { ++beeps; }
  void setCaption(WindowId window, std::string_view caption) override {
    captions.emplace_back(window, std::string(caption));
  }
  void setBusy(bool) override {}
  std::optional<std::string> chooseOpenFile(FileDialog& dialog) override { return pick(dialog); }
  std::optional<std::string> chooseSaveFile(FileDialog& dialog) override { return pick(dialog); }
  void hideWindow(WindowId window) override { hidden.push_back(window); }
  std::string lastCaption(WindowId window) const;

 private:
  std::optional<std::string> pick(const FileDialog& dialog);
};

}  // namespace kw
