#include "core/app/Document.h"

#include <filesystem>

#include "core/app/App.h"
#include "core/app/DxfSave.h"
#include "core/app/ProfileSession.h"
#include "core/dxf/CleanupPasses.h"
#include "core/profile/LastUseFile.h"
#include "core/dxf/DxfReader.h"
#include "core/dxf/DxfWriter.h"
#include "core/plot/ViewControl.h"
#include "core/profile/Translate.h"
#include "core/text/FileIo.h"
#include "core/text/TempFiles.h"
#include "core/texttools/LineInsertion.h"

namespace kw {

namespace {

// The conversion of a drawing into the program buffer, and what the conversion leaves to its
// caller: the layer log, "Use Another Layer", the line insertion and the swapped word order.
bool convertDrawing(App& app, const std::string& name, const std::string& docName, LineStream* stream) {
  DxfPassContext context{app.profile, app.ui, app.folder};
  app.layerLog.clear();
  app.ui.hideLayerLog();
  app.lastDrawing = name;
  if (app.profile.flag("ExecuteInsert") || app.profile.flag("SwapXY") || app.profile.flag("TranslateLoad"))
    stream = nullptr;  // what follows the conversion works on the buffer
  const DxfLoadResult result =
      LOAD_DXF_FILE(name, context, app.buffer.lines, app.layerLog, [&app] { app.ui.showLayerLog(app.layerLog); },
                    &docName, stream);
  // The layers found stay in view while the user picks another one, until the next conversion.
  if (result.useAnotherLayer) app.commands.run("Main.UseAnotherLayer1Click", app);
  if (result.status != DxfLoadStatus::Converted) return false;
  if (result.runInsertLines) {
    RemoveDup(app.buffer.lines, 0, context);
    findAndInsert(app.buffer.lines, app.lineInsertTexts);
    app.commands.run("Main.LineOrderGXYZIJKR1Click", app);
    RemoveDup(app.buffer.lines, 0, context);
  }
  if (result.swapLineOrder) app.commands.run("Main.LineOrderXYZIJKRM1Click", app);
  return true;
}

// The plot and the plot totals of the last program go with it.
void dropThePlot(App& app) {
  app.backplot.state().labels = {};
  if (app.replotSoon) app.replotSoon();
}

}  // namespace

bool Load_file(App& app, const std::string& nameIn, LineStream* stream) {
  const std::string name = cut255(nameIn);
  app.backplot.Setaxis();
  app.buffer.lines.clear();
  ++app.buffer.generation;
  FlatButtonClick(app.plot, app.profile);
  app.ui.setBusy(true);
  const std::string ext = upperExtension(name);
  std::string docName = name;
  bool loaded = true;
  if (ext == ".DXF") {
    TempFilesLock tempFiles(app.folder, app.ui);
    for (const char* temp : {kDxf1File, kNewFile, kTempFile, kUnusedFile}) DeleteMyFile(app.folder, temp);
    docName = name.substr(0, name.size() - 4);
    loaded = convertDrawing(app, name, docName, stream);
  } else {
    std::string error;
    if (!readTextLines(name, app.buffer.lines, &error)) {
      app.ui.setBusy(false);
      app.ui.message("Cannot open " + name + ": " + error);
      return false;
    }
  }
  // The next Open starts in the folder of the file opened last, however it was opened.
  std::error_code failed;
  const std::filesystem::path opened = std::filesystem::absolute(name, failed);
  if (!failed) app.openDialogInitialDir = opened.parent_path().string();
  if (loaded) rememberRecentFile(app, name);
  if (app.buffer.lines.empty()) {
    app.title = kUntitledTitle;
    app.openDialogFileName.clear();
    dropThePlot(app);
  } else {
    if (app.scalesLoadedPrograms) app.backplot.CalcScale(app.buffer.lines);
    app.plot.fitPending = true;  // whatever view the last program left
    if (app.replotSoon) app.replotSoon();
    app.currentFileName = docName;
    app.title = baseName(docName);
    app.openDialogFileName = " ";
  }
  app.ui.setCaption(WindowId::Main, app.title);
  if (app.profile.flag("TranslateLoad")) app.commands.run("Main.Translate1Click", app);
  app.ui.setBusy(false);
  return loaded;
}

bool SaveTheFile(App& app) {
  std::string error;
  if (!writeLinesAtomically(app.currentFileName, app.buffer.lines, &error)) {
    app.ui.message("Cannot save " + app.currentFileName + ": " + error);
    return false;
  }
  // The full name: a converted drawing is saved under its name without the extension.
  app.ui.setCaption(WindowId::Plot, "Saved & Archive bit set: " + app.currentFileName);
  app.ui.beep();
  app.buffer.modified = false;
  return true;
}

bool Save1Click(App& app) {
  if (app.currentFileName.empty()) return SaveAs1Click(app);
  if (fileExists(app.currentFileName))
    return app.ui.askYesNo("Overwrite " + app.currentFileName + " ") == Answer::Yes && SaveTheFile(app);
  return SaveTheFile(app);
}

bool SaveAs1Click(App& app) {
  FileDialog dialog;
  dialog.title = "Save As " + app.currentFileName;
  dialog.filters = {"All Files (*.*)", "Dxf Files(*.dxf)", "Text Files (*.txt)"};
  dialog.fileName = app.currentFileName;
  const auto chosen = app.ui.chooseSaveFile(dialog);
  return chosen && saveAsTo(app, *chosen);
}

bool saveAsTo(App& app, const std::string& nameIn) {
  const std::string name = cut255(nameIn);
  if (upperExtension(name) == ".DXF") return saveDxfCapture(app, name);
  app.currentFileName = name;
  app.title = baseName(name);
  app.ui.setCaption(WindowId::Main, app.title);
  if (!SaveTheFile(app)) return false;
  rememberRecentFile(app, name);
  return true;
}

// Yes saves (a save that did not happen keeps the work), No drops the work, and a question
// closed without an answer keeps it.
static bool answerModifiedQuestion(App& app) {
  switch (app.ui.askYesNo(kModifiedQuestion)) {
    case Answer::Yes:
      return Save1Click(app);
    case Answer::No:
      return true;
    case Answer::Dismissed:
      return false;
  }
  return false;
}

bool SaveoldFile(App& app) {
  if (!app.buffer.modified || app.buffer.lines.size() <= 1) return true;
  app.ui.hideWindow(WindowId::Offset);
  app.ui.hideWindow(WindowId::Array);
  return answerModifiedQuestion(app);
}

void New1Click(App& app) {
  // A dismissed question leaves everything as it was, the windows' places too.
  if (!SaveoldFile(app)) return;
  app.commands.run("Main.DefaultWindows1Click", app);
  app.buffer.lines.clear();
  ++app.buffer.generation;
  app.buffer.modified = false;
  app.openDialogFileName.clear();
  app.title = kUntitledTitle;
  app.ui.setCaption(WindowId::Main, app.title);
  app.layerLog.clear();
  app.ui.hideLayerLog();
  dropThePlot(app);
}

void FileOpenClick(App& app) {
  if (!SaveoldFile(app)) return;
  FileDialog dialog;
  dialog.filters = {"All Files (*.*)", "Autocad Dxf files (*.DXF)", "Text files (*.TXT)"};
  dialog.folder = app.openDialogInitialDir;
  dialog.fileName = app.openDialogFileName;
  auto chosen = app.ui.chooseOpenFile(dialog);
  if (chosen) Load_file(app, *chosen);
  app.buffer.modified = false;
  // The next Open starts where this dialog was left.
  app.openDialogInitialDir = dialog.folder;
}

void ConvertAgain1Click(App& app) {
  if (app.lastDrawing.empty()) {
    app.ui.message("No drawing has been opened yet: open one with Open (F4), then Convert again reads it anew.");
    return;
  }
  if (!SaveoldFile(app)) return;
  Load_file(app, app.lastDrawing);
  app.buffer.modified = false;
}

bool FormCloseQuery(App& app) {
  if (!app.buffer.modified || app.buffer.lines.size() <= 1 || app.argumentCount >= 2) return true;
  return answerModifiedQuestion(app);
}

void FileExitClick(App& app) { Savelastini(app); }

void rememberRecentFile(App& app, const std::string& path) {
  if (!app.remembersRecentFiles) return;
  std::error_code failed;
  std::filesystem::path full = std::filesystem::absolute(path, failed);
  const std::string entry = failed ? path : full.lexically_normal().string();
  auto& list = app.recentFiles;
  std::erase(list, entry);
  list.insert(list.begin(), entry);
  if (list.size() > kRecentFiles) list.resize(kRecentFiles);
  saveRecentFiles(app);
}

void openRecentFile(App& app, std::size_t index) {
  if (index >= app.recentFiles.size()) return;
  const std::string path = app.recentFiles[index];
  if (!fileExists(path)) {
    app.recentFiles.erase(app.recentFiles.begin() + static_cast<std::ptrdiff_t>(index));
    saveRecentFiles(app);
    app.ui.message("Cannot open " + path + ": the file is no longer there. It was taken off the recent files.");
    return;
  }
  if (!SaveoldFile(app)) return;
  Load_file(app, path);
  app.buffer.modified = false;
}

void clearRecentFiles(App& app) {
  app.recentFiles.clear();
  saveRecentFiles(app);
}

void dropFiles(App& app, const std::vector<std::string>& paths) {
  if (!paths.empty()) Load_file(app, paths.front());
}

}  // namespace kw
