// The Edit, Misc and File menu commands that rewrite the program as text: line numbers,
// comments, blanks and line ends; the swap of a highlighted block's direction and the move of
// its start point; object sorting; the split into part files.
#include "core/app/App.h"
#include "core/app/CommandRegistry.h"
#include "core/app/SlideCommands.h"
#include "core/dxf/CleanupPasses.h"
#include "core/profile/Dialect.h"
#include "core/profile/SettingNumbers.h"
#include "core/text/FileIo.h"
#include "core/text/TempFiles.h"
#include "core/texttools/BlockSwap.h"
#include "core/texttools/FileSplit.h"
#include "core/texttools/LineOrder.h"
#include "core/texttools/LineRewrites.h"
#include "core/texttools/ObjectSort.h"

namespace kw {

namespace {

constexpr int kSplitSummaryMs = 5000;

// A whole-program rewrite: busy cursor meanwhile, the program modified after.
template <typename Rewrite>
void rewrite(App& app, Rewrite&& change) {
  app.ui.setBusy(true);
  change(app.buffer.lines, Dialect(app.profile));
  app.ui.setBusy(false);
  app.buffer.modified = true;
}

// A temporary file is written straight; a part file of the split through the safe save.
bool writeLines(App& app, const std::string& path, const std::vector<std::string>& lines, bool safe = false) {
  std::string error;
  if (safe ? writeFileAtomically(path, joinCrLf(lines), &error) : writeTempLines(path, lines, &error)) return true;
  app.ui.message("Cannot write " + path + ": " + error);
  return false;
}

bool readLines(App& app, const std::string& path, std::vector<std::string>& lines) {
  std::string error;
  if (readTextLines(path, lines, &error)) return true;
  app.ui.message("Cannot read " + path + ": " + error);
  return false;
}

// Swap: the block's lines go to "Temp.$$$" last line first, each left as a single blank; the
// reversed path comes back from "NEWFILE.$$$", cleaned by two duplicate removals, into the
// blanks and, when it is longer than the block, inserted after them.
void swap1Click(App& app) {
  const Dialect dialect(app.profile);
  std::vector<std::string>& lines = app.buffer.lines;
  if (programContains(lines, dialect.row(LabelRow::Incremental))) {
    app.ui.message(kIncrementalRefusal);
    return;
  }
  const long long top = std::max(app.highlighted.first + 1LL, 0LL);
  const long long end = std::min<long long>(app.highlighted.first + 1LL + app.highlighted.count, lines.size());
  if (app.highlighted.count <= 0 || top >= end) {
    app.ui.beep();
    return;
  }
  TempFilesLock tempFiles(app.folder, app.ui);
  const AxisPosition before = positionAfter(lines, static_cast<std::size_t>(top), dialect.lettersWithoutBlanks());
  std::vector<std::string> block;
  for (long long line = end - 1; line >= top; --line) {
    block.push_back(std::move(lines[static_cast<std::size_t>(line)]));
    lines[static_cast<std::size_t>(line)] = " ";
  }
  app.buffer.modified = true;
  if (!writeLines(app, app.pathInFolder(kTempFile), block)) return;
  app.ui.setBusy(true);
  const SwapSettings settings(dialect, app.profile.flag("Bridgeport"), decimalPlaces(app.profile));
  std::vector<std::string> path;
  if (!SWAP_BLOCK3(app.folder, settings, app.ui, before) || !readLines(app, app.pathInFolder(kNewFile), path)) {
    app.ui.setBusy(false);
    return;
  }
  DxfPassContext context{app.profile, app.ui, app.folder};
  path = RemoveDup2(RemoveDup2(PassLines(path), context), context).strings();
  app.ui.hideProgress();
  const bool reorder = app.profile.flag("SwapXY");
  const BlockLetters letters = dialect.lettersWithoutBlanks();
  for (std::size_t k = 0; k < path.size(); ++k) {
    std::string line = cut255(path[k]);
    if (reorder) line = lineOrderNGXYZIJKRM(line, letters);
    const std::size_t at = static_cast<std::size_t>(top) + k;
    if (at < static_cast<std::size_t>(end))
      lines[at] = std::move(line);
    else
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(std::min(at, lines.size())), std::move(line));
  }
  app.ui.setBusy(false);
  replotAfterRewrite(app);  // the plot shows the path as it now runs
}

void MovestartingpointForward1Click(App& app) {
  const HighlightedBlock block = app.highlighted;
  const Dialect dialect(app.profile);
  const bool absolute = !programContains(app.buffer.lines, dialect.row(LabelRow::Incremental));
  const SwapSettings settings(dialect, app.profile.flag("Bridgeport"), decimalPlaces(app.profile));
  const int grown = moveStartForward(app.buffer.lines, block.first, block.count, settings, absolute);
  if (grown == 0) {
    app.ui.message(kStartPointRefusal);
    return;
  }
  app.buffer.modified = true;
  app.highlighted.count += grown;
  replotAfterRewrite(app);
}

std::string noLineEnds(const std::string& what) {
  return "No characters are set to " + what + " the line ends: type them in the setup window's Line Ends box (F10).";
}

// The objects go through "Temp.$$$": taken out of the program one by one as the plot finds
// them, then put back after what is left but the lines that end the program (the last one, and
// the end word before a closing tape mark), which end it again.
void sortObjects(App& app, bool largestFirst) {
  std::vector<std::string>& lines = app.buffer.lines;
  DxfPassContext context{app.profile, app.ui, app.folder};
  RemoveDup(lines, 0, context);
  app.ui.hideProgress();
  app.buffer.modified = true;
  TempFilesLock tempFiles(app.folder, app.ui);
  const std::string temp = app.pathInFolder(kTempFile);
  if (!writeLines(app, temp, {})) return;
  app.ui.setBusy(true);
  const Dialect dialect(app.profile);
  std::vector<std::string> objects;
  for (;;) {
    app.backplot.PlotAll(lines, false, true, 0, 0);
    const ObjectTracker& o = app.backplot.state().objects;
    const int last = largestFirst ? o.largestLastLine : o.smallestLastLine;
    if (last == 0) break;
    const int first = objectFirstLine(lines, largestFirst ? o.largestFirstLine : o.smallestFirstLine, dialect);
    if (first > last || first >= static_cast<int>(lines.size())) break;  // nothing left to take
    takeLines(lines, first, last, objects);
  }
  bool written = writeLines(app, temp, objects);
  objects.clear();
  if (written) written = readLines(app, temp, objects);
  if (!lines.empty() && written) {
    const auto end = lines.end() - static_cast<std::ptrdiff_t>(dialect.endingLines(lines));
    lines.insert(end, std::make_move_iterator(objects.begin()), std::make_move_iterator(objects.end()));
  }
  app.ui.setBusy(false);
  replotAfterRewrite(app);
}

// The largest object of the last plot (none is made first) goes to the end, before the lines
// that end the program (the last one, and the end word before a closing tape mark).
void MoveLargestobjecttobottom1Click(App& app) {
  std::vector<std::string>& lines = app.buffer.lines;
  DxfPassContext context{app.profile, app.ui, app.folder};
  RemoveDup(lines, 0, context);
  app.ui.hideProgress();
  app.buffer.modified = true;
  if (lines.empty()) return;
  const Dialect dialect(app.profile);
  const std::size_t ending = dialect.endingLines(lines);
  std::vector<std::string> kept(std::make_move_iterator(lines.end() - static_cast<std::ptrdiff_t>(ending)),
                                std::make_move_iterator(lines.end()));
  lines.resize(lines.size() - ending);
  const ObjectTracker& o = app.backplot.state().objects;
  if (o.largestLastLine != 0) {
    std::vector<std::string> object;
    takeLines(lines, objectFirstLine(lines, o.largestFirstLine, dialect), o.largestLastLine, object);
    lines.insert(lines.end(), std::make_move_iterator(object.begin()), std::make_move_iterator(object.end()));
  }
  lines.insert(lines.end(), std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end()));
  replotAfterRewrite(app);
}

// Every part through the safe save, each named in the notes as it is written; a part that cannot
// be written ends the command, the parts before it stay on disk.
void SaveSplit2Click(App& app) {
  const SplitSettings settings{Dialect(app.profile)};
  const auto parts = splitProgram(app.buffer.lines, settings);
  if (!parts) {
    app.ui.message(splitRefusal(settings));
    return;
  }
  std::vector<std::string> notes;
  std::string name;
  for (std::size_t part = 0; part < parts->size(); ++part) {
    name = splitFileName(app.currentFileName, static_cast<int>(part) + 1);
    if (!writeLines(app, name, (*parts)[part], true)) return;
    notes.push_back(name);
  }
  notes.push_back(" File Split into " + std::to_string(parts->size()));
  notes.push_back(" ");
  notes.push_back(" Last Filename " + name);
  app.ui.showNotes(notes, kSplitSummaryMs);
}

}  // namespace

void registerTextToolCommands(CommandRegistry& registry) {
  const std::string lineEndHint = "Press F10 Options to change";
  registry.add("Main.AddLineNumbers1Click", {"&Add Line Numbers", "Ctrl+Alt+N", "", "Add Line Numbers"}, [](App& app) {
    rewrite(app, [&](auto& lines, const Dialect& d) {
      Renumber(lines, d.row(LabelRow::NLetter), app.profile.number("StartLine"), app.profile.number("LineNum"));
    });
  });
  registry.add("Main.RemoveLineNumbers1Click", {"&Remove Line Numbers", "Ctrl+Alt+R", "", "Remove Numbers"},
               [](App& app) {
                 rewrite(app, [](auto& lines, const Dialect& d) { RemoveNumbers(lines, d.row(LabelRow::NLetter)); });
               });
  registry.add("Main.RemoveComments1Click",
               {"Remove Comments enclosed by labels (71-72)", "", "See Labels and Translate Table Lines 71 - 72"},
               [](App& app) {
                 rewrite(app, [](auto& lines, const Dialect& d) {
                   RemoveComments(lines, d.row(LabelRow::Trans170), d.row(LabelRow::Trans171));
                 });
               });
  registry.add("Main.Packthefileremoveallspaces1Click", {"Pack the file remove all spaces", "", ""},
               [](App& app) { rewrite(app, [](auto& lines, const Dialect&) { RemoveSpaces(lines); }); });
  // With no characters set the commands would change nothing: the user is told where to set them.
  registry.add("Main.AddSemiColons1Click", {"Add Chars  to line end", "", lineEndHint}, [](App& app) {
    const std::string ends = app.profile.text("LineEnds");
    if (ends.empty()) return app.ui.message(noLineEnds("add to"));
    rewrite(app, [&](auto& lines, const Dialect&) { addLineEnds(lines, ends); });
  });
  registry.add("Main.RemoveSemicolons1Click", {"Remove Chars from line end", "", lineEndHint}, [](App& app) {
    const std::string ends = app.profile.text("LineEnds");
    if (ends.empty()) return app.ui.message(noLineEnds("remove from"));
    rewrite(app, [&](auto& lines, const Dialect&) { removeLineEnds(lines, ends); });
  });
  registry.add("Main.swap1Click", {"&Swap", "Ctrl+S", "Swap travel direction of highlighted block", "Swap"},
               swap1Click);
  registry.add("Main.MovestartingpointForward1Click",
               {"Move starting point Forward on highlighted code", "",
                "Moves on highlited block usually start cut to stop cut"},
               MovestartingpointForward1Click);
  registry.add("Main.SortSmallesttopLargestBottom1Click",
               {"Sort Objects Acending", "Ctrl+A", "Smallest closed paths move to the top"},
               [](App& app) { sortObjects(app, false); });
  registry.add("Main.SortObjectsDecending1Click",
               {"Sort Objects Decending", "Ctrl+D", "Smallest closed paths move to the bottom"},
               [](App& app) { sortObjects(app, true); });
  registry.add("Main.MoveLargestobjecttobottom1Click",
               {"Largest Object to bottom Only", "Ctrl+B", "Only moves the longest path so interior cuts are done first."},
               MoveLargestobjecttobottom1Click);
  registry.add("Main.SaveSplit2Click", {"Save + Split the File  (Special )", "", ""}, SaveSplit2Click);
}

}  // namespace kw
