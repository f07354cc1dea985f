#pragma once
// Unattended work from the command line: the batch conversion (source, output, profile) and
// the scripted commands of --do.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/app/App.h"
#include "core/app/DxfSave.h"
#include "core/dxf/DxfWriter.h"

namespace kw {

inline constexpr const char* kIniNotFound = "INI File Not Found ( Last INI file will be used )";
inline constexpr const char* kSourceNotFound = "Source File Not Found";
inline constexpr const char* kProfileNotFound = "Profile not found: ";

// True (after telling the user) when output names the same file as the source or the profile
// ("" for none; a bare name is the one in the program folder): nothing is written then.
bool refusesInputAsOutput(App& app, const std::string& output, const std::string& source, const std::string& profile);

// The batch steps for the given arguments (source, output, profile). With one argument the
// source is opened and its words reordered; with two or more the result is written to the
// output. Returns 0 on success and 1 when it stopped on an error (the user was told why).
int runBatchConversion(App& app, const std::vector<std::string>& args);

struct DoRequest {
  std::vector<std::string> commands;  // registered names, run in order
  std::string input;
  std::string output;
  std::string profile;                                    // a profile file to use instead of the remembered one
  std::vector<std::pair<std::string, std::string>> sets;  // control, value
  std::optional<HighlightedBlock> select;
  // --dxf-form: the output is written in this DXF form (its name must end in .dxf); without
  // it the output is saved as Save As does.
  std::optional<DxfForm> dxfForm;
};

// Splits "A,B,,C" into its non-empty names.
std::vector<std::string> splitCommandList(const std::string& list);

// Opens input as Open does, gives the named controls their values, runs the commands and
// saves output as Save As does. Returns 0 on success, 1 on an error (told to the user).
int runDoCommands(App& app, const DoRequest& request);

}  // namespace kw
