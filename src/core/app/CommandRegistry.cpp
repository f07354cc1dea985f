#include "core/app/CommandRegistry.h"

#include "core/app/App.h"

namespace kw {

void CommandRegistry::add(std::string name, CommandLabel label, Handler handler) {
  entries_[std::move(name)] = Entry{std::move(label), std::move(handler)};
}

bool CommandRegistry::has(std::string_view name) const { return entries_.find(name) != entries_.end(); }

bool CommandRegistry::run(std::string_view name, App& app) const {
  auto it = entries_.find(name);
  if (it == entries_.end()) {
    app.ui.message(unknownCommandMessage(name));
    return false;
  }
  it->second.handler(app);
  return true;
}

std::vector<std::string> CommandRegistry::names() const {
  std::vector<std::string> out;
  for (const auto& [name, entry] : entries_) out.push_back(name);
  return out;
}

const CommandLabel& CommandRegistry::label(std::string_view name) const {
  static const CommandLabel none;
  auto it = entries_.find(name);
  return it == entries_.end() ? none : it->second.label;
}

std::string CommandRegistry::caption(std::string_view name) const {
  std::string out;
  for (char c : label(name).caption)
    if (c != '&') out += c;
  return out;
}

std::string unknownCommandMessage(std::string_view name) {
  return "Unknown command " + std::string(name) + " (kerfwerk --do --list shows the names)";
}

}  // namespace kw
