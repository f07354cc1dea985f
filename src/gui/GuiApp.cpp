#include "gui/GuiApp.h"

#include <cmath>

#include <QAction>
#include <QScreen>

#include "core/app/ProfileSession.h"

namespace kw {

GuiApp::GuiApp(App& app, QtPort& port, std::vector<std::string> arguments) : app_(app), port_(port) {
  app_.argumentCount = static_cast<int>(arguments.size());
  app_.remembersRecentFiles = true;
  main_ = std::make_unique<MainWindow>(app_, port_, std::move(arguments));
  port_.setWindow(WindowId::Main, main_.get());
  plot_ = std::make_unique<PlotWindow>(app_, port_);
  plot_->syncEditor = [this] { main_->syncToCore(); };
  plot_->runCommand = [this](const std::string& name) { main_->runCommand(name); };
  plot_->runCore = [this](const std::function<void()>& routine) { main_->runCore(routine); };
  main_->isPlotting = [this] { return plot_ && plot_->plotting(); };
  plot_->moveCaretToLine = [this](int line) { main_->moveCaretToLine(line); };
  // The caret's line is marked on the plot as the caret moves.
  QObject::connect(main_->editor(), &ProgramEditor::caretMoved, plot_.get(),
                   [this] { plot_->markLine(main_->editor()->caret().line); });
  port_.setWindow(WindowId::Plot, plot_.get());
  setup_ = std::make_unique<SetupWindow>(app_, port_);
  port_.setWindow(WindowId::Setup, setup_.get());
  createSetupWindow(app_);
  setup_->refreshAll();
  setup_->resize(setup_->designSize());
  main_->syncFromCore();

  comm_ = std::make_unique<CommWindow>(app_, port_, *main_);
  port_.setWindow(WindowId::Comm, comm_.get());
  drawing_ = std::make_unique<DrawingWindow>(app_);
  port_.setWindow(WindowId::Drawing, drawing_.get());
  drawing_->runCommand = [this](const std::string& name) { main_->runCommand(name); };
  drawing_->activated = [this] { plot_->flatBars(); };
  plot_->showDrawing = [this] {
    drawing_->show();
    drawing_->raise();
  };
  plot_->drawingChanged = [this] { drawing_->showValues(); };
  plot_->drawMenuOpening = [this] { drawing_->refreshLabels(); };
  drawing_->adjustSize();
  placeDrawing();
  decimalAscii_ = std::make_unique<DecimalAsciiWindow>(app_);
  port_.setWindow(WindowId::DecimalAscii, decimalAscii_.get());
  // The window works on the first highlighted line, the one holding the selection start.
  decimalAscii_->currentLine = [this] { return main_->lineBytes(app_.highlighted.first + 1); };
  decimalAscii_->replaceLine = [this](const std::string& line) {
    main_->replaceLineBytes(app_.highlighted.first + 1, line);
  };
  decimalAscii_->findAndInsert = [this] { main_->runCommand("DecimalAscii.Button1Click"); };
  QObject::connect(main_.get(), &MainWindow::editLineAsDecimalAsciiRequested, decimalAscii_.get(),
                   [this] { decimalAscii_->EditcurrentlineasDecimalAscii1Click(); });
  offset_ = std::make_unique<OffsetWindow>(app_);
  port_.setWindow(WindowId::Offset, offset_.get());
  offset_->runMainCommand = [this](const std::string& name) { main_->runCommand(name); };
  offset_->syncMain = [this] { main_->syncToCore(); };
  offset_->plotDrawn = [this] {
    plot_->showPlotWindow();
    plot_->image()->update();
  };
  QObject::connect(main_.get(), &MainWindow::offsetRequested, offset_.get(),
                   [this] { offset_->runOffsetCommand("Main.Offset1Click"); });
  array_ = std::make_unique<ArrayWindow>(app_);
  port_.setWindow(WindowId::Array, array_.get());
  array_->runCommand = [this](const std::string& name) { main_->runCommand(name); };
  array_->shownChanged = [this](bool shown) { plot_->setModifiersVisible(!shown); };

  port_.defaultWindows = [this] { DefaultWindows1Click(); };
  main_->closeOtherWindows = [this] {
    for (QWidget* w : windowsInOrder())
      if (w != main_.get()) w->hide();
  };

  main_->setPlotWindow(plot_.get());
  QObject::connect(main_.get(), &MainWindow::replotRequested, plot_.get(), [this] { plot_->replot(); });
  plot_->printer = &main_->printer();
  QObject::connect(main_.get(), &MainWindow::printPlotRequested, plot_.get(),
                   [this] { plot_->printPlotPage(main_->printer(), main_.get()); });
  {
    const QRect place = main_->defaultGeometry();
    plot_->setGeometry(place.x() + place.width(), place.y(), place.width(), place.height());
  }
  setup_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  setup_->setWindowState(Qt::WindowMaximized);

  // The setup window comes up maximised, so every group is in view.
  QObject::connect(main_.get(), &MainWindow::showSetupRequested, setup_.get(), [this] {
    setup_->showMaximized();
    setup_->raise();
  });
  QObject::connect(main_.get(), &MainWindow::editTranslateTableRequested, setup_.get(), [this] {
    setup_->showMaximized();
    setup_->raise();
    setup_->grid()->setStyleSheet("QTableWidget { background-color: #00FFFF; }");
    setup_->grid()->setFocus();
  });
  QObject::connect(main_.get(), &MainWindow::showWindowRequested, main_.get(), [this](WindowId id) {
    if (QWidget* w = port_.window(id)) {
      w->show();
      w->raise();
    }
  });
  shareMainShortcuts();
  QObject::connect(comm_.get(), &CommWindow::helpRequested, main_.get(), [this] { main_->openHelp("transmit"); });
  QObject::connect(setup_.get(), &SetupWindow::helpRequested, main_.get(), [this] { main_->openHelp("setup"); });
  QObject::connect(setup_.get(), &SetupWindow::fontChosen, main_.get(),
                   [this](const QFont& font) { main_->editor()->setFont(font); });
}

GuiApp::~GuiApp() { port_.defaultWindows = nullptr; }

void GuiApp::DefaultWindows1Click() {
  main_->placeDefault();
  const QRect mainPlace = main_->defaultGeometry();
  plot_->showNormal();
  plot_->setGeometry(mainPlace.x() + mainPlace.width(), mainPlace.y(), mainPlace.width(), mainPlace.height());
  const QSize setupSize = setup_->designSize();
  setup_->setGeometry(setup_->x(), 0, setupSize.width(), setupSize.height());
  plot_->replot();
  placeDrawing();
  drawing_->hide();
}

void GuiApp::placeDrawing() {
  if (QScreen* screen = main_->screen()) {
    const QRect area = screen->availableGeometry();
    drawing_->move(area.x() + area.width() / 2 - drawing_->width(),
                   area.y() + static_cast<int>(std::lround(area.height() * 0.1)) + 100);
  }
}

void GuiApp::shareMainShortcuts() {
  // The main window's commands answer their keys in every window of the program, except the
  // editing keys, which belong to the text field that has the focus, and a key another window
  // uses for a command of its own, which stays that window's there.
  QList<QKeySequence> taken;
  for (QWidget* w : windowsInOrder())
    if (w != main_.get())
      for (QAction* a : w->findChildren<QAction*>())
        if (!a->shortcut().isEmpty()) taken << a->shortcut();
  const QStringList editing = {"Undo1", "Cut1", "Copy1", "Paste1", "Delete1", "SelectAll1"};
  for (QAction* a : main_->findChildren<QAction*>())
    if (!a->shortcut().isEmpty() && !taken.contains(a->shortcut()) && !editing.contains(a->objectName()))
      a->setShortcutContext(Qt::ApplicationShortcut);
}

std::vector<QWidget*> GuiApp::windowsInOrder() const {
  return {main_.get(),    plot_.get(),         setup_.get(),  comm_.get(),
          drawing_.get(), decimalAscii_.get(), offset_.get(), array_.get()};
}

}  // namespace kw
