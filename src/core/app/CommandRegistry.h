#pragma once
// Every command that changes the program is registered here under its window and handler
// name ("Main.LineOrderGXYZIJKR1Click"). Menus, tool buttons, commands that reuse other
// commands and the headless --do all run commands through this one table.
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

struct App;

class CommandRegistry {
 public:
  using Handler = std::function<void(App&)>;

  void add(std::string name, std::string caption, Handler handler);
  bool has(std::string_view name) const;
  // Runs the command; false when no command has that name.
  bool run(std::string_view name, App& app) const;
  std::vector<std::string> names() const;  // sorted
  std::string caption(std::string_view name) const;

 private:
  struct Entry {
    std::string caption;
    Handler handler;
  };
  std::map<std::string, Entry, std::less<>> entries_;
};

// Registers the commands that core provides (the GUI adds its window commands).
void registerCoreCommands(CommandRegistry& registry);

}  // namespace kw
