#include "gui/MainWindow.h"

#include <cstring>

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/app/Batch.h"
#include "core/app/Document.h"
#include "core/app/ProfileSession.h"
#include "core/text/FileIo.h"
#include "gui/EditorCommands.h"
#include "gui/GcodeHighlighter.h"
#include "gui/QtPort.h"

namespace kw {

namespace {

// Whether the editor shows the program: an empty editor is a program of no lines.
bool sameText(const std::vector<std::string>& program, const ProgramEditor& editor) {
  return program.empty() ? editor.isEmpty() : program == editor.lines();
}

// Swallows every tooltip while hints are off.
class HintsFilter : public QObject {
 public:
  bool shown = true;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!shown && event->type() == QEvent::ToolTip) return true;
    return QObject::eventFilter(watched, event);
  }
};

HintsFilter* hintsFilter() {
  static HintsFilter* filter = [] {
    auto* f = new HintsFilter;
    QCoreApplication::instance()->installEventFilter(f);
    return f;
  }();
  return filter;
}

}  // namespace

void setHintsShown(bool shown) { hintsFilter()->shown = shown; }
bool hintsShown() { return hintsFilter()->shown; }

void printForm(QWidget* window) {
  QPrinter printer;
  QPrintDialog dialog(&printer, window);
  if (dialog.exec() == QDialog::Accepted) printWidget(printer, window);
}

void printWidget(QPrinter& printer, QWidget* widget) {
  QPainter painter(&printer);
  const QPixmap image = widget->grab();
  const QRect page = painter.viewport();
  const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
  painter.drawPixmap(QRect(page.topLeft(), size), image);
}

MainWindow::MainWindow(App& app, QtPort& port, std::vector<std::string> arguments)
    : app_(app), port_(port), arguments_(std::move(arguments)) {
  setObjectName("Main");
  setWindowTitle(kUntitledTitle);
  editor_ = new ProgramEditor(this);
  editor_->setObjectName("RichEdit1");
  editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor_->setAcceptDrops(false);
  editor_->setColouring(gcodeColouring([&app = app_] { return HighlightWords(Dialect(app.profile)); }));
  auto* centre = new QWidget(this);
  auto* column = new QVBoxLayout(centre);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(editor_, 1);
  setCentralWidget(centre);

  // Memo4 lists the layers of a drawing that gave nothing on the chosen layer; Gauge1 shows
  // the progress of a conversion.
  auto* memo = new QPlainTextEdit(this);
  memo->setObjectName("Memo4");
  memo->setReadOnly(true);
  memo->setMaximumHeight(120);
  memo->hide();
  auto* gauge = new QProgressBar(this);
  gauge->setObjectName("Gauge1");
  gauge->setMaximumWidth(200);
  gauge->hide();
  statusBar()->addPermanentWidget(gauge);
  profileLabel_ = new QLabel(fromBytes(app_.profileLabel), this);
  profileLabel_->setObjectName("Label1");
  statusBar()->addPermanentWidget(profileLabel_);

  column->addWidget(memo);
  // The second editor: what a file split wrote, shown for a while below the program.
  auto* notes = new QPlainTextEdit(this);
  notes->setObjectName("RichEdit2");
  notes->setReadOnly(true);
  notes->setMaximumHeight(120);
  notes->hide();
  column->addWidget(notes);
  commands_ = new EditorCommands(this, editor_, app_, port_);
  statusBar()->addWidget(commands_->readOutPanel());
  buildMenus();
  setAcceptDrops(true);
  placeDefault();
}

QAction* MainWindow::addCommand(QMenu* menu, const QString& objectName, const QString& caption, const QKeySequence& key,
                                std::function<void()> run) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(objectName);
  if (!key.isEmpty()) action->setShortcut(key);
  connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
  return action;
}

QAction* MainWindow::addRegistered(QMenu* menu, const QString& objectName, const std::string& command,
                                   std::function<void()> run) {
  const CommandLabel& label = app_.commands.label(command);
  if (!run) run = [this, command] { runCommand(command); };
  QAction* action = addCommand(menu, objectName, QString::fromStdString(label.caption),
                               QKeySequence(QString::fromStdString(label.shortcut)), std::move(run));
  if (!label.hint.empty()) action->setToolTip(QString::fromStdString(label.hint));
  if (!label.popup.empty()) commands_->addToPopup(action, QString::fromStdString(label.popup));
  return action;
}

// The recent files as the File menu opens: "&1 path" (newest first), then "Clear List".
void MainWindow::fillRecentFiles() {
  recentMenu_->clear();
  recentMenu_->setEnabled(!app_.recentFiles.empty());
  for (std::size_t i = 0; i < app_.recentFiles.size(); ++i) {
    QString path = QString::fromStdString(app_.recentFiles[i]);
    QAction* entry = recentMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(path.replace("&", "&&")));
    entry->setObjectName(QString("RecentFile%1").arg(i + 1));
    connect(entry, &QAction::triggered, this, [this, i] {
      commands_->readOutPanel()->hide();
      runCore([this, i] {
        openRecentFile(app_, i);
        applyEditorFont();
      });
      commands_->readOutPanel()->show();
    });
  }
  recentMenu_->addSeparator();
  QAction* clear = recentMenu_->addAction("Clear List");
  clear->setObjectName("ClearRecentFiles1");
  connect(clear, &QAction::triggered, this, [this] { clearRecentFiles(app_); });
}

void MainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("File1");
  QAction* newAction = addRegistered(file, "New1", "Main.New1Click");
  QAction* openAction = addRegistered(file, "FileOpen", "Main.FileOpenClick", [this] {
    commands_->readOutPanel()->hide();
    runCore([this] {
      app_.commands.run("Main.FileOpenClick", app_);
      applyEditorFont();
    });
    commands_->readOutPanel()->show();
  });
  addRegistered(file, "ConvertAgain1", "Main.ConvertAgain1Click");
  QAction* saveAction = addRegistered(file, "Save1", "Main.Save1Click");
  QAction* saveAsAction = addRegistered(file, "SaveAs1", "Main.SaveAs1Click");
  addRegistered(file, "SaveasDXF1", "Main.SaveasDXF1Click");
  addRegistered(file, "SaveAsDXFLinesOnly1", "Main.SaveAsDXFLinesOnly1Click");
  addRegistered(file, "SaveAsDXFPointsonlySpecial1", "Main.SaveAsDXFPointsonlySpecial1Click");
  addRegistered(file, "SaveSplit2", "Main.SaveSplit2Click");
  file->addSeparator();
  recentMenu_ = file->addMenu("&Recent Files");
  recentMenu_->setObjectName("RecentFiles1");
  connect(file, &QMenu::aboutToShow, this, &MainWindow::fillRecentFiles);
  file->addSeparator();
  QAction* printText = addCommand(file, "Print1", "&Print Text", QKeySequence("Ctrl+P"), [this] {
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    syncToCore();
    commands_->printText(printer_);
  });
  printText->setToolTip("Print Text");
  addCommand(file, "PrintWindow1", "Print &Window", QKeySequence("Ctrl+W"), [this] {
    if (!plotWindow_) return;
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    printWidget(printer_, plotWindow_);
  });
  addCommand(file, "PrintPlot1", "Print P&lot", QKeySequence("Ctrl+L"), [this] {
    emit printPlotRequested();
  })->setToolTip("Print Plot High resolution");
  addCommand(file, "PrintSetup1", "Print S&etup", QKeySequence("Ctrl+E"), [this] {
    QPrintDialog dialog(&printer_, this);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setWindowTitle("Print Setup");
    dialog.exec();
  })->setToolTip("Pick another printer or setup one");
  file->addSeparator();
  addRegistered(file, "FileExit", "Main.FileExitClick");

  QMenu* edit = menuBar()->addMenu("&Edit");
  edit->setObjectName("Edit1");
  QMenu* search = menuBar()->addMenu("&Search");
  search->setObjectName("Search1");
  commands_->addMenus(edit, search);
  edit->addSeparator();
  // Main window commands whose item name is the handler's without "Click"; "" is a separator.
  auto addItems = [this](QMenu* menu, std::initializer_list<const char*> items) {
    for (const char* item : items) {
      if (*item == 0)
        menu->addSeparator();
      else
        addRegistered(menu, item, std::string("Main.") + item + "Click");
    }
  };
  addItems(edit, {"AddLineNumbers1", "RemoveLineNumbers1", "Compress1", "SuperCompress1", "", "ConverttoIncremental1",
                  "ConverttoAbsolute1", "InchtoMetric1", "MetrictoInch1", "", "swap1", "MovestartingpointForward1"});
  addCommand(edit, "EditcurrentlineasDecimalAscii1", "Edit current line as Decimal Ascii", QKeySequence("Ctrl+I"),
             [this] { emit editLineAsDecimalAsciiRequested(); })
      ->setToolTip("Put non printing control characters into the line.");
  addCommand(search, "InsertLines1", "Insert Lines", QKeySequence("Ctrl+Alt+I"), [this] {
    emit showWindowRequested(WindowId::DecimalAscii);
  })->setToolTip("Insert text above and below found items");

  QMenu* misc = menuBar()->addMenu("&Misc");
  misc->setObjectName("Misc1");
  addItems(misc, {"LineOrderGXYZIJKR1", "LineOrderXYZIJKRM1", "", "SortSmallesttopLargestBottom1",
                  "SortObjectsDecending1", "MoveLargestobjecttobottom1", "", "RemoveComments1",
                  "Packthefileremoveallspaces1", "AddSemiColons1", "RemoveSemicolons1", ""});
  addRegistered(misc, "Translate1", "Main.Translate1Click");
  addCommand(misc, "EditTranslatetable1", "Edit Translate table", QKeySequence(),
             [this] { emit editTranslateTableRequested(); });

  QMenu* setup = menuBar()->addMenu("&Setup");
  setup->setObjectName("Setup1");
  addRegistered(setup, "DefaultWindows1", "Main.DefaultWindows1Click");
  addCommand(setup, "HintsOff1", "Hints Off", QKeySequence(), [] { setHintsShown(false); });
  addRegistered(setup, "UseAnotherLayer1", "Main.UseAnotherLayer1Click");
  QAction* useIni = addRegistered(setup, "UseNewINI1", "Main.UseNewINI1Click", [this] {
    runCommand("Main.UseNewINI1Click");
    emit replotRequested();
  });
  addCommand(setup, "EditorCreateaNewINIFile1", "Edit or Create a New &INI File", QKeySequence(Qt::Key_F10), [this] {
    setHintsShown(true);
    port_.hideWindow(WindowId::Comm);
    emit showSetupRequested();
  });

  setup->addSeparator();
  // The manual is the help page that comes with the program; there is no web site to visit.
  addCommand(setup, "DownloadManual1", "Download Manual", QKeySequence(), [this] { openHelp(""); });
  addCommand(setup, "GotoWebSite1", "Goto Kerfwerk Web site", QKeySequence(), [this] {
    port_.message("Kerfwerk has no web site: its manual is the help page (F1), which comes with the program.");
  });

  QAction* offset = menuBar()->addAction(QString::fromStdString(app_.commands.label("Main.Offset1Click").caption));
  offset->setObjectName("Offset1");
  offset->setToolTip(QString::fromStdString(app_.commands.label("Main.Offset1Click").hint));
  connect(offset, &QAction::triggered, this, [this] { emit offsetRequested(); });
  QAction* comm = addCommand(menuBar()->addMenu("&Window"), "Comm1", "&Comm ", QKeySequence(Qt::Key_F6),
                             [this] { emit showWindowRequested(WindowId::Comm); });
  comm->setToolTip("Serial communications");
  QAction* array = menuBar()->addAction("&Array");
  array->setObjectName("Array1");
  array->setToolTip("Rows, columns and grids of copies of the part");
  connect(array, &QAction::triggered, this, [this] { emit showWindowRequested(WindowId::Array); });
  QAction* help = menuBar()->addAction("&Help");
  help->setObjectName("Help1");
  help->setShortcut(QKeySequence(Qt::Key_F1));
  connect(help, &QAction::triggered, this, [this] { openHelp(""); });

  QToolBar* bar = addToolBar("Tools");
  bar->setObjectName("ToolBar1");
  bar->addAction(newAction);
  bar->addAction(openAction);
  bar->addAction(saveAction);
  bar->addAction(saveAsAction);
  bar->addAction(printText);
  bar->addSeparator();
  for (const char* name : {"Undo1", "Cut1", "Copy1", "Paste1", "Delete1", "Find1"})
    bar->addAction(findChild<QAction*>(name));
  bar->addSeparator();
  // Tool buttons of registered commands: a short text, the command's hint.
  auto addButton = [&](const char* text, const char* objectName, const std::string& command,
                       const char* hint = nullptr) {
    QAction* button = bar->addAction(text);
    button->setObjectName(objectName);
    button->setToolTip(QString::fromStdString(hint ? hint : app_.commands.label(command).hint));
    connect(button, &QAction::triggered, this, [this, command] { runCommand(command); });
  };
  addButton("Compress", "CompressButton", "Main.Compress1Click", " Compress the file removing duplicate lines");
  addButton("T1", "SpeedButton16", "Main.SpeedButton16Click");
  addButton("T2", "SpeedButton17", "Main.SpeedButton17Click");
  bar->addSeparator();
  bar->addAction(useIni);
  QAction* send = bar->addAction("Send");
  send->setObjectName("SendButton");
  send->setToolTip("Send the file to a remote system");
  connect(send, &QAction::triggered, this, [this] { emit showWindowRequested(WindowId::Comm); });
}

std::string MainWindow::lineBytes(int line) {
  syncToCore();
  if (line < 0 || static_cast<size_t>(line) >= app_.buffer.lines.size()) return {};
  return app_.buffer.lines[static_cast<size_t>(line)];
}

void MainWindow::replaceLineBytes(int line, const std::string& bytes) {
  // The caret stays where it was, so the line's window stays open.
  editor_->replaceLine(line, bytes);
}

void MainWindow::moveCaretToLine(int line) {
  if (line < 0 || line >= editor_->lineCount()) return;
  // The line's first character is selected (on an empty line, its line break).
  const bool empty = editor_->lines()[static_cast<size_t>(line)].empty();
  editor_->setSelection({line, 0}, empty ? TextPos{line + 1, 0} : TextPos{line, 1});
  commands_->ShowLineNum2();
}

void MainWindow::openHelp(const QString& anchor) {
  std::string path = findInProgramFolder(app_, "help/kerfwerk.html");
  if (!fileExists(path)) {
    port_.message("The help page " + path + " was not found.");
    return;
  }
  QUrl url = QUrl::fromLocalFile(fromPath(path));
  if (!anchor.isEmpty()) url.setFragment(anchor);
  if (!QDesktopServices::openUrl(url))
    port_.message("No web browser could be started to show the help. The help page is " + path +
                  ": open it in a web browser.");
}

void MainWindow::syncToCore() {
  if (inCore_) return;
  app_.buffer.modified = editor_->isModified();
  // Nothing typed since the last sync: the buffer already holds the editor's text.
  if (editor_->revision() == syncedRevision_ && sameText(app_.buffer.lines, *editor_)) return;
  if (editor_->isEmpty())
    app_.buffer.lines.clear();
  else
    app_.buffer.lines = editor_->lines();
  syncedRevision_ = editor_->revision();
}

void MainWindow::syncFromCore() {
  const bool firstSync = shownGeneration_ == -1;
  if (app_.buffer.generation != shownGeneration_) {
    shownGeneration_ = app_.buffer.generation;
    editor_->setLines(app_.buffer.lines);
    editor_->setCaret({0, app_.buffer.lines.empty() || app_.buffer.lines[0].empty() ? 0 : 1});
  } else if (!sameText(app_.buffer.lines, *editor_)) {
    editor_->replaceLines(app_.buffer.lines);
  }
  syncedRevision_ = editor_->revision();
  // Undo back to the text last saved or opened makes it unmodified again.
  if (editor_->isModified() != app_.buffer.modified) editor_->setModified(app_.buffer.modified);
  setWindowTitle(fromBytes(app_.title));
  profileLabel_->setText(fromBytes(app_.profileLabel));
  // The read-out keeps its first text until there is a program or a caret to show.
  if (!firstSync) commands_->showReadOut();
}

void MainWindow::runCommand(const std::string& name) {
  runCore([&] { app_.commands.run(name, app_); });
}

void MainWindow::applyEditorFont() {
  QFont font = editor_->font();
  const std::string& family = app_.profile.text("FontName");
  if (!family.empty()) font.setFamily(QString::fromStdString(family));
  font.setPointSize(app_.profile.number("FontSize"));
  font.setBold(true);
  editor_->setFont(font);
  QPalette palette = editor_->palette();
  palette.setColor(QPalette::Text, Qt::black);
  editor_->setPalette(palette);
}

QRect MainWindow::defaultGeometry() const {
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return geometry();
  QRect area = screen->availableGeometry();
  int top = static_cast<int>(std::lround(area.height() * 0.1));
  int height = static_cast<int>(std::lround(area.height() * 0.8));
  return {area.x(), area.y() + top, area.width() / 2, height};
}

void MainWindow::placeDefault() {
  showNormal();
  setGeometry(defaultGeometry());
}

void MainWindow::closeEvent(QCloseEvent* event) {
  syncToCore();
  if (FormCloseQuery(app_)) {
    event->accept();
    // The main window is the program: the other windows go with it.
    if (closeOtherWindows) closeOtherWindows();
    endProgramWhenIdle();
  } else {
    event->ignore();
  }
  syncFromCore();
}

void MainWindow::endProgramWhenIdle() {
  // A plot under way serves events, the close among them: it is stopped, and the program ends
  // once the plot has returned, since an end asked for inside it would be lost.
  if (isPlotting && isPlotting()) {
    app_.backplot.state().StopRequested = true;
    QTimer::singleShot(10, this, [this] { endProgramWhenIdle(); });
    return;
  }
  if (endProgram) endProgram();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) runBatchOnce();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Without a window manager the window may never become active: the first show counts too.
  QTimer::singleShot(0, this, [this] { runBatchOnce(); });
}

void MainWindow::runBatchOnce() {
  // The batch steps for the command-line arguments run once, when the window first becomes
  // active with an empty editor: running them on every activation would repeat their messages
  // without end, since closing a message box activates the window again.
  if (batchDone_ || arguments_.empty() || !editor_->isEmpty()) return;
  batchDone_ = true;
  runCore([this] {
    runBatchConversion(app_, arguments_);
    applyEditorFont();
  });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  if (paths.empty()) return;
  event->acceptProposedAction();
  runCore([&] {
    dropFiles(app_, paths);
    applyEditorFont();
  });
}

}  // namespace kw
