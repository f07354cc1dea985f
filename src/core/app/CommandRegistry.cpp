#include "core/app/CommandRegistry.h"

namespace kw {

void CommandRegistry::add(std::string name, std::string caption, Handler handler) {
  entries_[std::move(name)] = Entry{std::move(caption), std::move(handler)};
}

bool CommandRegistry::has(std::string_view name) const { return entries_.find(name) != entries_.end(); }

bool CommandRegistry::run(std::string_view name, App& app) const {
  auto it = entries_.find(name);
  if (it == entries_.end()) return false;
  it->second.handler(app);
  return true;
}

std::vector<std::string> CommandRegistry::names() const {
  std::vector<std::string> out;
  for (const auto& [name, entry] : entries_) out.push_back(name);
  return out;
}

std::string CommandRegistry::caption(std::string_view name) const {
  auto it = entries_.find(name);
  return it == entries_.end() ? std::string() : it->second.caption;
}

}  // namespace kw
