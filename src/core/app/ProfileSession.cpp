#include "core/app/ProfileSession.h"

#include <filesystem>

#include "core/app/App.h"
#include "core/app/BundledFiles.h"
#include "core/profile/IniFile.h"
#include "core/profile/LastUseFile.h"
#include "core/profile/ProfileFile.h"
#include "core/text/FileIo.h"

namespace kw {

namespace fs = std::filesystem;

namespace {

std::string setupCaption(const std::string& label) { return "Setup       " + label; }

// Ldini and the post-load steps that reach other windows.
void loadProfile(App& app, const IniFile& ini) {
  Ldini(app.profile, ini);
  app.plot.slideDistance = std::to_string(app.profile.number("AngStepSpinEdit")) + ".000";
  app.openDialogInitialDir = app.profile.text("Edit1");
}

// The program's own copy of the default profile.
std::string_view bundledDefaultProfile() {
  for (const BundledFile& file : bundledProfiles())
    if (sameIgnoringCase(file.name, kDefaultProfile)) return file.bytes;
  return {};
}

// The last-use file's "LastUsedFile" for the profile in use.
std::string rememberedProfile(const App& app) {
  if (app.currentProfilePath.empty()) return app.currentProfileName;
  const std::string folder = fs::path(app.currentProfilePath).parent_path().string();
  return sameFile(folder, app.folder) ? app.currentProfileName : app.currentProfilePath;
}

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
  loadProfile(app, ini);
  return true;
}

void setProfileLabel(App& app, const std::string& name) {
  app.profileLabel = "Using " + name;
  app.ui.setCaption(WindowId::Setup, setupCaption(app.profileLabel));
}

void useProfileFile(App& app, const std::string& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  app.currentProfilePath = ec ? path : absolute.lexically_normal().string();
  app.currentProfileName = cut255(baseName(path));
}

void Savelastini(App& app) {
  LastUseFile last;
  last.cutSpeed = cut255(app.plot.cutSpeed);
  last.rapidSpeed = cut255(app.plot.rapidSpeed);
  last.profileName = rememberedProfile(app);
  last.lineInsert = app.lineInsertTexts;
  last.recentFiles = app.recentFiles;
  std::string path = findInProgramFolder(app, kLastUseFile);
  IniFile ini;
  std::string error;
  ini.load(path, &error);
  writeLastUse(last, ini);
  if (!ini.save(path, &error)) app.ui.message(error);
}

void saveRecentFiles(App& app) {
  std::string path = findInProgramFolder(app, kLastUseFile);
  IniFile ini;
  std::string error;
  if (!ini.load(path, &error)) return app.ui.message(error);
  writeRecentFiles(app.recentFiles, ini);
  if (!ini.save(path, &error)) app.ui.message(error);
}

void LoadLastini(App& app, const std::string& profilePath) {
  IniFile ini;
  std::string error;
  if (!ini.load(findInProgramFolder(app, kLastUseFile), &error))
    app.ui.message("Cannot read " + std::string(kLastUseFile) + ": " + error);
  LastUseFile last = readLastUse(ini);
  app.lineInsertTexts = last.lineInsert;
  app.recentFiles = last.recentFiles;
  app.plot.cutSpeed = last.cutSpeed;
  app.plot.rapidSpeed = last.rapidSpeed;
  std::string remembered = last.profileName;
  // A blank typed after the name is no part of it.
  while (!remembered.empty() && (remembered.back() == ' ' || remembered.back() == '\t')) remembered.pop_back();
  if (remembered.empty()) remembered = "Kerfwerk.ini";
  std::string path = profilePath;
  if (path.empty())
    path = remembered.find('/') == std::string::npos ? findInProgramFolder(app, remembered) : remembered;
  app.currentProfileName = cut255(baseName(remembered));
  app.currentProfilePath = remembered.find('/') == std::string::npos ? std::string() : remembered;
  if (!profilePath.empty()) useProfileFile(app, profilePath);
  setProfileLabel(app, app.currentProfileName);
  if (fileExists(path)) {
    loadProfileFile(app, path);
    return;
  }
  // An empty profile would convert a drawing into lines without words: the program's own
  // default profile stands in.
  app.ui.message("The machine profile " + path + " was not found: the bundled " + kDefaultProfile + " is used.");
  loadProfile(app, IniFile::fromText(bundledDefaultProfile()));
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
  useProfileFile(app, path);
  Savelastini(app);
  setProfileLabel(app, app.currentProfileName);
  return true;
}

void ChooseAndLoadProfile(App& app, const std::optional<std::string>& picked) {
  const std::string dialogName = app.openDialogFileName;
  const std::string dialogDir = app.openDialogInitialDir;
  if (picked) {
    useProfileFile(app, *picked);
    setProfileLabel(app, app.currentProfileName);
    loadProfileFile(app, *picked);
  }
  app.openDialogFileName = dialogName;
  app.openDialogInitialDir = dialogDir;
  Savelastini(app);
}

}  // namespace kw
