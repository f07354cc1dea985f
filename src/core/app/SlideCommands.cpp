// The plot window's keypad: slide, spin, scale, flip and flop of the program or of the
// highlighted code; the conversions that run through the same engine.
#include "core/app/SlideCommands.h"

#include "core/app/CommandRegistry.h"
#include "core/profile/SettingNumbers.h"
#include "core/texttools/CoordinateConversion.h"
#include "core/texttools/LineOrder.h"
#include "core/texttools/LineRewrites.h"

namespace kw {

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

SlideEnd slide(App& app, char code, const SlideSettings& settings, const SlideRange& selection,
               LineConversion* conversion = nullptr) {
  const SlideResult result = SLIDE2(app.buffer.lines, code, settings, selection, app.ui, conversion);
  if (result.rewritten > 0) app.buffer.modified = true;
  return result.end;
}

SlideRange highlightedCode(const App& app) { return {app.highlighted.first, app.highlighted.count}; }

SlideEnd slide(App& app, char code, const SlideSettings& settings) {
  return slide(app, code, settings, highlightedCode(app));
}

// Absolute and incremental are modes of the whole program: a highlighted block converted alone
// would be read in the mode word of the lines before it, its first step taken from the origin.
SlideEnd convert(App& app, char code, const SlideSettings& settings, LineConversion& rule) {
  return slide(app, code, settings, SlideRange{}, &rule);
}

void slide(App& app, char code) {
  if (slide(app, code, slideSettings(app)) == SlideEnd::Done) replotAfterRewrite(app);
}

constexpr const char* k3dRefusal = "File is 3d \rFunction not supported \rMust be Absolute 2d ";

ConversionCodes conversionCodes(const SlideSettings& settings) {
  return {settings.dialect.row(LabelRow::Absolute), settings.dialect.row(LabelRow::Incremental),
          settings.incrementalIJ};
}

// A conversion rewrites the lines in place, array window or not.
SlideSettings conversionSettings(App& app) {
  SlideSettings settings = slideSettings(app);
  settings.arrayMode = false;
  return settings;
}

void ConverttoIncremental1Click(App& app) {
  const SlideSettings settings = conversionSettings(app);
  if (programContains(app.buffer.lines, settings.dialect.row(LabelRow::KLetter))) {
    app.ui.message(k3dRefusal);
    return;
  }
  ToIncremental rule(conversionCodes(settings));
  if (convert(app, 'I', settings, rule) == SlideEnd::Done) replotAfterRewrite(app);
}

// One run to absolute; false (after the beep) when the program was absolute already.
bool toAbsolute(App& app, const SlideSettings& settings) {
  ToAbsolute rule(conversionCodes(settings));
  const SlideEnd end = convert(app, 'A', settings, rule);
  if (rule.stopped()) app.ui.beep();
  return end == SlideEnd::Done;
}

// With relative centres the program is taken to absolute with absolute centres, back to
// incremental, and to absolute again with the centres relative; a run that stops ends the chain.
void ConverttoAbsolute1Click(App& app) {
  if (RemoveNumbers(app.buffer.lines, Dialect(app.profile).row(LabelRow::NLetter)) > 0) app.buffer.modified = true;
  SlideSettings settings = conversionSettings(app);
  bool done;
  if (!settings.incrementalIJ) {
    done = toAbsolute(app, settings);
  } else {
    settings.incrementalIJ = false;
    ToIncremental back(conversionCodes(settings));
    done = toAbsolute(app, settings) && convert(app, 'I', settings, back) == SlideEnd::Done;
    settings.incrementalIJ = true;
    done = done && toAbsolute(app, settings);
  }
  if (done) replotAfterRewrite(app);
}

// Scales by the factor as the size button does, then turns the units word and scales the feeds
// of the same lines, and puts the factor back and the windows in their places.
void scaleUnits(App& app, const char* factor, bool toMetric) {
  app.plot.sizeFactor = factor;
  const SlideSettings settings = slideSettings(app);
  const bool scaled = slide(app, 'X', settings) == SlideEnd::Done;
  if (scaled) {
    // With the array window open the scaled lines are copies at the end: the words stay.
    if (!settings.arrayMode) {
      const SlideLines range = slideLines(app.buffer.lines.size(), highlightedCode(app));
      changeUnitWords(app.buffer.lines, range.begin, range.end, toMetric, settings.size, settings.decimals);
    }
    replotAfterRewrite(app);
  }
  app.plot.sizeFactor = "1.000";
  app.commands.run("Main.DefaultWindows1Click", app);
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

void registerConversionCommands(CommandRegistry& registry) {
  registry.add("Main.ConverttoIncremental1Click", {"Convert to Incremental G91", "", "", "Convert to  G91"},
               ConverttoIncremental1Click);
  registry.add("Main.ConverttoAbsolute1Click", {"Convert to Absolute     G90", "", "", "Convert to  G90"},
               ConverttoAbsolute1Click);
  registry.add("Main.InchtoMetric1Click", {"Inch to Metric", "", "", "Inch to Metric"},
               [](App& app) { scaleUnits(app, "25.4", true); });
  registry.add("Main.MetrictoInch1Click", {"Metric to Inch", "", "", "Metric to Inch"},
               [](App& app) { scaleUnits(app, "0.03937", false); });
}

}  // namespace kw
