#pragma once
// The state of one running program: the document, the machine profile in use, the plot
// window's own values and the command registry. One instance lives for the whole run; the
// GUI binds its windows to it and the headless runs drive it directly.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/app/CommandRegistry.h"
#include "core/geometry/Array.h"
#include "core/geometry/Drawing.h"
#include "core/geometry/Offset.h"
#include "core/plot/Backplot.h"
#include "core/plot/PlotView.h"
#include "core/profile/MachineProfile.h"
#include "core/ui/UiPort.h"

namespace kw {

inline constexpr const char* kUntitledTitle = "Kerfwerk - [Untitled]";

// The program text: one byte string per line, numbered from 0, and the modified flag.
struct ProgramBuffer {
  std::vector<std::string> lines;
  bool modified = false;
  int generation = 0;  // counts the times the whole text was replaced by a new document
};

// The selection the block tools work on: lines first + 1 .. first + count.
using HighlightedBlock = HighlightRange;

// The plot image the backplot draws on: the plot window's image once it exists, before that
// (and in headless runs) an image of the given size that keeps nothing.
class CanvasSwitch : public PlotCanvas {
 public:
  PlotCanvas* target = nullptr;
  int blankWidth = 1920, blankHeight = 1080;

  void setPen(Rgb colour, int width) override {
    if (target) target->setPen(colour, width);
  }
  void moveTo(int x, int y) override {
    if (target) target->moveTo(x, y);
  }
  void lineTo(int x, int y) override {
    if (target) target->lineTo(x, y);
  }
  void clear() override {
    if (target) target->clear();
  }
  void refresh() override {
    if (target) target->refresh();
  }
  int width() const override { return target ? target->width() : blankWidth; }
  int height() const override { return target ? target->height() : blankHeight; }
};

struct App {
  App(std::string programFolder, UiPort& ui);

  std::string folder;  // ProgramFolder, ending without a slash
  UiPort& ui;
  int argumentCount = 0;  // command-line arguments the program was started with

  // Document.
  ProgramBuffer buffer;
  std::string currentFileName;
  std::string title = kUntitledTitle;  // main window title
  std::string openDialogFileName;      // OpenDialog1's file name
  std::string openDialogInitialDir;    // where the next Open starts ("" = current folder)
  HighlightedBlock highlighted;
  // Memo4: the layers a drawing held, shown when nothing on the chosen layer was converted.
  std::vector<std::string> layerLog;
  std::string lastDrawing;  // the drawing opened last, read again by "Convert again"
  // The File menu's recent files, newest first (absolute paths). Only the window keeps the
  // list: a batch run or script leaves it as the user left it.
  std::vector<std::string> recentFiles;
  bool remembersRecentFiles = false;

  // Machine profile.
  MachineProfile profile;
  std::string currentProfileName;  // the file name, without folder
  // Where that profile was taken from, as an absolute path ("" = the program folder's file).
  std::string currentProfilePath;
  std::string profileLabel = "The present ini file";  // main window's Label1
  std::array<std::string, 12> lineInsertTexts;

  PlotView plot;  // the plot window's own values
  ArrayValues array;      // the array window's boxes and its nesting runs
  DrawingValues drawing;  // the Drawing window's read-out and the plot window's drawing mode
  CanvasSwitch canvas;
  Backplot backplot{profile, plot, canvas};
  // Asks the plot window to plot the whole program again once the view settles (the
  // re-plot delay); nothing happens without a window.
  std::function<void()> replotSoon;
  // Whether a program loaded is measured for its plot scale. A batch conversion, which draws no
  // plot, leaves it off and saves a reading of every line.
  bool scalesLoadedPrograms = true;
  CommandRegistry commands;
  OffsetWindowState offset;  // the offset window's box, editor and read-outs

  // PlotAll over the program with set-up, the highlighted block drawn black.
  void replot() { backplot.PlotAll(buffer.lines, false, true, 0, 0, &highlighted); }
  // Chooses View Scale and origin so that the whole program, as the present view angles show
  // it, fills the visible part of the image, centred; the program is measured by plotting it
  // without drawing. Clears plot.fitPending. Returns false when Esc stopped the measuring.
  bool fitView();

  std::string pathInFolder(const std::string& name) const { return folder + "/" + name; }
};

// The profile's settings every geometry rewrite reads at the start of a run: the dialect, "Dec
// Places", "Incremental  Type I J" and the word order of "Swap X Y ".
RewriteSettings rewriteSettings(App& app);

}  // namespace kw
