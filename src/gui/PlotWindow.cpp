#include "gui/PlotWindow.h"

#include <optional>
#include <tuple>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QTime>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "core/profile/SettingNumbers.h"
#include "gui/MainWindow.h"
#include "gui/QtPort.h"

namespace kw {

namespace {

QSize screenSize() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->size() : QSize(1920, 1080);
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text, int width = 70) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(name);
  edit->setFixedWidth(width);
  return edit;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QSpinBox* makeAngle(QWidget* parent, const char* name, int step, bool typed) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(name);
  spin->setRange(-180, 180);
  spin->setSingleStep(step);
  if (!typed) spin->findChild<QLineEdit*>()->setReadOnly(true);
  return spin;
}

}  // namespace

PlotImage::PlotImage(PlotWindow* window, ImageCanvas& canvas) : QWidget(nullptr), window_(window), canvas_(canvas) {
  setObjectName("Image1");
  setFixedSize(canvas.width(), canvas.height());
  setCursor(Qt::CrossCursor);
  setToolTip("Esc  To quit a long plot");
  setMouseTracking(true);
}

void PlotImage::setRubber(const QRect& rect) {
  rubber_ = rect;
  update();
}

void PlotImage::setPanOffset(QPoint offset) {
  panOffset_ = offset;
  update();
}

void PlotImage::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (panOffset_.isNull()) {
    painter.drawImage(event->rect(), canvas_.image(), event->rect());
  } else {
    painter.fillRect(event->rect(), Qt::white);
    painter.drawImage(panOffset_, canvas_.image());
  }
  const auto marked = window_->markedStrokes();
  if (!marked.empty() && panOffset_.isNull()) {
    // The caret line's move, over the plot: a green band and a ring where it ends.
    painter.setPen(QPen(QColor(0, 170, 0), 3, Qt::SolidLine, Qt::RoundCap));
    for (const auto& s : marked) painter.drawLine(s.x0, s.y0, s.x1, s.y1);
    painter.setPen(QPen(QColor(0, 170, 0), 2));
    painter.drawEllipse(QPoint(marked.back().x1, marked.back().y1), 5, 5);
  }
  if (!rubber_.isNull()) {
    // The rubber rectangle inverts what lies under it, with no fill.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rubber_.normalized());
  }
}

void PlotImage::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier))
    window_->imageCtrlClick(event->position().toPoint());
  else
    window_->imageMouseDown(event->button(), event->position().toPoint());
}

void PlotImage::mouseMoveEvent(QMouseEvent* event) { window_->imageMouseMove(event->position().toPoint()); }

void PlotImage::mouseReleaseEvent(QMouseEvent* event) {
  window_->imageMouseUp(event->button(), event->position().toPoint());
}

void PlotImage::wheelEvent(QWheelEvent* event) {
  // The wheel zooms the plot instead of scrolling the scroll box.
  event->accept();
  const int notches = event->angleDelta().y() / 120;
  if (notches != 0) window_->imageWheel(notches, event->position().toPoint());
}

PlotWindow::PlotWindow(App& app, QtPort& port) : app_(app), port_(port) {
  setObjectName("Plot");
  setWindowTitle("Plot ");
  const QSize size = screenSize();
  canvas_ = std::make_unique<ImageCanvas>(size.width(), size.height());
  canvas_->clear();
  lineMap_ = std::make_unique<PlotLineMap>(*canvas_, [this] { return app_.backplot.state().CurrentLine; });
  app_.canvas.target = lineMap_.get();
  app_.backplot.setHost(this);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  // The tool panel and the read-outs scroll sideways when the window is narrower than they are.
  auto sideways = [&](const char* name, QWidget* content) {
    auto* box = new QScrollArea(central);
    box->setObjectName(name);
    box->setWidget(content);
    box->setWidgetResizable(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setFrameShape(QFrame::NoFrame);
    box->setFixedHeight(content->sizeHint().height() + box->horizontalScrollBar()->sizeHint().height());
    layout->addWidget(box);
  };
  sideways("PanelBox", buildPanel());
  sideways("ReadOutBox", buildReadOuts());
  scroll_ = new QScrollArea(central);
  scroll_->setObjectName("ScrollBox1");
  image_ = new PlotImage(this, *canvas_);
  scroll_->setWidget(image_);
  layout->addWidget(scroll_, 1);
  setCentralWidget(central);
  // A long plot refreshes every 1000 blocks and single stepping every arc chord: the image is
  // shown again at most every 40 ms, so showing it never slows the plot down.
  refreshClock_.start();
  canvas_->onRefresh = [this] {
    if (refreshClock_.elapsed() < 40) return;
    refreshClock_.restart();
    image_->update();
  };

  // Page notes, shown on the scroll box by "Enter Page Notes".
  const char* noteLabelNames[4] = {"Label6", "Label7", "Label8", "Label9"};
  const char* noteCaptions[4] = {"Matl Thk ", "Note: ", "Note: ", "Part # "};
  const char* noteEditNames[4] = {"Edit1", "Edit2", "Edit4", "Edit3"};
  for (int i = 0; i < 4; ++i) {
    noteLabels_[i] = makeLabel(scroll_->viewport(), noteLabelNames[i], noteCaptions[i]);
    notes_[i] = makeEdit(scroll_->viewport(), noteEditNames[i], "", 220);
    noteLabels_[i]->move(10, 10 + i * 30);
    notes_[i]->move(90, 6 + i * 30);
    noteLabels_[i]->hide();
    notes_[i]->hide();
  }
  progress_ = makeLabel(scroll_->viewport(), "PlotProgress", "");
  progress_->setStyleSheet("QLabel { background: #ffffe0; border: 1px solid gray; padding: 3px; }");
  progress_->hide();

  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setInterval(121);
  connect(timer1_, &QTimer::timeout, this, &PlotWindow::singleStepTick);
  timer2_ = new QTimer(this);
  timer2_->setObjectName("Timer2");
  timer2_->setInterval(kReplotDelayMs);
  timer2_->setSingleShot(true);
  connect(timer2_, &QTimer::timeout, this, &PlotWindow::replot);
  app_.replotSoon = [this] {
    showView();
    timer2_->start();
  };

  buildMenus();
  qApp->installEventFilter(this);
  showView();
}

PlotWindow::~PlotWindow() {
  qApp->removeEventFilter(this);
  app_.canvas.target = nullptr;
  app_.backplot.setHost(nullptr);
  app_.replotSoon = nullptr;
}

QWidget* PlotWindow::buildPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName("Panel1");
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(4, 2, 4, 2);

  scale_ = new QSpinBox(panel);
  scale_->setObjectName("SpinEdit1");
  scale_->setRange(1, static_cast<int>(PlotView::kMaxViewScale));
  scale_->setToolTip("View Scale");
  connect(scale_, &QSpinBox::valueChanged, this, &PlotWindow::viewScaleEdited);
  aboutY_ = makeAngle(panel, "SpinEdit3", 10, false);
  aboutX_ = makeAngle(panel, "SpinEdit4", 10, false);
  aboutZ_ = makeAngle(panel, "ZAxisSpinEdit", 1, true);
  for (QSpinBox* spin : {aboutY_, aboutX_, aboutZ_})
    connect(spin, &QSpinBox::valueChanged, this, [this] {
      if (showing_) return;
      app_.plot.angleAboutY = aboutY_->value();
      app_.plot.angleAboutX = aboutX_->value();
      app_.plot.angleAboutZ = aboutZ_->value();
      app_.plot.viewChanged = true;
      timer2_->start();
    });
  const char* barNames[3] = {"ScrollBar1", "ScrollBar2", "ScrollBar3"};
  for (int i = 0; i < 3; ++i) {
    bars_[i] = new QScrollBar(i == 1 ? Qt::Vertical : Qt::Horizontal, panel);
    bars_[i]->setObjectName(barNames[i]);
    bars_[i]->setRange(-18, 18);
    connect(bars_[i], &QScrollBar::valueChanged, this, [this, i] { scrollBarMoved(i); });
  }
  bars_[1]->setFixedHeight(60);

  auto zoomButton = [&](const char* caption, const char* name, const char* hint, void (*zoom)(PlotView&)) {
    auto* button = new QPushButton(caption, panel);
    button->setObjectName(name);
    button->setToolTip(hint);
    connect(button, &QPushButton::clicked, this, [this, zoom] {
      zoom(app_.plot);
      scale_->setValue(app_.plot.viewScale);
    });
    return button;
  };
  auto* zoomPlus = zoomButton("+", "ZoomPlus", "Zoom in", ZoomPlusClick);
  auto* zoomMinus = zoomButton("-", "ZoomMinus", "Zoom out", ZoomMinusClick);
  auto* flat = new QPushButton("Flat", panel);
  flat->setObjectName("FlatButton");
  flat->setToolTip("Return to X Y Flat Plane");
  connect(flat, &QPushButton::clicked, this, &PlotWindow::FlatButtonClick);
  auto* toCursor = new QPushButton("To Cursor", panel);
  toCursor->setObjectName("SpeedButton10");
  toCursor->setToolTip("Plot to Cursor");
  connect(toCursor, &QPushButton::clicked, this, &PlotWindow::plotToCursorClick);
  auto* fit = new QPushButton("Fit", panel);
  fit->setObjectName("FitButton");
  fit->setToolTip("Fit the whole program into the window (Home)");
  connect(fit, &QPushButton::clicked, this, &PlotWindow::fitClick);

  slide_ = makeEdit(panel, "SlideEdit1", "5.000");
  slide_->setToolTip("Move the program by this amount or Rotate Degrees + or -");
  size_ = makeEdit(panel, "X_Edit1", "1.000");
  size_->setToolTip("Size factor to multiply the program by");
  cutSpeed_ = makeEdit(panel, "CutSpeedEdit", "1.000");
  rapidSpeed_ = makeEdit(panel, "RapidSpeedEdit", "1.000");
  connect(slide_, &QLineEdit::textEdited, this, [this](const QString& t) { app_.plot.slideDistance = toBytes(t); });
  connect(size_, &QLineEdit::textEdited, this, [this](const QString& t) { app_.plot.sizeFactor = toBytes(t); });
  connect(cutSpeed_, &QLineEdit::textEdited, this, [this](const QString& t) { app_.plot.cutSpeed = toBytes(t); });
  connect(rapidSpeed_, &QLineEdit::textEdited, this, [this](const QString& t) { app_.plot.rapidSpeed = toBytes(t); });

  int c = 0;
  grid->addWidget(new QLabel("View Scale", panel), 0, c);
  grid->addWidget(scale_, 1, c++);
  grid->addWidget(zoomPlus, 0, c);
  grid->addWidget(zoomMinus, 1, c++);
  grid->addWidget(new QLabel("Y", panel), 0, c);
  grid->addWidget(aboutY_, 1, c++);
  grid->addWidget(new QLabel("X", panel), 0, c);
  grid->addWidget(aboutX_, 1, c++);
  grid->addWidget(new QLabel("Z", panel), 0, c);
  grid->addWidget(aboutZ_, 1, c++);
  grid->addWidget(bars_[0], 0, c, 1, 2);
  grid->addWidget(bars_[2], 1, c, 1, 2);
  c += 2;
  grid->addWidget(bars_[1], 0, c++, 2, 1);
  grid->addWidget(flat, 0, c);
  grid->addWidget(toCursor, 1, c++);
  grid->addWidget(fit, 0, c++);
  grid->addWidget(new QLabel("Slide", panel), 0, c);
  grid->addWidget(slide_, 1, c++);
  grid->addWidget(new QLabel("Size", panel), 0, c);
  grid->addWidget(size_, 1, c++);
  grid->addWidget(buildKeypad(panel), 0, c++, 2, 1);
  grid->addWidget(new QLabel("Cut Speed", panel), 0, c);
  grid->addWidget(cutSpeed_, 1, c++);
  grid->addWidget(new QLabel("Rapid Speed", panel), 0, c);
  grid->addWidget(rapidSpeed_, 1, c++);
  grid->setColumnStretch(c, 1);
  return panel;
}

QWidget* PlotWindow::buildKeypad(QWidget* parent) {
  auto* box = new QWidget(parent);
  box->setObjectName("Keypad");
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(1);
  grid->setColumnMinimumWidth(3, 6);
  // The keypad from its top left, then flip, flop and size in a column beside it.
  const char* const captions[] = {"\u2196", "\u2191", "\u2197", "\u2190", "\u21ba", "\u2192",
                                  "\u2199", "\u2193", "\u2198", "Flip",   "Flop",   "Size"};
  const std::vector<std::string> names = slideButtonNames();
  for (std::size_t index = 0; index < names.size(); ++index) {
    const std::string command = "Plot." + names[index] + "Click";
    auto* button = new QPushButton(QString::fromUtf8(captions[index]), box);
    button->setObjectName(QString::fromStdString(names[index]));
    button->setToolTip(fromBytes(app_.commands.label(command).hint));
    button->setFocusPolicy(Qt::NoFocus);
    const int at = static_cast<int>(index);
    button->setFixedSize(at < 9 ? 26 : 40, 22);
    if (at < 9)
      grid->addWidget(button, at / 3, at % 3);
    else
      grid->addWidget(button, at - 9, 4);
    connect(button, &QPushButton::clicked, this, [this, command] {
      if (runCommand) runCommand(command);
    });
    modifiers_.push_back(button);
  }
  return box;
}

void PlotWindow::enableModifiers() {
  const bool off = app_.profile.flag("NoModifiers");
  const bool spinOff = off || app_.profile.flag("Xdiv2") || app_.profile.flag("Idiv2");
  for (std::size_t index = 0; index < modifiers_.size(); ++index)
    modifiers_[index]->setEnabled(!(index == 4 ? spinOff : off));
}

// The read-outs stand in rows of their own under the controls, each after the name of what it
// shows, so none is cut off at the window's width.
QWidget* PlotWindow::buildReadOuts() {
  auto* box = new QWidget(this);
  box->setObjectName("ReadOuts");
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(6, 0, 6, 2);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(1);
  const std::tuple<QLabel**, const char*, const char*> labels[] = {
      {&label1_, "Label1", "0"},
      {&label2_, "Label2", "0"},
      {&bigx_, "Bigx", ""},
      {&bigy_, "Bigy", ""},
      {&area_, "Area", ""},
      {&label14_, "Label14", "Cut"},
      {&label15_, "Label15", "Rapid"},
      {&label16_, "Label16", "Total"},
      {&distances_, "Distances", ""},
      {&cursorXName_, "CursorXName", "X"},
      {&cursorYName_, "CursorYName", "Y"},
      {&bigxName_, "BigxName", "X extent"},
      {&bigyName_, "BigyName", "Y extent"},
  };
  for (auto [member, name, text] : labels) *member = makeLabel(box, name, text);
  auto named = [&](int row, int column, QWidget* name, QLabel* value) {
    name->setStyleSheet("color: #505050;");
    grid->addWidget(name, row, column);
    grid->addWidget(value, row, column + 1);
  };
  grid->addWidget(distances_, 0, 0, 1, 6);
  named(1, 0, new QLabel("Cut", box), label14_);
  named(1, 2, new QLabel("Rapid", box), label15_);
  named(1, 4, new QLabel("Total", box), label16_);
  named(2, 0, bigxName_, bigx_);
  named(2, 2, bigyName_, bigy_);
  grid->addWidget(area_, 2, 4, 1, 2);
  named(3, 0, cursorXName_, label2_);
  named(3, 2, cursorYName_, label1_);
  grid->setColumnStretch(6, 1);
  return box;
}

void PlotWindow::buildMenus() {
  QMenu* window = menuBar()->addMenu("Window");
  window->setObjectName("Window1");
  QAction* zoom = window->addAction("Zoom");
  zoom->setObjectName("Zoom1");
  zoom->setShortcut(QKeySequence("Ctrl+Z"));
  connect(zoom, &QAction::triggered, this, [this] {
    zoomArmed_ = true;
    previous_->setEnabled(true);
    clicks_ = 0;
  });
  previous_ = window->addAction("Previous");
  previous_->setObjectName("Previous1");
  previous_->setShortcut(QKeySequence("Ctrl+L"));
  previous_->setEnabled(false);
  connect(previous_, &QAction::triggered, this, [this] {
    restorePrevious(app_.plot, previousView_);
    previous_->setEnabled(false);
    showView();
    timer2_->start();
  });

  QMenu* gridMenu = menuBar()->addMenu("Grid");
  gridMenu->setObjectName("Grid1");
  for (const GridPreset& preset : gridPresets()) {
    QAction* a = gridMenu->addAction(preset.caption);
    a->setObjectName(QString("Grid_") + QString(preset.caption).replace('/', '_'));
    const int value = preset.viewScale;
    connect(a, &QAction::triggered, this, [this, value] { scale_->setValue(value); });
  }

  QMenu* pan = menuBar()->addMenu("Pan");
  pan->setObjectName("Pan1");
  const std::pair<const char*, PanDirection> pans[] = {
      {"Up       Shift + Arrow", PanDirection::Up},
      {"Down  Shift + Arrow", PanDirection::Down},
      {"Left     Shift + Arrow", PanDirection::Left},
      {"Right   Shift + Arrow", PanDirection::Right},
  };
  const char* panNames[] = {"Up1", "Down1", "Left1", "Right1"};
  for (int i = 0; i < 4; ++i) {
    QAction* a = pan->addAction(pans[i].first);
    a->setObjectName(panNames[i]);
    const PanDirection direction = pans[i].second;
    connect(a, &QAction::triggered, this, [this, direction] {
      panMenu(app_.plot, direction);
      replot();
    });
  }

  QMenu* print = menuBar()->addMenu("Print");
  print->setObjectName("Print1");
  QAction* notes = print->addAction("Enter Page Notes");
  notes->setObjectName("PageNotes1");
  connect(notes, &QAction::triggered, this, [this] {
    scroll_->horizontalScrollBar()->setValue(0);
    scroll_->verticalScrollBar()->setValue(0);
    for (int i = 0; i < 4; ++i) {
      noteLabels_[i]->show();
      notes_[i]->show();
      noteLabels_[i]->raise();
      notes_[i]->raise();
    }
  });
  QAction* printNotes = print->addAction("Print + Notes");
  printNotes->setObjectName("PrintNotes1");
  connect(printNotes, &QAction::triggered, this, [this] {
    if (printer) printPlotPage(*printer, this);
  });
  QAction* formPrint = print->addAction("Form Print");
  formPrint->setObjectName("FormPrint1");
  connect(formPrint, &QAction::triggered, this, [this] {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) printWidget(printer, this);
  });
}

void PlotWindow::showView() {
  showing_ = true;
  const PlotView& view = app_.plot;
  scale_->setValue(view.viewScale);
  scale_->setSingleStep(viewScaleIncrement(view.viewScale));
  aboutY_->setValue(view.angleAboutY);
  aboutX_->setValue(view.angleAboutX);
  aboutZ_->setValue(view.angleAboutZ);
  for (auto [edit, text] : {std::pair{slide_, &view.slideDistance}, std::pair{size_, &view.sizeFactor},
                            std::pair{cutSpeed_, &view.cutSpeed}, std::pair{rapidSpeed_, &view.rapidSpeed}})
    if (edit->text() != fromBytes(*text)) edit->setText(fromBytes(*text));
  enableModifiers();
  showing_ = false;
}

void PlotWindow::viewScaleEdited(int value) {
  if (showing_) return;
  app_.plot.setViewScale(std::max(1, value));
  scale_->setSingleStep(viewScaleIncrement(app_.plot.viewScale));
  timer2_->start();
}

void PlotWindow::scrollBarMoved(int which) {
  const int step = angleStep(app_.profile);
  const int position = bars_[which]->value();
  QSpinBox* target = which == 0 ? aboutX_ : which == 1 ? aboutY_ : aboutZ_;
  target->setValue(which == 0 ? position * step : -(position * step));
  const int limit = scrollLimit(step);
  QSignalBlocker block(bars_[which]);
  bars_[which]->setRange(-limit, limit);
}

void PlotWindow::fitClick() {
  app_.plot.fitPending = true;
  replot();
}

void PlotWindow::imageWheel(int notches, QPoint at) {
  wheelZoom(app_.plot, notches, at.x(), at.y());
  showView();
  timer2_->start();
}

void PlotWindow::FlatButtonClick() {
  const ScrollPositions bars = flatPositions(app_.profile);
  const int positions[3] = {bars.aboutX, bars.aboutY, bars.aboutZ};
  for (int i = 0; i < 3; ++i) {
    const int limit = scrollLimit(angleStep(app_.profile));
    {
      QSignalBlocker block(bars_[i]);
      bars_[i]->setRange(-limit, limit);
    }
    if (bars_[i]->value() == positions[i])
      scrollBarMoved(i);
    else
      bars_[i]->setValue(positions[i]);
  }
  // The flat view turns the drawing about the origin; it is fitted again so it stays in sight.
  app_.plot.fitPending = true;
  timer2_->start();
}

void PlotWindow::updateScrollGeometry() {
  PlotView& view = app_.plot;
  view.clientWidth = scroll_->viewport()->width();
  view.clientHeight = scroll_->viewport()->height();
  view.horizontalScroll = scroll_->horizontalScrollBar()->value();
  view.verticalScroll = scroll_->verticalScrollBar()->value();
  view.windowWidth = width();
}

void PlotWindow::replot() {
  if (syncEditor) syncEditor();
  timer2_->stop();
  if (app_.plot.fitPending) {
    showPlotWindow();  // the fit needs the size the window is shown at
    updateScrollGeometry();
    if (!app_.fitView()) {  // Esc stopped the measuring
      lineMap_->clear();
      image_->update();
      return;
    }
  }
  updateScrollGeometry();
  app_.replot();
  ++plotCount_;
  showView();
  showReadOuts();
  image_->update();
}

void PlotWindow::showReadOuts() {
  const PlotLabels& labels = app_.backplot.state().labels;
  setWindowTitle(fromBytes(labels.caption));
  distances_->setText(labels.caption == PlotLabels{}.caption ? QString() : fromBytes(labels.caption));
  const Dialect& dialect = app_.backplot.dialect();
  const std::string unit = programUnit(app_.buffer.lines);
  const QString suffix = unit.empty() ? QString() : " (" + fromBytes(unit) + ")";
  cursorXName_->setText(fromBytes(dialect.x) + suffix);
  cursorYName_->setText(fromBytes(dialect.y) + suffix);
  bigxName_->setText(fromBytes(dialect.x) + " extent" + suffix);
  bigyName_->setText(fromBytes(dialect.y) + " extent" + suffix);
  label14_->setText(fromBytes(labels.label14));
  label15_->setText(fromBytes(labels.label15));
  label16_->setText(fromBytes(labels.label16));
  bigx_->setText(fromBytes(labels.bigx));
  bigy_->setText(fromBytes(labels.bigy));
  area_->setText(fromBytes(labels.area));
}

void PlotWindow::singleStepTick() {
  if (syncEditor) syncEditor();
  timer1_->setInterval(app_.backplot.dialect().singleStepMs);
  app_.backplot.SingleStepAline(app_.buffer.lines, &app_.highlighted);
  showReadOuts();
  image_->update();
}

void PlotWindow::plotToCursorClick() {
  if (syncEditor) syncEditor();
  updateScrollGeometry();
  plotToCursor(app_.backplot, app_.buffer.lines, app_.highlighted);
  showReadOuts();
  image_->update();
}

void PlotWindow::imageMouseDown(Qt::MouseButton button, QPoint at) {
  if (button == Qt::MiddleButton) {  // drags the drawing
    panning_ = true;
    panAnchor_ = at;
    return;
  }
  box_.anchorX = box_.currentX = at.x();
  box_.anchorY = box_.currentY = at.y();
  ++clicks_;
  if (zoomArmed_) {
    zoomDrag_ = true;
    return;
  }
  if (button == Qt::LeftButton) {
    app_.plot.horizontalOrigin = at.x();
    app_.plot.verticalOrigin = at.y();
    replot();
  } else if (button == Qt::RightButton) {
    if (syncEditor) syncEditor();
    timer1_->setInterval(app_.backplot.dialect().singleStepMs);
    timer1_->start();
    singleStepTick();
  }
}

void PlotWindow::imageMouseMove(QPoint at) {
  const CursorReadout readout =
      cursorReadout(app_.plot, app_.backplot.dialect(), decimalPlaces(app_.profile), at.x(), at.y());
  label1_->setText(fromBytes(readout.label1));
  label2_->setText(fromBytes(readout.label2));
  if (panning_) image_->setPanOffset(at - panAnchor_);
  if (zoomDrag_) {
    box_.currentX = at.x();
    box_.currentY = at.y();
    image_->setRubber(QRect(QPoint(box_.anchorX, box_.anchorY), at));
  }
}

void PlotWindow::imageMouseUp(Qt::MouseButton button, QPoint at) {
  if (panning_ && button == Qt::MiddleButton) {
    panning_ = false;
    app_.plot.horizontalOrigin += at.x() - panAnchor_.x();
    app_.plot.verticalOrigin += at.y() - panAnchor_.y();
    image_->setPanOffset(QPoint());
    replot();
    return;
  }
  timer1_->stop();
  if (!zoomDrag_) return;
  updateScrollGeometry();
  previousView_ = finishZoomBox(app_.plot, box_, at.x(), at.y());
  image_->setRubber(QRect());
  zoomDrag_ = false;
  zoomArmed_ = false;
  showView();
  timer2_->start();
}

bool PlotWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return QMainWindow::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Escape) {
    app_.backplot.state().StopRequested = true;
    return true;
  }
  // Home fits the program, unless it moves a caret in a text field.
  if (key->key() == Qt::Key_Home && key->modifiers() == Qt::NoModifier && !qobject_cast<QLineEdit*>(widget) &&
      !qobject_cast<QAbstractSpinBox*>(widget)) {
    fitClick();
    return true;
  }
  if (key->modifiers() & Qt::ShiftModifier) {
    std::optional<PanDirection> direction;
    switch (key->key()) {
      case Qt::Key_Left:
        direction = PanDirection::Left;
        break;
      case Qt::Key_Up:
        direction = PanDirection::Up;
        break;
      case Qt::Key_Right:
        direction = PanDirection::Right;
        break;
      case Qt::Key_Down:
        direction = PanDirection::Down;
        break;
      default:
        break;
    }
    if (direction) {
      panKey(app_.plot, *direction);
      replot();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void PlotWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isActiveWindow()) return;
  QScrollBar* bar = scroll_->verticalScrollBar();
  const int before = bar->value();
  bar->setValue(bar->maximum());
  // The drawing moves with the scroll, so activating the window never carries it out of sight.
  const int moved = bar->value() - before;
  if (moved != 0 && !app_.plot.fitPending && !app_.buffer.lines.empty()) {
    app_.plot.verticalOrigin += moved;
    timer2_->start();
  }
}

void PlotWindow::showPlotWindow() {
  if (!isVisible()) show();
}

void PlotWindow::stopPlotTimers() {
  timer1_->stop();
  timer2_->stop();
}

void PlotWindow::setBusyCursor(bool busy) {
  plotting_ = busy;
  port_.setBusy(busy);
  if (busy) {
    plotClock_.start();
  } else {
    plotClock_.invalidate();
    progress_->hide();
  }
}

void PlotWindow::serviceEvents() {
  if (plotClock_.isValid() && plotClock_.elapsed() >= progressDelayMs_) {
    const long long count = static_cast<long long>(app_.buffer.lines.size());
    const long long line = std::min<long long>(app_.backplot.state().CurrentLine + 1, count);
    progress_->setText(QString("Plotting line %1 of %2 (%3%)  -  Esc stops it")
                           .arg(line)
                           .arg(count)
                           .arg(count > 0 ? line * 100 / count : 0));
    progress_->adjustSize();
    progress_->move(8, std::max(0, scroll_->viewport()->height() - progress_->height() - 8));
    progress_->show();
    progress_->raise();
  }
  QCoreApplication::processEvents();
}

void PlotWindow::markLine(int index) {
  if (index == markedLine_) return;
  markedLine_ = index;
  image_->update();
}

std::vector<PlotLineMap::Stroke> PlotWindow::markedStrokes() const {
  return markedLine_ < 0 ? std::vector<PlotLineMap::Stroke>{} : lineMap_->strokesOf(markedLine_);
}

void PlotWindow::imageCtrlClick(QPoint at) {
  const std::optional<int> line = lineMap_->lineNear(at, 6);
  if (!line) return;
  if (moveCaretToLine) moveCaretToLine(*line);
  markLine(*line);
}

void PlotWindow::moveEditorCaret(std::size_t, int line) {
  if (moveCaretToLine) moveCaretToLine(line);
}

void PlotWindow::printPlotPage(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() == QDialog::Accepted) PrintPlot(printer, port_.window(WindowId::Main)->windowTitle());
}

QStringList PlotWindow::pageLines(const QString& mainCaption) const {
  const PlotLabels& labels = app_.backplot.state().labels;
  const QLocale locale = QLocale::system();
  QStringList lines = {
      "Date : " + locale.toString(QDate::currentDate(), QLocale::ShortFormat) +
          "    Time : " + locale.toString(QTime::currentTime(), QLocale::LongFormat) + "    File : " + mainCaption,
      fromBytes(labels.caption),
      fromBytes(labels.label14 + labels.label15 + labels.label16),
      // The area text already starts with its name.
      "Rectangle " + fromBytes(labels.area) + "   Horizontal " + fromBytes(labels.bigy) + "   Vertical " +
          fromBytes(labels.bigx),
  };
  // The notes in the order of their labels: "Matl Thk ", "Note: ", "Note: ", "Part # "; once one
  // is typed, an empty one leaves its line blank.
  QStringList notes;
  bool anyNote = false;
  for (int i = 0; i < 4; ++i) {
    anyNote = anyNote || !notes_[i]->text().isEmpty();
    notes << (notes_[i]->text().isEmpty() ? QString() : noteLabels_[i]->text() + notes_[i]->text());
  }
  if (anyNote) lines << notes;
  return lines;
}

// The page: the plot image scaled to the page width without distortion, and below it the
// read-outs and notes in 10 point type, wrapped at the page edge.
void PlotWindow::PrintPlot(QPrinter& printer, const QString& mainCaption) {
  port_.setBusy(true);
  const QStringList lines = pageLines(mainCaption);
  QPainter painter(&printer);
  QFont font = painter.font();
  font.setPointSizeF(10);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QRect page = painter.viewport();
  const int gap = painter.fontMetrics().height();
  int textHeight = 0;
  std::vector<QRect> boxes;
  for (const QString& line : lines) {
    const QRect box = painter.boundingRect(QRect(0, 0, page.width(), page.height()), Qt::TextWordWrap,
                                           line.isEmpty() ? QString(" ") : line);
    boxes.push_back(box);
    textHeight += box.height();
  }
  const QImage& image = canvas_->image();
  if (!image.isNull()) {
    const QSize room(page.width(), std::max(1, page.height() - textHeight - gap));
    const QSize drawn = image.size().scaled(room, Qt::KeepAspectRatio);
    painter.drawImage(QRect(QPoint((page.width() - drawn.width()) / 2, 0), drawn), image);
    painter.translate(0, drawn.height() + gap);
  }
  int y = 0;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    painter.drawText(QRect(0, y, page.width(), boxes[i].height()), Qt::TextWordWrap, lines[static_cast<int>(i)]);
    y += boxes[i].height();
  }
  painter.end();
  port_.setBusy(false);
}

}  // namespace kw
