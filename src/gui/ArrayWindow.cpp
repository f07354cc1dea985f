#include "gui/ArrayWindow.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/geometry/Array.h"
#include "gui/QtPort.h"

namespace kw {

ArrayBox::ArrayBox(const char* name, double step, double otherwise, QWidget* parent)
    : QAbstractSpinBox(parent), step_(step), otherwise_(otherwise) {
  setObjectName(name);
  lineEdit()->setObjectName(QString(name) + "Text");
}

void ArrayBox::stepBy(int steps) {
  lineEdit()->setText(fromBytes(stepArrayBox(toBytes(lineEdit()->text()), steps * step_, otherwise_)));
}

ArrayWindow::ArrayWindow(App& app) : app_(app) {
  setObjectName("Array");
  setWindowTitle("Array");
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  auto* grid = new QGridLayout(this);

  auto quantity = [&](const char* name, const char* hint, std::string ArrayValues::*value) {
    auto* spin = new QSpinBox(this);
    spin->setObjectName(name);
    spin->setRange(1, kMaxArrayQuantity);
    spin->setToolTip(hint);
    connect(spin, &QSpinBox::valueChanged, this, [this, value](int v) {
      if (!showing_) app_.array.*value = std::to_string(v);
    });
    return spin;
  };
  qty_ = quantity("QtyEdit1", "Vertical quantity", &ArrayValues::verticalQty);
  horizQty_ = quantity("HorizQtyEdit1", "Horizontal Quantity", &ArrayValues::horizontalQty);
  const std::tuple<const char*, const char*, double, double, std::string ArrayValues::*> boxes[3] = {
      {"IncrementEdit1", "Vertical increment", 1.0, kDefaultIncrement, &ArrayValues::verticalIncrement},
      {"HorizontalEdit1", "Horizontal inrement", 1.0, kDefaultIncrement, &ArrayValues::horizontalIncrement},
      {"ClearanceEdit1", "Added to suggested values which are Max values from the plot screen", 0.1,
       kDefaultClearance, &ArrayValues::clearance},
  };
  for (int i = 0; i < 3; ++i) {
    auto [name, hint, step, otherwise, value] = boxes[i];
    boxes_[i] = new ArrayBox(name, step, otherwise, this);
    boxes_[i]->setToolTip(hint);
    connect(boxes_[i]->edit(), &QLineEdit::textChanged, this, [this, value](const QString& text) {
      if (!showing_) app_.array.*value = toBytes(text);
    });
  }
  auto label = [&](const char* text) { return new QLabel(text, this); };
  grid->addWidget(label(" Vert Qty"), 0, 0);
  grid->addWidget(qty_, 0, 1);
  grid->addWidget(label("Increment"), 1, 0);
  grid->addWidget(boxes_[0], 1, 1);
  grid->addWidget(label("Horiz Qty"), 2, 0);
  grid->addWidget(horizQty_, 2, 1);
  grid->addWidget(label("Increment"), 3, 0);
  grid->addWidget(boxes_[1], 3, 1);
  grid->addWidget(label("Clearance"), 4, 0);
  grid->addWidget(boxes_[2], 4, 1);

  auto button = [&](const char* name, const QString& caption, const std::string& command) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setToolTip(fromBytes(app_.commands.label(command).hint));
    connect(b, &QPushButton::clicked, this, [this, command] {
      if (runCommand) runCommand(command);
      showValues();
    });
    return b;
  };
  // The row, column and grid buttons stand where they move the copies to, as on the keypad.
  auto* pad = new QGridLayout;
  pad->setSpacing(1);
  const std::tuple<const char*, const char*, int, int> arrows[] = {
      {"SpeedButton5", "\u2196", 0, 0}, {"SpeedButton2", "\u2191", 0, 1}, {"SpeedButton3", "\u2197", 0, 2},
      {"SpeedButton7", "\u2190", 1, 0}, {"SpeedButton6", "\u2192", 1, 2}, {"SpeedButton8", "\u2199", 2, 0},
      {"SpeedButton1", "\u2193", 2, 1}, {"SpeedButton4", "\u2198", 2, 2},
  };
  for (auto [name, caption, row, column] : arrows) {
    QPushButton* b = button(name, QString::fromUtf8(caption), std::string("Array.") + name + "Click");
    b->setFixedSize(30, 26);
    pad->addWidget(b, row, column);
  }
  grid->addLayout(pad, 0, 2, 3, 1);
  grid->addWidget(button("Button1", "Suggest  Increments", "Array.Button1Click"), 3, 2);
  grid->addWidget(button("Rescale", "Re Scale", "Array.RescaleClick"), 4, 2);
  grid->addWidget(button("UndoNest", "Undo Nest", "Array.UndoNestClick"), 5, 2);
  auto* compress = button("SpeedButton12", "Compress Remove all blanks and duplicates", "Array.SpeedButton12Click");
  compress->setToolTip(compress->text());
  grid->addWidget(compress, 5, 0, 1, 2);
  showValues();
}

void ArrayWindow::showValues() {
  showing_ = true;
  const ArrayValues& values = app_.array;
  qty_->setValue(arrayQuantity(values.verticalQty));
  horizQty_->setValue(arrayQuantity(values.horizontalQty));
  const std::string* texts[3] = {&values.verticalIncrement, &values.horizontalIncrement, &values.clearance};
  for (int i = 0; i < 3; ++i)
    if (boxes_[i]->edit()->text() != fromBytes(*texts[i])) boxes_[i]->edit()->setText(fromBytes(*texts[i]));
  showing_ = false;
}

void ArrayWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  app_.array.shown = true;
  showValues();
  if (shownChanged) shownChanged(true);
}

void ArrayWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  app_.array.shown = false;
  if (shownChanged) shownChanged(false);
}

}  // namespace kw
