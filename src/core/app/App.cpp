#include "core/app/App.h"

namespace kw {

App::App(std::string programFolder, UiPort& port) : folder(std::move(programFolder)), ui(port) {
  registerCoreCommands(commands);
}

}  // namespace kw
