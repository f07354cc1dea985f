#include "gui/DrawingWindow.h"

#include <QEvent>
#include <QGridLayout>

#include "core/geometry/Drawing.h"
#include "gui/QtPort.h"

namespace kw {

DrawingWindow::DrawingWindow(App& app) : app_(app) {
  setObjectName("Drawing");
  setWindowTitle("Drawing");
  setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  auto* grid = new QGridLayout(this);
  const char* designLabels[DrawingValues::kEdits] = {"Vector", "Radius", "X I inc", "Y J inc",
                                                      "End X",  "End Y",  "Abs X",   "Abs Y"};
  for (std::size_t i = 0; i < DrawingValues::kEdits; ++i) {
    const QString number = QString::number(i + 1);
    labels_[i] = new QLabel(designLabels[i], this);
    labels_[i]->setObjectName("EditLabel" + number);
    edits_[i] = new QLineEdit(this);
    edits_[i]->setObjectName("Edit" + number);
    edits_[i]->setFixedWidth(90);
    connect(edits_[i], &QLineEdit::textEdited, this,
            [this, i](const QString& text) { app_.drawing.edits[i] = toBytes(text); });
    const int row = static_cast<int>(i);
    grid->addWidget(labels_[i], row, 0);
    grid->addWidget(edits_[i], row, 2);
  }
  side_ = new QLabel("=", this);
  side_->setObjectName("Label12");
  grid->addWidget(side_, 0, 1);
  // Puts the line to the Abs point in once more.
  draw_ = new QPushButton("Draw", this);
  draw_->setObjectName("Draw");
  draw_->hide();
  connect(draw_, &QPushButton::clicked, this, [this] {
    if (runCommand) runCommand("Drawing.DrawClick");
  });
  showValues();
}

void DrawingWindow::showValues() {
  for (std::size_t i = 0; i < DrawingValues::kEdits; ++i)
    if (edits_[i]->text() != fromBytes(app_.drawing.edits[i])) edits_[i]->setText(fromBytes(app_.drawing.edits[i]));
  side_->setText(fromBytes(app_.drawing.side));
}

void DrawingWindow::refreshLabels() {
  const auto texts = drawingLabels(Dialect(app_.profile));
  for (std::size_t i = 0; i < DrawingValues::kEdits; ++i) labels_[i]->setText(fromBytes(texts[i]));
}

void DrawingWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && activated) activated();
}

}  // namespace kw
