#include "core/app/ProfileSession.h"

#include "core/app/App.h"
#include "core/profile/IniFile.h"
#include "core/profile/LastUseFile.h"
#include "core/profile/ProfileFile.h"
#include "core/text/FileIo.h"

namespace kw {

namespace {

std::string setupCaption(const std::string& label) { return "Setup       " + label; }

}  // namespace

std::string findInProgramFolder(const App& app, const std::string& name) { return findInFolder(app.folder, name); }

std::string findProfileFile(const App& app, const std::string& name) {
  if (fileExists(name)) return name;
  if (name.find('/') == std::string::npos) {
    std::string inFolder = findInProgramFolder(app, name);
    if (fileExists(inFolder)) return inFolder;
  }
  return {};
}

bool loadProfileFile(App& app, const std::string& path) {
  IniFile ini;
  std::string error;
  if (!ini.load(path, &error)) {
    app.ui.message("Cannot read the machine profile " + path + ": " + error);
    return false;
  }
  Ldini(app.profile, ini);
  app.plot.slideDistance = std::to_string(app.profile.number("AngStepSpinEdit")) + ".000";
  app.openDialogInitialDir = app.profile.text("Edit1");
  return true;
}

void setProfileLabel(App& app, const std::string& name) {
  app.profileLabel = "Using " + name;
  app.ui.setCaption(WindowId::Setup, setupCaption(app.profileLabel));
}

void Savelastini(App& app) {
  LastUseFile last;
  last.cutSpeed = cut255(app.plot.cutSpeed);
  last.rapidSpeed = cut255(app.plot.rapidSpeed);
  last.profileName = app.currentProfileName;
  last.lineInsert = app.lineInsertTexts;
  std::string path = findInProgramFolder(app, kLastUseFile);
  IniFile ini;
  std::string error;
  ini.load(path, &error);
  writeLastUse(last, ini);
  if (!ini.save(path, &error)) app.ui.message(error);
}

void LoadLastini(App& app, const std::string& profilePath) {
  IniFile ini;
  std::string error;
  if (!ini.load(findInProgramFolder(app, kLastUseFile), &error))
    app.ui.message("Cannot read " + std::string(kLastUseFile) + ": " + error);
  LastUseFile last = readLastUse(ini);
  app.currentProfileName = cut255(last.profileName);
  app.lineInsertTexts = last.lineInsert;
  app.plot.cutSpeed = last.cutSpeed;
  app.plot.rapidSpeed = last.rapidSpeed;
  if (app.currentProfileName.empty()) app.currentProfileName = "Kerfwerk.ini";
  loadProfileFile(app, profilePath.empty() ? findInProgramFolder(app, app.currentProfileName) : profilePath);
  setProfileLabel(app, app.currentProfileName);
}

void createSetupWindow(App& app) {
  setProfileLabel(app, "Kerfwerk.ini");
  loadProfileFile(app, findInProgramFolder(app, kDefaultProfile));
  app.currentProfileName = kDefaultProfile;
  LoadLastini(app);
}

bool Saveini2Click(App& app, const std::string& path) {
  IniFile ini;
  std::string error;
  if (!ini.load(path, &error)) {
    app.ui.message("Cannot read " + path + ": " + error);
    return false;
  }
  Svini(app.profile, ini);
  if (!ini.save(path, &error)) {
    app.ui.message(error);
    return false;
  }
  app.currentProfileName = cut255(baseName(path));
  Savelastini(app);
  setProfileLabel(app, app.currentProfileName);
  return true;
}

void ChooseAndLoadProfile(App& app, const std::optional<std::string>& picked) {
  const std::string dialogName = app.openDialogFileName;
  const std::string dialogDir = app.openDialogInitialDir;
  if (picked) {
    app.currentProfileName = cut255(baseName(*picked));
    setProfileLabel(app, app.currentProfileName);
    loadProfileFile(app, *picked);
  }
  app.openDialogFileName = dialogName;
  app.openDialogInitialDir = dialogDir;
  Savelastini(app);
}

}  // namespace kw
