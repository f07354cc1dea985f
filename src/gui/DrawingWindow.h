#pragma once
// The Drawing window: the numbers of the move being drawn on the plot (direction, radius,
// increments, end point, anchor point). It stays on top of the plot.
#include <functional>
#include <string>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "core/app/App.h"

namespace kw {

class DrawingWindow : public QWidget {
  Q_OBJECT
 public:
  explicit DrawingWindow(App& app);
  // The edits and the side label show the drawing values.
  void showValues();
  // The edits' labels name the profile's letters (when the Draw menu opens).
  void refreshLabels();
  // Runs a registered command on the main editor's text (one undo step).
  std::function<void(const std::string& name)> runCommand;
  // The plot turned flat, so the mouse maps straight onto the XY plane.
  std::function<void()> activated;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  App& app_;
  QLineEdit* edits_[DrawingValues::kEdits] = {};
  QLabel* labels_[DrawingValues::kEdits] = {};
  QLabel* side_ = nullptr;  // Label12
  QPushButton* draw_ = nullptr;
};

}  // namespace kw
