#pragma once
// The setup window: every setting of the machine profile as a control under its design name,
// the LabelTable grid, and the "&Files" and "Help" menus.
#include <map>

#include <QMainWindow>
#include <QTableWidget>

#include "core/app/App.h"

class QLabel;
class QGroupBox;

namespace kw {

class QtPort;

class SetupWindow : public QMainWindow {
  Q_OBJECT
 public:
  SetupWindow(App& app, QtPort& port);

  QTableWidget* grid() const { return grid_; }
  // Shows every value of the profile in the controls.
  void refreshAll();
  // The design size: the widest of the stacked groups plus 20, their heights plus 100.
  QSize designSize() const;

 signals:
  // The editor font changed through the "Font" command.
  void fontChosen(const QFont& font);
  // "Help": the setup window's part of the help page.
  void helpRequested();

 private:
  QWidget* buildControl(const SettingDef& def, int index);
  void refreshControl(int index);
  void refreshGrid();
  void relabel();
  void buildMenus();
  QGroupBox* groupFor(std::string_view section);

  App& app_;
  QtPort& port_;
  QTableWidget* grid_ = nullptr;
  QLabel* fontLabel_ = nullptr;
  std::map<int, QWidget*> controls_;  // settingDefs() index -> widget
  std::map<std::string, QGroupBox*, std::less<>> groups_;
  bool gridRefreshQueued_ = false;
  bool updating_ = false;
};

}  // namespace kw
