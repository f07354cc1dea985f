#pragma once
// The folder that holds the machine profiles, the last-use file and the temporary files.
#include <string>

namespace kw {

// KERFWERK_HOME when set; otherwise the executable's folder when it is writable; otherwise
// $XDG_DATA_HOME/kerfwerk (default ~/.local/share/kerfwerk). The folder is created when
// missing. Returns "" with a reason when no folder can be had.
std::string resolveProgramFolder(std::string* error);

// Copies every bundled profile that the folder does not hold yet (never overwriting one) and
// brings the help page in its "help" folder up to date: seedProfiles, then seedHelp.
void seedProgramFolder(const std::string& folder);
void seedProfiles(const std::string& folder);
void seedHelp(const std::string& folder);

}  // namespace kw
