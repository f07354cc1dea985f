#include "core/app/TempFiles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/app/App.h"
#include "core/app/ProfileSession.h"
#include "core/text/FileIo.h"

namespace kw {

namespace fs = std::filesystem;

void PassFiles::close() {
  if (input) std::fclose(input);
  if (output) std::fclose(output);
  input = output = nullptr;
}

void DeleteMyFile(const std::string& programFolder, const std::string& name) {
  deleteInFolder(programFolder, name);
}

bool SetupMyFile(App& app, PassFiles& files) {
  files.close();
  DeleteMyFile(app.folder, kDxf1File);
  const std::string input = app.pathInFolder(kDxf1File);
  std::error_code ec;
  fs::rename(findInProgramFolder(app, kNewFile), input, ec);
  if (ec) app.ui.message("Rename File problem ! ");
  files.input = std::fopen(input.c_str(), "rb");
  if (!files.input) {
    app.ui.message("Cannot open " + input + ": " + std::strerror(errno));
    return false;
  }
  const std::string output = app.pathInFolder(kNewFile);
  files.output = std::fopen(output.c_str(), "wb");
  if (!files.output) {
    app.ui.message("Cannot create " + output + ": " + std::strerror(errno));
    files.close();
    return false;
  }
  return true;
}

}  // namespace kw
