#include "gui/OffsetWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include "core/app/ReadOut.h"
#include "gui/EditorCommands.h"
#include "gui/QtPort.h"

namespace kw {

namespace {

QString joined(const std::vector<std::string>& lines) {
  QStringList shown;
  for (const std::string& line : lines) shown << fromBytes(line);
  return shown.join(u'\n');
}

}  // namespace

OffsetWindow::OffsetWindow(App& app) : app_(app) {
  setObjectName("Offset");
  setWindowTitle(QString::fromStdString(app_.offset.caption));
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  auto* centre = new QWidget(this);
  auto* column = new QVBoxLayout(centre);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("+/- Offset Value", centre));
  offsetEdit_ = new QLineEdit(fromBytes(app_.offset.offsetText), centre);
  offsetEdit_->setObjectName("OffsetEdit1");
  offsetEdit_->setMaximumWidth(100);
  offsetEdit_->setToolTip("+ offsets to the right of the direction of travel, - to the left");
  row->addWidget(offsetEdit_);
  minRadius_ = new QLabel(fromBytes(app_.offset.minRadius), centre);
  minRadius_->setObjectName("MinRadLabel");
  row->addWidget(minRadius_, 1);
  column->addLayout(row);
  editor_ = new QPlainTextEdit(centre);
  editor_->setObjectName("RichEdit1");
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  editor_->setToolTip("Hold the right mouse button to step the plot through the offset path");
  editor_->installEventFilter(this);
  editor_->viewport()->installEventFilter(this);
  column->addWidget(editor_, 1);
  setCentralWidget(centre);
  panel_ = new QLabel(kReadOutInitialText, this);
  panel_->setObjectName("Panel2");
  statusBar()->addWidget(panel_);
  timer_ = new QTimer(this);
  timer_->setObjectName("Timer1");
  timer_->setInterval(kOffsetStepMs);
  connect(timer_, &QTimer::timeout, this, &OffsetWindow::stepTick);
  buildMenus();
  resize(420, 360);
}

void OffsetWindow::buildMenus() {
  auto add = [this](QMenu* menu, const char* name, const QString& caption, auto run) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, run);
    return action;
  };
  auto registered = [&](QMenu* menu, const char* name, const std::string& command) {
    add(menu, name, QString::fromStdString(app_.commands.label(command).caption),
        [this, command] { runOffsetCommand(command); });
  };
  QMenu* edit = menuBar()->addMenu("Edit");
  edit->setObjectName("Edit2");
  add(edit, "Cut2", "Cut", [this] { editor_->cut(); });
  add(edit, "Copy2", "Copy", [this] { editor_->copy(); });
  add(edit, "Paste2", "Paste", [this] { editor_->paste(); });
  add(edit, "Delete2", "Delete", [this] { editor_->textCursor().removeSelectedText(); });
  add(edit, "SelectAll2", "Select All", [this] {
    editor_->selectAll();
    showReadOut();
  });
  QMenu* operations = menuBar()->addMenu("Operations");
  operations->setObjectName("Operations1");
  registered(operations, "CopytoFileend1", "Offset.CopytoFileend1Click");
  registered(operations, "Insertabove1", "Offset.Insertabove1Click");
  registered(operations, "Replace1", "Offset.Replace1Click");
  registered(operations, "InsertBelow1", "Offset.InsertBelow1Click");
  QAction* plot = menuBar()->addAction("Plot ");
  plot->setObjectName("Plot1");
  connect(plot, &QAction::triggered, this, [this] {
    takeState();
    app_.backplot.PlotAll(app_.offset.lines, false, true, 0, 0);
    if (plotDrawn) plotDrawn();
  });
  QAction* reload = menuBar()->addAction("Reload");
  reload->setObjectName("Reload1");
  connect(reload, &QAction::triggered, this, [this] { runOffsetCommand("Offset.Reload1Click"); });
}

void OffsetWindow::takeState() {
  app_.offset.offsetText = toBytes(offsetEdit_->text());
  app_.offset.lines.clear();
  if (editor_->document()->isEmpty()) return;
  for (const QString& line : editor_->toPlainText().split(u'\n')) app_.offset.lines.push_back(toBytes(line));
}

void OffsetWindow::showState() {
  offsetEdit_->setText(fromBytes(app_.offset.offsetText));
  minRadius_->setText(fromBytes(app_.offset.minRadius));
  setWindowTitle(fromBytes(app_.offset.caption));
  const QString text = joined(app_.offset.lines);
  if (editor_->toPlainText() != text) editor_->setPlainText(text);
  showReadOut();
}

void OffsetWindow::runOffsetCommand(const std::string& name) {
  takeState();
  // Replace pastes the offset text, which the clipboard keeps.
  if (name == "Offset.Replace1Click") QApplication::clipboard()->setText(editor_->toPlainText());
  if (runMainCommand) runMainCommand(name);
  showState();
}

void OffsetWindow::showReadOut() {
  panel_->setText(QString::fromStdString(readOutText(editorReadOut(editor_))));
}

void OffsetWindow::stepTick() {
  takeState();
  if (syncMain && app_.backplot.state().CurrentLine == 0) syncMain();
  const int line = offsetStep(app_);
  QTextCursor cursor(editor_->document());
  const QTextBlock block = editor_->document()->findBlockByNumber(std::max(line, 0));
  cursor.setPosition(block.position());
  if (line >= 0) cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
  editor_->setTextCursor(cursor);
  editor_->ensureCursorVisible();
  showReadOut();
  if (plotDrawn) plotDrawn();
}

bool OffsetWindow::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (watched == editor_->viewport() && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        timer_->start();
        return true;  // the step, not the editor's pop-up menu
      }
      QMetaObject::invokeMethod(this, &OffsetWindow::showReadOut, Qt::QueuedConnection);
      break;
    case QEvent::MouseButtonRelease:
      timer_->stop();
      QMetaObject::invokeMethod(this, &OffsetWindow::showReadOut, Qt::QueuedConnection);
      break;
    case QEvent::ContextMenu:
      return watched == editor_ || watched == editor_->viewport();
    case QEvent::KeyRelease:
      QMetaObject::invokeMethod(this, &OffsetWindow::showReadOut, Qt::QueuedConnection);
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace kw
