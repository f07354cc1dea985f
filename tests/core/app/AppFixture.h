#pragma once
// An App on a fresh program folder with a recording user port.
#include <memory>

#include "core/app/App.h"
#include "support/RecordingPort.h"
#include "support/TempDir.h"

namespace kwtest {

struct AppFixture {
  TempDir dir;
  kw::RecordingPort port;
  std::unique_ptr<kw::App> app;

  AppFixture() : app(std::make_unique<kw::App>(dir.file("home"), port)) {
    std::filesystem::create_directories(dir.file("home"));
  }
  std::string home(const std::string& name) const { return dir.file("home/" + name); }
  std::string writeHome(const std::string& name, const std::string& bytes) const {
    return dir.write("home/" + name, bytes);
  }
};

}  // namespace kwtest
