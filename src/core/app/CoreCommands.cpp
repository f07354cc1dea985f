#include "core/app/App.h"
#include "core/app/CommandRegistry.h"
#include "core/app/Document.h"
#include "core/app/DxfSave.h"
#include "core/app/ProfileSession.h"
#include "core/dxf/CleanupPasses.h"
#include "core/profile/Dialect.h"
#include "core/profile/Translate.h"
#include "core/texttools/LineInsertion.h"
#include "core/texttools/LineOrder.h"

namespace kw {

namespace {

void lineOrder(App& app, bool mLast) {
  applyLineOrder(app.buffer.lines, mLast, Dialect(app.profile).lettersWithoutBlanks());
  app.buffer.modified = true;
}

// Compress (duplicate removal, mode 0) or Super Compress (mode 1, refused for an incremental
// program). A first line in incremental mode leaves the interpreter incremental.
void compress(App& app, bool super) {
  DxfPassContext context{app.profile, app.ui, app.folder};
  if (super) {
    if (!SuperCompress(app.buffer.lines, context)) return;
  } else if (Compress(app.buffer.lines, context)) {
    app.backplot.state().AbsoluteMode = false;
  }
  app.ui.hideProgress();
  app.buffer.modified = true;
}

void translate(App& app, int first, int last) { translateLines(app.buffer.lines, app.profile, first, last); }

}  // namespace

void registerCoreCommands(CommandRegistry& registry) {
  registry.add("Main.New1Click", {"&New", "Ctrl+N", ""}, New1Click);
  registry.add("Main.FileOpenClick", {"&Open...", "F4", "Open"}, FileOpenClick);
  registry.add("Main.ConvertAgain1Click",
               {"Con&vert again", "F5", "Read the drawing opened last again with the current settings"},
               ConvertAgain1Click);
  registry.add("Main.Save1Click", {"&Save", "F2", "Save"}, Save1Click);
  registry.add("Main.SaveAs1Click", {"Save &As...", "Ctrl+F2", "Save As"}, SaveAs1Click);
  registry.add("Main.SaveasDXF1Click", {"Save As DXF Circles, Arcs,Lines", "Ctrl+F3", ""}, SaveasDXF1Click);
  registry.add("Main.SaveAsDXFLinesOnly1Click", {"Save As DXF Lines Only Simple", "", ""}, SaveAsDXFLinesOnly1Click);
  registry.add("Main.SaveAsDXFPointsonlySpecial1Click", {"Save As DXF Points only ( Special )", "", ""},
               SaveAsDXFPointsonlySpecial1Click);
  registry.add("Main.FileExitClick", {"E&xit", "", ""}, [](App& app) {
    FileExitClick(app);
    app.ui.closeWindow(WindowId::Main, kExitWaitMs);
  });
  registry.add("Main.Compress1Click", {"Compress", "Ctrl+Alt+C", "Remove duplicate lines", "Compress"},
               [](App& app) { compress(app, false); });
  registry.add("Main.SuperCompress1Click",
               {"Super Compress", "", "Warning Some Kerfwerk functions will not work on a super compressed files"},
               [](App& app) { compress(app, true); });
  registry.add("Main.LineOrderGXYZIJKR1Click", {"Line Order N G M X Y Z I J K R", "Ctrl+O", ""},
               [](App& app) { lineOrder(app, false); });
  registry.add("Main.LineOrderXYZIJKRM1Click", {"Line Order N G X Y Z I J K R M", "Ctrl+Alt+L", ""},
               [](App& app) { lineOrder(app, true); });
  registry.add("DecimalAscii.Button1Click", {"Find and Insert", "", ""}, [](App& app) {
    if (findAndInsert(app.buffer.lines, app.lineInsertTexts) > 0) app.buffer.modified = true;
  });
  registry.add("Main.Translate1Click", {"Translate Using table from setup window", "", ""},
               [](App& app) { translate(app, kTranslateFirstRow, kTranslateLastRow); });
  // The two tool buttons: their hint is their caption in a list.
  const std::string firstHalf = "Translate using first half of table lines 30-49";
  const std::string secondHalf = "Translate using second half of table lines 50-69";
  registry.add("Main.SpeedButton16Click", {firstHalf, "", firstHalf},
               [](App& app) { translate(app, kTranslateFirstRow, kTranslateMiddleRow); });
  registry.add("Main.SpeedButton17Click", {secondHalf, "", secondHalf},
               [](App& app) { translate(app, kTranslateMiddleRow, kTranslateLastRow); });
  registry.add("Main.DefaultWindows1Click",
               {"Default Windows", "F9", "Return all windows to their original positions."},
               [](App& app) { app.ui.placeDefaultWindows(); });
  registry.add("Main.UseNewINI1Click", {"&Use another Machine INI File", "F11", " Use new INI "}, [](App& app) {
    app.ui.hideWindow(WindowId::Comm);
    FileDialog dialog;
    dialog.title = "Use another Machine INI File";
    dialog.folder = app.folder;
    dialog.fileName = "*.ini";
    dialog.filters = {"INI files (*.ini)", "All Files (*.*)"};
    ChooseAndLoadProfile(app, app.ui.chooseOpenFile(dialog));
  });
  registry.add("Main.UseAnotherLayer1Click",
               {"Use Another Layer", "F12", "Enter another Layer name to read from. *  = all layers."},
               [](App& app) { app.ui.focusControl(WindowId::Setup, "EditLayer"); });
  registerSlideCommands(registry);
  registerArrayCommands(registry);
  registerDrawingCommands(registry);
  registerOffsetCommands(registry);
  registerConversionCommands(registry);
  registerTextToolCommands(registry);
}

}  // namespace kw
