#pragma once
// The window "Decimal Ascii Editor + Line insertion": one program line as a row of character
// codes (to type control characters into it), and the twelve texts of "Find and Insert".
#include <array>
#include <functional>
#include <string>

#include <QWidget>

#include "core/app/App.h"

class QLineEdit;
class QTableWidget;
class QPushButton;

namespace kw {

class DecimalAsciiWindow : public QWidget {
  Q_OBJECT
 public:
  explicit DecimalAsciiWindow(App& app);

  // The first highlighted line of the program, and its replacement.
  std::function<std::string()> currentLine;
  std::function<void(const std::string&)> replaceLine;
  // Runs "Find and Insert" over the program with the window's texts.
  std::function<void()> findAndInsert;

  // "Edit current line as Decimal Ascii": shows the window with the line in the grid.
  void EditcurrentlineasDecimalAscii1Click();
  QTableWidget* grid() const { return grid_; }
  QLineEdit* edit(int box) const { return edits_[static_cast<std::size_t>(box)]; }
  QPushButton* findAndInsertButton() const { return button_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void loadLine(const std::string& line);
  void StringGrid1KeyUp();
  void FormActivate();

  App& app_;
  QTableWidget* grid_ = nullptr;
  std::array<QLineEdit*, 12> edits_{};
  QPushButton* button_ = nullptr;
};

}  // namespace kw
