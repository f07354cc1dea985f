#pragma once
// The state of one running program: the document, the machine profile in use, the plot
// window's own values and the command registry. One instance lives for the whole run; the
// GUI binds its windows to it and the headless runs drive it directly.
#include <array>
#include <string>
#include <vector>

#include "core/app/CommandRegistry.h"
#include "core/app/UiPort.h"
#include "core/profile/MachineProfile.h"

namespace kw {

inline constexpr const char* kUntitledTitle = "Kerfwerk - [Untitled]";

// The program text: one byte string per line, numbered from 0, and the modified flag.
struct ProgramBuffer {
  std::vector<std::string> lines;
  bool modified = false;
  int generation = 0;  // counts the times the whole text was replaced by a new document
};

// The selection the block tools work on: lines first + 1 .. first + count.
struct HighlightedBlock {
  int first = -1;
  int count = 0;
};

// Values of the plot window that other windows and the last-use file read and write.
struct PlotValues {
  std::string cutSpeed = "1.00";    // CutSpeedEdit
  std::string rapidSpeed = "2.00";  // RapidSpeedEdit
  std::string slideStep = "5.000";  // SlideEdit1: slide and spin step
};

struct App {
  App(std::string programFolder, UiPort& ui);

  std::string folder;  // ProgramFolder, ending without a slash
  UiPort& ui;
  int argumentCount = 0;  // command-line arguments the program was started with

  // Document.
  ProgramBuffer buffer;
  std::string currentFileName;
  std::string title = kUntitledTitle;  // main window title
  std::string openDialogFileName;      // OpenDialog1's file name
  std::string openDialogInitialDir;    // where the next Open starts ("" = current folder)
  HighlightedBlock highlighted;

  // Machine profile.
  MachineProfile profile;
  std::string currentProfileName;
  std::string profileLabel = "The present ini file";  // main window's Label1
  std::array<std::string, 12> lineInsertTexts;

  PlotValues plot;
  CommandRegistry commands;

  std::string pathInFolder(const std::string& name) const { return folder + "/" + name; }
};

}  // namespace kw
