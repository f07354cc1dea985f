#pragma once
// The main editor's own commands: undo and the clipboard, find and replace, the position
// read-out that sets the highlighted block, and printing the program text.
#include <utility>
#include <vector>

#include <QLabel>
#include <QObject>
#include <QPlainTextEdit>

#include "core/app/App.h"
#include "core/app/ReadOut.h"
#include "gui/ProgramEditor.h"

class QMainWindow;
class QMenu;
class QPrinter;

namespace kw {

class QtPort;
class SearchDialog;

// The line, column and selected lines of an editor's selection.
ReadOut editorReadOut(const QPlainTextEdit* editor);
ReadOut editorReadOut(const ProgramEditor* editor);

class EditorCommands : public QObject {
  Q_OBJECT
 public:
  EditorCommands(QMainWindow* window, ProgramEditor* editor, App& app, QtPort& port);

  // Builds the Edit and Search menus and the editor's pop-up menu.
  void addMenus(QMenu* edit, QMenu* search);
  // A command of another menu that the pop-up menu runs too, after the editor's own; the
  // pop-up entry reads `caption`, or the command's own text without its accelerator.
  void addToPopup(QAction* action, const QString& caption = {});
  // The editor's pop-up menu ("PopupMenu1"), built anew: one entry per command, in order.
  QMenu* popupMenu();
  QLabel* readOutPanel() const { return panel_; }

  // ShowLineNum2 for the main editor: Panel2 and the highlighted block.
  void ShowLineNum2();
  // Panel2 alone, from the caret and selection (after a load or a rewrite).
  ReadOut showReadOut();
  // The search routine: selects the match (cut and pasted back so the editor scrolls to it).
  bool search(const QString& find, bool down, bool matchCase, bool wholeWord);
  // Prints the program text on an opened printer.
  void printText(QPrinter& printer);

  SearchDialog* findDialog() const { return find_; }
  SearchDialog* replaceDialog() const { return replace_; }

 signals:
  // The decimal-ASCII window is hidden whenever the read-out changes.
  void readOutUpdated();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void findNextFrom(SearchDialog* dialog);
  void replaceFrom(SearchDialog* dialog, bool all);

  QMainWindow* window_;
  ProgramEditor* editor_;
  App& app_;
  QtPort& port_;
  QLabel* panel_ = nullptr;
  SearchDialog* find_ = nullptr;
  SearchDialog* replace_ = nullptr;
  QAction* findNextAction_ = nullptr;
  std::vector<std::pair<QAction*, QString>> popupEntries_;
  QMenu* popup_ = nullptr;
  std::pair<TextPos, TextPos> lastSelection_{{-1, -1}, {-1, -1}};  // anchor and caret at the last read-out
};

}  // namespace kw
