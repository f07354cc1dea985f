#pragma once
// The program document: opening by extension, saving, New, Open, Save As, the unsaved-work
// and closing questions, dropped files and Exit.
#include <optional>
#include <string>
#include <vector>

namespace kw {

struct App;

inline constexpr const char* kModifiedQuestion = "File has been modified. Save file?";

class LineStream;

// Opens a file into the program buffer, dispatching on its extension. False when the file
// could not be read or converted (the user has been told why). With `stream`, a drawing whose
// conversion the profile asks nothing more of (no line insertion, no swapped word order, no
// translation on loading) is converted into `stream` instead of the buffer, which stays empty,
// its lines in the line order N G M X Y Z I J K R that an output file gets.
bool Load_file(App& app, const std::string& name, LineStream* stream = nullptr);

// Writes every line, each ended by CR LF, to CurrentFileName. False when the save failed
// (the old file is then untouched and the user was told why).
bool SaveTheFile(App& app);
// Save: true when the program was written.
bool Save1Click(App& app);
// Save As: the dialog, then saveAsTo with the chosen name; true when the program was written.
bool SaveAs1Click(App& app);
// The part of Save As after a name was chosen.
// False when nothing was written.
bool saveAsTo(App& app, const std::string& name);
// The unsaved-work question; true when the work may be dropped (it was saved, the answer
// was No, or there was nothing to ask about). Dismissing the question keeps the work.
bool SaveoldFile(App& app);
void New1Click(App& app);
void FileOpenClick(App& app);
// "Convert again": the drawing opened last, read again with the settings as they are now.
void ConvertAgain1Click(App& app);
// The closing question; true when the window may close.
bool FormCloseQuery(App& app);
// Exit: writes the last-use file. The command then closes the main window after kExitWaitMs.
void FileExitClick(App& app);
inline constexpr int kExitWaitMs = 1000;
// The recent files: a file opened or saved under a new name goes to the top of the list
// (once, at most eight), and the list is written to the last-use file at once.
void rememberRecentFile(App& app, const std::string& path);
// Opens entry `index` of the list after the unsaved-work question; a file that is gone is
// taken off the list, and the user is told.
void openRecentFile(App& app, std::size_t index);
void clearRecentFiles(App& app);
// Files dropped on the main window: the first one is opened, without a question.
void dropFiles(App& app, const std::vector<std::string>& paths);

}  // namespace kw
