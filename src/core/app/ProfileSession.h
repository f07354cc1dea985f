#pragma once
// Which machine profile is in use: loading at start, the last-use file, saving the profile
// under a name and switching to another one.
#include <optional>
#include <string>

namespace kw {

struct App;

inline constexpr const char* kDefaultProfile = "kerfwerk.ini";
inline constexpr const char* kLastUseFile = "LastIni.ini";

// The path of a file in the program folder. Names there match without regard to letter case:
// when the exact name is missing, a file whose name differs only in case is taken.
std::string findInProgramFolder(const App& app, const std::string& name);

// A profile named on the command line: the file where it is, else a bare name (no folder)
// in the program folder; "" when neither exists.
std::string findProfileFile(const App& app, const std::string& name);

// Opens the profile file at path and loads every setting from it, then the post-load steps
// that reach other windows (slide step text, open dialog folder). A missing file loads the
// defaults; an unreadable one is reported and changes nothing. Returns false then.
bool loadProfileFile(App& app, const std::string& path);

// Label1 becomes "Using " + name and the setup window's caption follows it.
void setProfileLabel(App& app, const std::string& name);

// The profile at path becomes the one in use: its name is shown, its path is remembered.
void useProfileFile(App& app, const std::string& path);

// Writes the last-use file. A profile from the program folder is remembered by its name,
// one from anywhere else by its absolute path.
void Savelastini(App& app);
// Writes only the recent files into the last-use file, the rest of it as it was.
void saveRecentFiles(App& app);
// Reads the last-use file and loads the profile it names (a name from the program folder, a
// path from where it is), or the one at profilePath when given. A remembered profile that is
// missing is reported and the bundled default profile is loaded in its place.
void LoadLastini(App& app, const std::string& profilePath = {});

// What creating the setup window does at start: default profile, then the remembered one.
void createSetupWindow(App& app);

// "Save ini" once the user has confirmed a file name.
bool Saveini2Click(App& app, const std::string& path);

// "Load ini" and "&Use another Machine INI File" after the open dialog: picked is the chosen
// file or nothing when the dialog was cancelled. The last-use file is written in both cases.
void ChooseAndLoadProfile(App& app, const std::optional<std::string>& picked);

}  // namespace kw
