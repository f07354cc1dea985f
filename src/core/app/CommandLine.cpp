#include "core/app/CommandLine.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "core/app/App.h"
#include "core/app/Batch.h"
#include "core/app/Document.h"
#include "core/app/DxfSave.h"
#include "core/app/ProfileSession.h"
#include "core/app/ProgramFolder.h"
#include "core/comm/CommSettings.h"
#include "core/comm/PaperTape.h"
#include "core/comm/Transmit.h"
#include "core/plot/ViewControl.h"
#include "core/profile/SettingNumbers.h"
#include "core/text/FileIo.h"

namespace kw {

namespace {

const char* kUsage =
    "Usage:\n"
    "  kerfwerk [SOURCE]                 open the program window (and SOURCE)\n"
    "  kerfwerk SOURCE OUTPUT [PROFILE]  convert SOURCE into OUTPUT without a window\n"
    "  kerfwerk --do NAME[,NAME...] IN OUT [--profile P] [--set CONTROL=VALUE]...\n"
    "           [--select FIRST:COUNT] [--dxf-form arcs|lines|points]\n"
    "                                    open IN, run the named commands, save OUT\n"
    "  kerfwerk --do --list              list the command names\n"
    "  kerfwerk --report FILE [--profile P]\n"
    "                                    plot FILE and print the plot's statistics\n"
    "  kerfwerk --png OUT.png FILE [--profile P] [--size WxH]\n"
    "                                    draw the plot of FILE into a PNG image\n"
    "  kerfwerk --send FILE [--profile P] [--device PATH] [--dont-transmit]\n"
    "                                    send FILE to the machine over the serial line\n"
    "  kerfwerk --help | --version\n"
    "\n"
    "The batch conversion loads the remembered machine profile (or PROFILE, which is then\n"
    "remembered), opens SOURCE, puts the words of every line in the order\n"
    "N G M X Y Z I J K R and writes OUTPUT with CR LF line ends. Messages go to stderr;\n"
    "the exit status is 0 on success and 1 when the conversion stopped on an error.\n"
    "A SOURCE ending in .dxf is a drawing, converted into a program first; a .pnt SOURCE with\n"
    "a .dxf OUTPUT writes the program's points as DXF; a .sgt OUTPUT is the program converted\n"
    "to incremental (G91) coordinates.\n"
    "\n"
    "--profile uses a profile file from where it is, or a bare name from the program folder.\n"
    "--do runs registered commands headless: --set gives a setup control (e.g. RCheckbox=1,\n"
    "DpEdit=4) or a plot value (CutSpeedEdit, RapidSpeedEdit, SlideEdit1 the slide distance or\n"
    "spin degrees, X_Edit1 the size factor), an array value (QtyEdit1 and IncrementEdit1 the\n"
    "vertical quantity and increment, HorizQtyEdit1 and HorizontalEdit1 the horizontal ones,\n"
    "ClearanceEdit1), the offset window's OffsetEdit1 (the offset distance, + to the right of\n"
    "the path), a Drawing window value (Drawing.Edit1 to Drawing.Edit8: vector, radius, X and\n"
    "Y increments, end X and Y, Abs X and Y) or a line-insertion text (LineInsert.Edit0 to\n"
    "LineInsert.Edit11, used by Find and Insert) its value. The array commands (Array.*)\n"
    "copy in array mode, as with the array window open. Plot.Image1MouseDown is a press on\n"
    "the plot in the drawing mode a Draw command (Plot.Line1Click, ...) began, at the Drawing\n"
    "values. --select\n"
    "sets the highlighted block (the lines FIRST+1 .. FIRST+COUNT, counted from 0). An empty\n"
    "NAME list only opens and saves. Questions are answered No and printed with every message\n"
    "on stderr; an unknown NAME stops before anything is opened or written.\n"
    "An OUT ending in .dxf is the plot written as DXF (circles, arcs and lines); --dxf-form\n"
    "lines writes straight lines only, --dxf-form points the program's points only.\n"
    "\n"
    "--report plots at View Scale 1000 with the remembered cut and rapid speeds and prints\n"
    "seven lines: the distances (the plot window's caption), the cutting, rapid and total\n"
    "times, the vertical and horizontal extents and the area. --png draws the plot as the\n"
    "plot window shows a newly opened program (default size 1920x1080).\n"
    "\n"
    "--send opens the profile's port (\"Com 1\" to \"Com 4\", the devices the setup window names,\n"
    "/dev/ttyS0 to /dev/ttyS3 unless set) with its rate, framing and flow control, or the device\n"
    "PATH instead, and sends FILE as the communication window's Send does, with the profile's\n"
    "delays, stripping, translation, start and end characters, file name line and tape punch\n"
    "options. The tape picture and errors go to stderr; the exit status is 1 when the port\n"
    "could not be opened or the line took a character not within the output time-out.\n"
    "--dont-transmit opens no port and prints the lines that would be sent on stdout.\n"
    "\n"
    "Profiles, the last-use file and temporary files live in the program folder:\n"
    "$KERFWERK_HOME, else the executable's folder when writable, else\n"
    "$XDG_DATA_HOME/kerfwerk (~/.local/share/kerfwerk).\n";

int fail(const std::string& text) {
  std::fprintf(stderr, "kerfwerk: %s\n%s", text.c_str(), "Try 'kerfwerk --help'.\n");
  return 2;
}

bool displayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

bool parseSelect(const std::string& text, HighlightedBlock& block) {
  size_t colon = text.find(':');
  if (colon == std::string::npos) return false;
  try {
    size_t used = 0;
    block.first = std::stoi(text.substr(0, colon), &used);
    if (used != colon) return false;
    std::string count = text.substr(colon + 1);
    block.count = std::stoi(count, &used);
    return used == count.size() && block.count >= 0 && block.first >= -1;
  } catch (const std::exception&) {
    return false;
  }
}

// Reads "--profile P" and "--size WxH" out of args from index `from`; the rest are positional.
struct PlotArguments {
  std::vector<std::string> positional;
  std::string profile;
  int width = 1920, height = 1080;
};

bool parsePlotArguments(const std::vector<std::string>& args, size_t from, PlotArguments& out, std::string& why) {
  for (size_t i = from; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--profile" || a == "--size") {
      if (i + 1 >= args.size()) {
        why = a + " needs a value";
        return false;
      }
      const std::string& v = args[++i];
      if (a == "--profile") {
        out.profile = v;
      } else {
        int w = 0, h = 0;
        char x = 0, extra = 0;
        if (std::sscanf(v.c_str(), "%d%c%d%c", &w, &x, &h, &extra) != 3 || x != 'x' || w < 1 || h < 1 || w > 20000 ||
            h > 20000) {
          why = "--size needs WIDTHxHEIGHT, for example 1920x1080";
          return false;
        }
        out.width = w;
        out.height = h;
      }
    } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
      why = "unknown option " + a;
      return false;
    } else {
      out.positional.push_back(a);
    }
  }
  return true;
}

// Loads the profile named by --profile when there is one; false, with the message, when it
// cannot be loaded or FILE does not exist.
bool prepareForPlot(App& app, const PlotArguments& plotArgs, const std::string& file) {
  if (!plotArgs.profile.empty()) {
    const std::string profilePath = findProfileFile(app, plotArgs.profile);
    if (profilePath.empty()) {
      app.ui.message(kProfileNotFound + plotArgs.profile);
      return false;
    }
    if (!loadProfileFile(app, profilePath)) return false;
  }
  if (!fileExists(file)) {
    app.ui.message(std::string(kSourceNotFound) + ": " + file);
    return false;
  }
  return true;
}

// Opens FILE as Open does, with the profile named by --profile when there is one.
bool openForPlot(App& app, const PlotArguments& plotArgs, const std::string& file) {
  return prepareForPlot(app, plotArgs, file) && Load_file(app, file);
}

// Plots a program at View Scale 1000 reading it once, line by line, as Open would read it:
// a program of millions of lines is never held whole. False, with the message Open gives,
// when it cannot be read.
bool plotReadingOnce(App& app, const std::string& file) {
  const std::string name = cut255(file);
  FlatButtonClick(app.plot, app.profile);
  TextLineReader reader;
  std::string error;
  if (reader.open(name, &error)) {
    app.plot.setViewScale(1000);
    app.backplot.PlotLines([&reader](std::string_view& line) { return reader.next(line); });
    if (!reader.failed()) return true;
    error = reader.error();
  }
  app.ui.message("Cannot open " + name + ": " + error);
  return false;
}

int runReport(const std::vector<std::string>& args, App& app) {
  PlotArguments plotArgs;
  std::string why;
  if (!parsePlotArguments(args, 1, plotArgs, why)) return fail(why);
  if (plotArgs.positional.size() != 1) return fail("--report needs one program file");
  const std::string& file = plotArgs.positional[0];
  if (!prepareForPlot(app, plotArgs, file)) return 1;
  // A drawing is converted, and a program the profile translates on loading is translated,
  // as Open does; only then is the whole text plotted.
  if (upperExtension(cut255(file)) == ".DXF" || app.profile.flag("TranslateLoad")) {
    if (!Load_file(app, file)) return 1;
    app.plot.setViewScale(1000);
    app.replot();
  } else if (!plotReadingOnce(app, file)) {
    return 1;
  }
  const PlotLabels labels = statisticsLabels(app.backplot.state().statistics, decimalPlaces(app.profile));
  for (const std::string* line :
       {&labels.caption, &labels.label14, &labels.label15, &labels.label16, &labels.bigx, &labels.bigy, &labels.area})
    std::printf("%s\n", line->c_str());
  return 0;
}

int runPng(const std::vector<std::string>& args, App& app, const CommandLineHooks& hooks) {
  PlotArguments plotArgs;
  std::string why;
  if (!parsePlotArguments(args, 1, plotArgs, why)) return fail(why);
  if (plotArgs.positional.size() != 2) return fail("--png needs an output image and a program file");
  if (refusesInputAsOutput(app, plotArgs.positional[0], plotArgs.positional[1], plotArgs.profile)) return 1;
  std::unique_ptr<ImageOutput> image = hooks.makeImage(plotArgs.width, plotArgs.height);
  app.canvas.target = &image->canvas();
  app.plot.windowWidth = plotArgs.width;
  if (!openForPlot(app, plotArgs, plotArgs.positional[1])) return 1;
  app.fitView();  // as the plot window shows a program just opened
  app.replot();
  const std::string& out = plotArgs.positional[0];
  const std::string png = image->pngBytes();
  app.canvas.target = nullptr;
  std::string reason = png.empty() ? "the image could not be encoded" : std::string();
  if (reason.empty() && writeFileAtomically(out, png, &reason)) return 0;
  std::fprintf(stderr, "Cannot write the image %s: %s\n", out.c_str(), reason.c_str());
  return 1;
}

// The headless transmit's window: the tape picture and errors on stderr, the lines of
// --dont-transmit on stdout.
class StreamTransmitView : public TransmitView {
 public:
  void addTransmitLine(const std::string& text) override {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
  }
  void addTapeRow(const std::string& row) override { std::fprintf(stderr, "%s\n", row.c_str()); }
};

int runSend(const std::vector<std::string>& args, App& app) {
  PlotArguments sendArgs;
  std::string device;
  bool dontTransmit = false;
  std::vector<std::string> rest;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--device") {
      if (i + 1 >= args.size()) return fail("--device needs a path");
      device = args[++i];
    } else if (args[i] == "--dont-transmit") {
      dontTransmit = true;
    } else {
      rest.push_back(args[i]);
    }
  }
  std::string why;
  if (!parsePlotArguments(rest, 0, sendArgs, why)) return fail(why);
  if (sendArgs.positional.size() != 1) return fail("--send needs one program file");
  if (!openForPlot(app, sendArgs, sendArgs.positional[0])) return 1;
  SteadyClock clock;
  TCommPortDriver driver(clock);
  applyProfileSettings(driver, app.profile);
  if (!device.empty()) driver.setDevicePath(driver.ComPort(), device);
  if (!dontTransmit && !driver.OpenPort()) {
    std::fprintf(stderr, "%s\n%s\n", connectStatus(driver, false).c_str(), driver.openError().c_str());
    return 1;
  }
  clock.onIdle = [&driver] { driver.poll(); };  // what comes back is read and dropped
  StreamTransmitView view;
  const TransmitResult result = Send1Click(transmitOptions(app.profile, dontTransmit), app.profile, app.buffer.lines,
                                           app.title, driver, clock, app.ui, view);
  const std::string report = transmitReport(result);
  if (!report.empty()) std::fprintf(stderr, "%s\n", report.c_str());
  return result.end == TransmitEnd::Done ? 0 : 1;
}

int runDo(const std::vector<std::string>& args, App& app) {
  DoRequest request;
  std::vector<std::string> positional;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
    if (a == "--profile") {
      const std::string* v = value();
      if (!v) return fail("--profile needs a file");
      request.profile = *v;
    } else if (a == "--set") {
      const std::string* v = value();
      size_t eq = v ? v->find('=') : std::string::npos;
      if (!v || eq == std::string::npos || eq == 0) return fail("--set needs CONTROL=VALUE");
      request.sets.emplace_back(v->substr(0, eq), v->substr(eq + 1));
    } else if (a == "--dxf-form") {
      const std::string* v = value();
      auto form = v ? parseDxfForm(*v) : std::nullopt;
      if (!form) return fail("--dxf-form needs arcs, lines or points");
      request.dxfForm = form;
    } else if (a == "--select") {
      const std::string* v = value();
      HighlightedBlock block;
      if (!v || !parseSelect(*v, block)) return fail("--select needs FIRST:COUNT, for example 3:4");
      request.select = block;
    } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
      return fail("unknown option " + a);
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 3) return fail("--do needs a command list, an input file and an output file");
  request.commands = splitCommandList(positional[0]);
  request.input = positional[1];
  request.output = positional[2];
  return runDoCommands(app, request);
}

// The help page brought up to date on a thread of its own, waited for when the work is done.
class HelpSeeding {
 public:
  explicit HelpSeeding(std::string folder)
      : seeding_([folder = std::move(folder)] {
          try {
            seedHelp(folder);
          } catch (...) {  // as when a file of it cannot be written: the page stays as it is
          }
        }) {}
  ~HelpSeeding() { finish(); }
  HelpSeeding(const HelpSeeding&) = delete;
  HelpSeeding& operator=(const HelpSeeding&) = delete;
  void finish() {
    if (seeding_.joinable()) seeding_.join();
  }

 private:
  std::thread seeding_;
};

int runArguments(const std::vector<std::string>& args, const CommandLineHooks& hooks) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!args.empty() && args[0] == "--version") {
    std::printf("kerfwerk %s\n", KERFWERK_VERSION);
    return 0;
  }
  const bool doMode = !args.empty() && args[0] == "--do";
  const bool reportMode = !args.empty() && args[0] == "--report";
  const bool pngMode = !args.empty() && args[0] == "--png";
  const bool sendMode = !args.empty() && args[0] == "--send";
  if (!doMode && !reportMode && !pngMode && !sendMode)
    for (const auto& a : args)
      if (a.size() > 2 && a.rfind("--", 0) == 0) return fail("unknown option " + a);

  std::string error;
  std::string folder = resolveProgramFolder(&error);
  if (folder.empty()) {
    std::fprintf(stderr, "kerfwerk: %s\n", error.c_str());
    return 1;
  }
  seedProfiles(folder);

  if (doMode || reportMode || pngMode || sendMode || args.size() >= 2) {
    // Work without a window does not read the help page: it is brought up to date beside the work
    // (on a first start, that is writing each of its files safely to the disk).
    HelpSeeding helpSeeding(folder);
    StderrPort port;
    App app(folder, port);
    if (doMode && args.size() == 2 && args[1] == "--list") {
      for (const auto& name : app.commands.names())
        std::printf("%s\t%s\n", name.c_str(), app.commands.caption(name).c_str());
      return 0;
    }
    const bool scripted = doMode || reportMode || pngMode || sendMode;
    app.argumentCount = scripted ? 0 : static_cast<int>(args.size());
    createSetupWindow(app);
    if (sendMode) return runSend(args, app);  // the port is closed and set back on the way out
    int status = 0;
    if (reportMode) {
      status = runReport(args, app);
    } else if (pngMode) {
      status = runPng(args, app, hooks);
    } else if (doMode) {
      status = runDo(args, app);
    } else {
      app.scalesLoadedPrograms = false;  // headless: no plot is drawn
      status = runBatchConversion(app, args);
    }
    helpSeeding.finish();
    if (hooks.endProcessWhenDone) std::exit(status);  // flushes the output streams; `app` is not taken down
    return status;
  }
  seedHelp(folder);

  if (!displayAvailable()) {
    std::fprintf(stderr,
                 "kerfwerk: no display is available, so the program window cannot open.\n"
                 "Convert a program without a window instead:  kerfwerk SOURCE OUTPUT [PROFILE]\n");
    return 1;
  }
  return hooks.openWindow(folder, args);
}

}  // namespace

int runCommandLine(const std::vector<std::string>& args, const CommandLineHooks& hooks) {
  // A folder or file the system refuses to reach ends the run with its name and the reason.
  try {
    return runArguments(args, hooks);
  } catch (const std::filesystem::filesystem_error& e) {
    std::fprintf(stderr, "kerfwerk: cannot reach %s: %s\n", e.path1().c_str(), e.code().message().c_str());
    return 1;
  }
}

}  // namespace kw
