#pragma once
// The real windows on a fresh program folder, with dialogs and message boxes answered by the
// test instead of a person.
#include <memory>
#include <optional>

#include <QAction>
#include <QApplication>
#include <QPrinter>
#include <QProcess>
#include <QTest>

#include "gui/GuiApp.h"
#include "support/TempDir.h"

namespace kwtest {

class ScriptedPort : public kw::QtPort {
 public:
  std::vector<std::string> messages, questions;
  std::vector<kw::Answer> answers;                // then No
  std::vector<std::optional<std::string>> picks;  // then cancelled

  void message(std::string_view text) override { messages.emplace_back(text); }
  kw::Answer askYesNo(std::string_view text) override {
    questions.emplace_back(text);
    return pop(answers, kw::Answer::No);
  }
  std::optional<std::string> chooseOpenFile(kw::FileDialog&) override { return pop(picks, {}); }
  std::optional<std::string> chooseSaveFile(kw::FileDialog&) override { return pop(picks, {}); }

 private:
  template <typename T>
  static T pop(std::vector<T>& queue, T otherwise) {
    if (queue.empty()) return otherwise;
    T first = queue.front();
    queue.erase(queue.begin());
    return first;
  }
};

struct GuiFixture {
  TempDir dir;
  ScriptedPort port;
  std::unique_ptr<kw::App> app;
  std::unique_ptr<kw::GuiApp> gui;

  explicit GuiFixture(std::vector<std::string> args = {}, const std::string& profile = {}) {
    std::filesystem::create_directories(dir.file("home"));
    dir.write("home/kerfwerk.ini", profile);  // an empty profile: every setting at its default
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
  // Opens a file through File Open, as a user picking it would.
  void open(const std::string& path) {
    port.picks = {path};
    action("FileOpen")->trigger();
  }
  // A printer writing to a PDF file in the test folder, and that file's text as pdftotext lays it out.
  std::unique_ptr<QPrinter> pdfPrinter() const {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(dir.file("out.pdf")));
    return printer;
  }
  QString pdfText() const {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", QString::fromStdString(dir.file("out.pdf")), "-"});
    pdftotext.waitForFinished(20000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
  }
};

// The main editor's text as one string, set from one, and a selection between character offsets.
inline QString text(const kw::ProgramEditor* editor) { return QString::fromLatin1(editor->text()); }
inline void setText(kw::ProgramEditor* editor, const QString& text) { editor->setText(text.toLatin1().toStdString()); }
inline void select(kw::ProgramEditor* editor, int from, int to) {
  editor->setSelection(editor->positionAt(static_cast<size_t>(from)), editor->positionAt(static_cast<size_t>(to)));
}

inline const char* kPlasmaProfile =
    "[Labels]\r\nLine=G01\r\nN Letter=N\r\nR Letter=R\r\nI Letter=I\r\nJ Letter=J\r\nK Letter=K\r\n"
    "X Letter=X\r\nY Letter=Y\r\nZ Letter=Z\r\nTrans170=(\r\nTrans171=)\r\nTrans029=X\r\nTrans129=U\r\n";

}  // namespace kwtest
