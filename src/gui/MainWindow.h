#pragma once
// The main window: the program text in RichEdit1, the file commands and the menus that run
// the registered commands.
#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPrinter>

#include "core/app/App.h"
#include "gui/ProgramEditor.h"

namespace kw {

class QtPort;
class EditorCommands;

// Tooltips ("hints") of every window on or off until the program restarts.
void setHintsShown(bool shown);
bool hintsShown();
// Prints a window's image scaled to fit the page.
void printWidget(QPrinter& printer, QWidget* widget);
// "Print Form": the print dialog, then the window's image on the chosen printer.
void printForm(QWidget* window);

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(App& app, QtPort& port, std::vector<std::string> arguments);

  ProgramEditor* editor() const { return editor_; }
  // Copies the editor's text and modified flag into the program buffer.
  void syncToCore();
  // Shows the program buffer in the editor: a new document resets the editor and its undo
  // history, a rewrite replaces the text as one undoable edit.
  void syncFromCore();
  // Runs a registered command on the editor's text.
  void runCommand(const std::string& name);
  // Runs a core routine on the editor's text.
  template <typename F>
  void runCore(F&& routine) {
    syncToCore();
    // While a core routine runs the program buffer is the text: a window it asks to plot
    // again must not read the editor's older text back.
    const bool outer = !inCore_;
    inCore_ = true;
    routine();
    if (outer) inCore_ = false;
    syncFromCore();
  }
  // The main window's default place: top at 0.1 of the screen height, left 0, half the
  // screen wide, 0.8 of the screen high.
  QRect defaultGeometry() const;
  void placeDefault();
  void setArguments(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }
  void setPlotWindow(QWidget* plot) { plotWindow_ = plot; }
  // Tells whether a plot is running.
  std::function<bool()> isPlotting;
  // Puts every other window away once the main window has agreed to close.
  std::function<void()> closeOtherWindows;
  // Ends the program's event loop once the main window has closed.
  std::function<void()> endProgram = [] { QCoreApplication::quit(); };
  EditorCommands* commands() const { return commands_; }
  QPrinter& printer() { return printer_; }
  // Single stepping moves the caret to a line, its first character selected.
  void moveCaretToLine(int line);
  // One line of the program as bytes, and its replacement in the editor (one undoable edit).
  std::string lineBytes(int line);
  void replaceLineBytes(int line, const std::string& bytes);
  // Opens the help page in the web browser, at an anchor when one is given.
  void openHelp(const QString& anchor);

 signals:
  void showSetupRequested();
  void showWindowRequested(kw::WindowId window);
  void editLineAsDecimalAsciiRequested();
  void editTranslateTableRequested();
  void replotRequested();
  // The main menu's "Offset": the offset window runs it, with its box and editor.
  void offsetRequested();
  void printPlotRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void buildMenus();
  void fillRecentFiles();
  QMenu* recentMenu_ = nullptr;
  QAction* addCommand(QMenu* menu, const QString& objectName, const QString& caption, const QKeySequence& key,
                      std::function<void()> run);
  // A menu item of a registered command, with the command's caption, shortcut and hint; it
  // runs the command, or `run` when the window has more to do around it.
  QAction* addRegistered(QMenu* menu, const QString& objectName, const std::string& command,
                         std::function<void()> run = {});
  void applyEditorFont();
  void runBatchOnce();
  void endProgramWhenIdle();
  App& app_;
  QtPort& port_;
  std::vector<std::string> arguments_;
  bool batchDone_ = false;
  ProgramEditor* editor_ = nullptr;
  QLabel* profileLabel_ = nullptr;
  EditorCommands* commands_ = nullptr;
  QWidget* plotWindow_ = nullptr;
  QPrinter printer_{QPrinter::HighResolution};
  int shownGeneration_ = -1;
  unsigned syncedRevision_ = 0;  // the editor's revision at the last sync
  bool inCore_ = false;
};

}  // namespace kw
