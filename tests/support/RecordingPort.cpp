#include "support/RecordingPort.h"

namespace kw {

Answer RecordingPort::askYesNo(std::string_view text) {
  questions.emplace_back(text);
  if (answers.empty()) return Answer::No;
  Answer a = answers.front();
  answers.erase(answers.begin());
  return a;
}

std::optional<std::string> RecordingPort::pick(const FileDialog& dialog) {
  dialogs.push_back(dialog);
  if (picks.empty()) return std::nullopt;
  auto chosen = picks.front();
  picks.erase(picks.begin());
  return chosen;
}

std::string RecordingPort::lastCaption(WindowId window) const {
  for (auto it = captions.rbegin(); it != captions.rend(); ++it)
    if (it->first == window) return it->second;
  return {};
}

}  // namespace kw
