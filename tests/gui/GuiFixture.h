#pragma once
// The real windows on a fresh program folder, with dialogs and message boxes answered by the
// test instead of a person.
#include <QAction>
#include <QApplication>
#include <memory>
#include <optional>

#include "gui/GuiApp.h"
#include "support/TempDir.h"

namespace kwtest {

class ScriptedPort : public kw::QtPort {
 public:
  std::vector<std::string> messages, questions;
  std::vector<kw::Answer> answers;
  std::vector<std::optional<std::string>> picks;

  void message(std::string_view text) override { messages.emplace_back(text); }
  kw::Answer askYesNo(std::string_view text) override {
    questions.emplace_back(text);
    if (answers.empty()) return kw::Answer::No;
    kw::Answer a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  std::optional<std::string> chooseOpenFile(kw::FileDialog&) override { return next(); }
  std::optional<std::string> chooseSaveFile(kw::FileDialog&) override { return next(); }

 private:
  std::optional<std::string> next() {
    if (picks.empty()) return std::nullopt;
    auto p = picks.front();
    picks.erase(picks.begin());
    return p;
  }
};

struct GuiFixture {
  TempDir dir;
  ScriptedPort port;
  std::unique_ptr<kw::App> app;
  std::unique_ptr<kw::GuiApp> gui;

  explicit GuiFixture(std::vector<std::string> args = {}, const std::string& profile = {}) {
    std::filesystem::create_directories(dir.file("home"));
    if (!profile.empty()) dir.write("home/kerfwerk.ini", profile);
    app = std::make_unique<kw::App>(dir.file("home"), port);
    gui = std::make_unique<kw::GuiApp>(*app, port, std::move(args));
  }
  QAction* action(const char* name) const {
    for (QWidget* w : gui->windowsInOrder())
      if (auto* a = w->findChild<QAction*>(name)) return a;
    return nullptr;
  }
  template <typename T>
  T* control(const char* name) const {
    return gui->setup()->findChild<T*>(name);
  }
};

inline const char* kPlasmaProfile =
    "[Labels]\r\nLine=G01\r\nN Letter=N\r\nR Letter=R\r\nI Letter=I\r\nJ Letter=J\r\nK Letter=K\r\n"
    "X Letter=X\r\nY Letter=Y\r\nZ Letter=Z\r\nTrans170=(\r\nTrans171=)\r\nTrans029=X\r\nTrans129=U\r\n";

}  // namespace kwtest
