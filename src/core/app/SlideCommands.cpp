// The plot window's keypad: slide, spin, scale, flip and flop of the program or of the
// highlighted code.
#include "core/app/SlideCommands.h"

#include "core/app/CommandRegistry.h"
#include "core/profile/SettingNumbers.h"
#include "core/texttools/LineOrder.h"

namespace kw {

SlideSettings slideSettings(App& app) {
  SlideSettings settings;
  static_cast<RewriteSettings&>(settings) = rewriteSettings(app);
  settings.distance = slideValue(app.plot.slideDistance);
  settings.size = slideValue(app.plot.sizeFactor);
  settings.arrayMode = app.array.shown;
  return settings;
}

void replotAfterRewrite(App& app) {
  if (app.replotSoon)
    app.replotSoon();
  else
    app.replot();
}

namespace {

void slide(App& app, char code) {
  const SlideSettings settings = slideSettings(app);
  const SlideResult result =
      SLIDE2(app.buffer.lines, code, settings, {app.highlighted.first, app.highlighted.count}, app.ui);
  if (result.rewritten > 0) app.buffer.modified = true;
  if (result.end == SlideEnd::Done) replotAfterRewrite(app);
}

struct SlideButton {
  const char* name;
  char code;
  const char* caption;
  const char* hint;
};

// The keypad in its rows, then the buttons beside it.
constexpr SlideButton kSlideButtons[] = {
    {"SpeedButton5", '7', "Slide up left", "Slide the part up and left  or just highlighted code"},
    {"SpeedButton2", '8', "Slide up", "Slide the part up  or just highlighted code"},
    {"SpeedButton3", '9', "Slide up right", "Slide the part up and right  or just highlighted code"},
    {"SpeedButton7", '4', "Slide left", "Slide the part left  or just highlighted code"},
    {"SpeedButton9", '5', "Spin", "Spin the part Inc Degrees  or just highlighted code about 0,0,0"},
    {"SpeedButton6", '6', "Slide right", "Slide the part right  or just highlighted code"},
    {"SpeedButton8", '1', "Slide down left", "Slide the part down and left  or just highlighted code"},
    {"SpeedButton1", '2', "Slide down", "Slide the part down  or just highlighted code"},
    {"SpeedButton4", '3', "Slide down right", "Slide the part down and right  or just highlighted code"},
    {"FlipButton", '0', "Flip", "Turn the part over left right"},
    {"FlopButton", 'F', "Flop", "Turn the part over up down"},
    {"SpeedButton12", 'X', "Size", "Change the part size. Or just highlighted code."},
};

}  // namespace

RewriteSettings rewriteSettings(App& app) {
  RewriteSettings settings;
  settings.dialect = Dialect(app.profile);
  settings.decimals = decimalPlaces(app.profile);
  settings.incrementalIJ = app.profile.flag("Bridgeport");
  if (app.profile.flag("SwapXY")) {
    settings.reorder = [letters = settings.dialect.lettersWithoutBlanks()](std::string_view line) {
      return lineOrderNGXYZIJKRM(line, letters);
    };
  }
  return settings;
}

std::vector<std::string> slideButtonNames() {
  std::vector<std::string> names;
  for (const SlideButton& button : kSlideButtons) names.push_back(button.name);
  return names;
}

void registerSlideCommands(CommandRegistry& registry) {
  for (const SlideButton& button : kSlideButtons) {
    const char code = button.code;
    registry.add(std::string("Plot.") + button.name + "Click", {button.caption, "", button.hint},
                 [code](App& app) { slide(app, code); });
  }
}

}  // namespace kw
