#pragma once
// The temporary files of the multi-pass rewrites, all in the program folder, and the two
// pass files that chain one pass's output into the next pass's input.
#include <cstdio>
#include <string>
#include <vector>

namespace kw {

class UiPort;

inline constexpr const char* kDxf1File = "DXF1.$$$";
inline constexpr const char* kNewFile = "NEWFILE.$$$";
inline constexpr const char* kTempFile = "Temp.$$$";
inline constexpr const char* kUnusedFile = "UNUSED.$$$";
inline constexpr const char* kNewDxfFile = "NewDXF.$$$";

// PassInputFile and PassOutputFile: open while a multi-pass rewrite runs.
class PassFiles {
 public:
  PassFiles() = default;
  ~PassFiles() { close(); }
  PassFiles(const PassFiles&) = delete;
  PassFiles& operator=(const PassFiles&) = delete;
  std::FILE* input = nullptr;
  std::FILE* output = nullptr;
  void close();
};

// Holds the program folder's temporary files for the length of one operation: a second
// program that needs them in the same folder waits until the first is done, and says so.
class TempFilesLock {
 public:
  TempFilesLock(const std::string& programFolder, UiPort& ui);
  ~TempFilesLock();
  TempFilesLock(const TempFilesLock&) = delete;
  TempFilesLock& operator=(const TempFilesLock&) = delete;

 private:
  int fd_ = -1;
};

// Writes a temporary file of the program folder: the lines, each ended by CR LF, straight into
// the file (it holds nothing worth keeping after the operation, so it is not synced to disk).
// False with the system's reason when it cannot be written.
bool writeTempLines(const std::string& path, const std::vector<std::string>& lines, std::string* error);

// Deletes a temporary file of the program folder if it exists (name matched without regard
// to case).
void DeleteMyFile(const std::string& programFolder, const std::string& name);

// Turns the last pass's output "NEWFILE.$$$" into the next pass's input "DXF1.$$$" and opens
// a new empty "NEWFILE.$$$". False (after telling the user) when a file cannot be opened.
bool SetupMyFile(const std::string& programFolder, UiPort& ui, PassFiles& files);

}  // namespace kw
