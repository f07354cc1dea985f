#pragma once
// Every command of the menus is registered here under its window and handler name
// ("Main.LineOrderGXYZIJKR1Click") with its menu caption, shortcut and hint. Menus, tool
// buttons, commands that reuse other commands and the headless --do all run commands through
// this one table.
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kw {

struct App;

// What a menu shows for a command: the caption ("&" before the access key), the shortcut
// ("Ctrl+F2", "F4", "" for none), the hint (tooltip, "" for none) and the caption of its entry
// in the editor's pop-up menu ("" for none).
struct CommandLabel {
  CommandLabel() = default;
  CommandLabel(std::string caption_, std::string shortcut_, std::string hint_, std::string popup_ = {})
      : caption(std::move(caption_)), shortcut(std::move(shortcut_)), hint(std::move(hint_)), popup(std::move(popup_)) {}
  std::string caption;
  std::string shortcut;
  std::string hint;
  std::string popup;
};

class CommandRegistry {
 public:
  using Handler = std::function<void(App&)>;

  void add(std::string name, CommandLabel label, Handler handler);
  bool has(std::string_view name) const;
  // Runs the command. An unknown name is told to the user, naming it, and gives false.
  bool run(std::string_view name, App& app) const;
  std::vector<std::string> names() const;  // sorted
  // The label of a command (empty for an unknown name).
  const CommandLabel& label(std::string_view name) const;
  // The caption without its access-key marks, as a list shows it.
  std::string caption(std::string_view name) const;

 private:
  struct Entry {
    CommandLabel label;
    Handler handler;
  };
  std::map<std::string, Entry, std::less<>> entries_;
};

// The message for a name no command has.
std::string unknownCommandMessage(std::string_view name);

// Registers the commands that core provides (the GUI adds its window commands).
void registerCoreCommands(CommandRegistry& registry);

// The plot window's slide, spin, flip, flop and size buttons ("Plot.SpeedButton5Click", ...).
void registerSlideCommands(CommandRegistry& registry);
// Their design names, the keypad row by row from the top left (spin in the centre), then
// "FlipButton", "FlopButton" and "SpeedButton12".
std::vector<std::string> slideButtonNames();
// The array window's row, column and grid buttons, Suggest, Re Scale, Undo Nest and Compress
// ("Array.SpeedButton2Click", ...).
void registerArrayCommands(CommandRegistry& registry);
// The plot window's Draw menu and the drawing clicks on its image ("Plot.Line1Click",
// "Plot.Image1MouseDown", ...) and the Drawing window's Draw button.
void registerDrawingCommands(CommandRegistry& registry);
// The Draw menu's mode items ("Line1", ...): line, the two arcs, the two circles.
std::vector<std::string> drawModeNames();

// The main menu's "Offset" ("Main.Offset1Click") and the offset window's operations
// ("Offset.CopytoFileend1Click", "Offset.Insertabove1Click", "Offset.Replace1Click",
// "Offset.InsertBelow1Click", "Offset.Reload1Click").
void registerOffsetCommands(CommandRegistry& registry);
// One tick of stepping through the offset path: the line of the offset editor just plotted,
// or -1 when the stepping went back to the start.
int offsetStep(App& app);

// The conversions between absolute and incremental programs and between inch and metric.
void registerConversionCommands(CommandRegistry& registry);
// Line numbers, comments, blanks and line ends; block swap and start point; object sorting;
// the file split.
void registerTextToolCommands(CommandRegistry& registry);

}  // namespace kw
