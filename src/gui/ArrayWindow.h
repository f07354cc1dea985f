#pragma once
// The array window: quantities and increments of a row, a column or a grid of copies of the
// program, the buttons that lay them out, Suggest, Re Scale, Undo Nest and Compress. While it
// is open the keypad's slides copy instead of moving.
#include <functional>
#include <string>

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QWidget>

#include "core/app/App.h"

namespace kw {

// An increment box: a text that need not be a number, with spin arrows that step its value.
class ArrayBox : public QAbstractSpinBox {
  Q_OBJECT
 public:
  ArrayBox(const char* name, double step, double otherwise, QWidget* parent);
  void stepBy(int steps) override;
  QLineEdit* edit() const { return lineEdit(); }

 protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }

 private:
  double step_, otherwise_;
};

class ArrayWindow : public QWidget {
  Q_OBJECT
 public:
  explicit ArrayWindow(App& app);
  // The boxes show the array values (after a command changed them).
  void showValues();
  // Runs a registered command on the main editor's text (one undo step).
  std::function<void(const std::string& name)> runCommand;
  // Told when the window opens (true) and closes (false).
  std::function<void(bool shown)> shownChanged;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  App& app_;
  QSpinBox* qty_ = nullptr;       // QtyEdit1
  QSpinBox* horizQty_ = nullptr;  // HorizQtyEdit1
  ArrayBox* boxes_[3] = {};       // IncrementEdit1, HorizontalEdit1, ClearanceEdit1
  bool showing_ = false;
};

}  // namespace kw
