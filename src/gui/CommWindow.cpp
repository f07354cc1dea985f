#include "gui/CommWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include "core/comm/CommSettings.h"
#include "core/comm/Receive.h"
#include "core/comm/Transmit.h"
#include "core/profile/LabelRows.h"
#include "core/text/FileIo.h"
#include "gui/MainWindow.h"
#include "gui/QtPort.h"

namespace kw {

namespace {

// Bytes as the windows show them: one character a byte.
QString latin1(const std::string& bytes) { return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())); }
std::string bytesOf(const QString& text) { return text.toLatin1().toStdString(); }

QPlainTextEdit* textWindow(QWidget* parent, const char* name, const char* hint) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setObjectName(name);
  edit->setToolTip(hint);
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setFont(QFont("DejaVu Sans Mono", 10));
  return edit;
}

}  // namespace

// The transmit's window: the three text windows, the progress line and Esc.
class CommWindow::View : public TransmitView {
 public:
  explicit View(CommWindow& w) : w_(w) {}
  void clearWindows() override {
    w_.tx_->clear();
    w_.rx_->clear();
    w_.tape_->clear();
  }
  void addTransmitLine(const std::string& text) override { w_.tx_->appendPlainText(latin1(text)); }
  void showProgress(const std::string& numbered, const TransmitProgress& p) override {
    if (!numbered.empty()) {
      QTextCursor first(w_.tx_->document()->firstBlock());
      first.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
      first.insertText(latin1(numbered));
    }
    w_.progress_->setText(QString("Sent %1 of %2 lines, %3 of %4 bytes")
                              .arg(p.lines).arg(p.totalLines).arg(p.bytes).arg(p.totalBytes));
    w_.gauge_->setMaximum(static_cast<int>(std::max<std::size_t>(p.totalBytes, 1)));
    w_.gauge_->setValue(static_cast<int>(p.bytes));
    w_.tx_->repaint();
  }
  void addTapeRow(const std::string& row) override {
    QTextCursor top(w_.tape_->document());
    top.movePosition(QTextCursor::Start);
    top.insertText(latin1(row) + (w_.tape_->document()->isEmpty() ? "" : "\n"));
  }
  bool stopRequested() override { return w_.stopRequested_; }

 private:
  CommWindow& w_;
};

CommWindow::CommWindow(App& app, QtPort& port, MainWindow& main) : app_(app), port_(port), main_(main) {
  setObjectName("Comm");
  setWindowTitle("Comm");
  buildMenus();
  setCentralWidget(buildPanels());
  statusBar()->setObjectName("StatusBar1");
  device_ = new QLabel(this);
  device_->setObjectName("DeviceLabel");
  statusBar()->addPermanentWidget(device_);
  resize(900, 600);

  poll_.setObjectName("PollTimer");
  connect(&poll_, &QTimer::timeout, this, [this] { driver_.poll(); });
  driver_.OnReceiveData = [this](TCommPortDriver&, const unsigned char* data, std::uint32_t size) {
    CommPortDriver1ReceiveData(data, size);
  };
  driver_.OnHangUp = [this] {
    poll_.stop();
    statusBar()->showMessage("The line was closed at the other end. Activate the window to connect again.");
  };
  // A transmit's waits keep the window alive: the receive poll, repaints, Esc and Stop.
  clock_.onIdle = [] { QApplication::processEvents(); };
}

void CommWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("File1");
  auto add = [&](const char* name, const char* caption, auto run) {
    QAction* a = file->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, run);
    return a;
  };
  add("Send1", "&Send Editor File", [this] { Send1Click(); });
  add("SendFromLine1", "Send From &Line", [this] { SendFromLine1Click(); })
      ->setToolTip("Resume a job: the opening lines, then the program from the editor's caret line");
  add("Recieve1", "&Recieve From Remote", [this] { Recieve1Click(); });
  add("Clear1", "C&lear", [this] {
    rx_->clear();
    tx_->clear();
  });
  add("CopyToEeditor1", "&Copy Recieved To Editor", [this] { CopyToEeditor1Click(); });
  add("PrintForm1", "Print Form", [this] { printForm(this); });
  QAction* help = menuBar()->addAction("Help");
  help->setObjectName("Help1");
  connect(help, &QAction::triggered, this, &CommWindow::helpRequested);
}

QWidget* CommWindow::buildPanels() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  auto panel = [&](const char* title, QPlainTextEdit*& edit, const char* name, const char* hint,
                   const char* clearName) {
    auto* box = new QGroupBox(title, page);
    auto* layout = new QVBoxLayout(box);
    edit = textWindow(box, name, hint);
    layout->addWidget(edit);
    if (clearName) {
      auto* clear = new QPushButton("CLEAR", box);
      clear->setObjectName(clearName);
      connect(clear, &QPushButton::clicked, edit, &QPlainTextEdit::clear);
      layout->addWidget(clear, 0, Qt::AlignLeft);
    }
    return box;
  };
  grid->addWidget(panel(" Receive ", rx_, "RxRichEdit1", "Characters coming in from a remote system show here.",
                        "ClrInMemo"), 0, 0);
  grid->addWidget(panel(" Transmit ", tx_, "TxRichEdit1", "Anthing typed in this window is sent to the remote system.",
                        "ClrOutMemo"), 1, 0);
  QGroupBox* tapeBox =
      panel(" Tape ", tape_, "Memo3", "Tape output will show here if selected from the setup window.", nullptr);
  tape_->setReadOnly(true);
  tapeBox->setFixedWidth(150);
  grid->addWidget(tapeBox, 0, 1, 2, 1);

  auto* controls = new QHBoxLayout();
  send_ = new QPushButton("Send the Editor File", page);
  send_->setObjectName("Button1");
  connect(send_, &QPushButton::clicked, this, [this] { Send1Click(); });
  stop_ = new QPushButton("Stop", page);
  stop_->setObjectName("StopButton");
  stop_->setToolTip("Stop the transmit (Esc)");
  stop_->setEnabled(false);
  connect(stop_, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
  dontTransmit_ = new QCheckBox("Dont Transmit.  Show output in Lower Window", page);
  dontTransmit_->setObjectName("DontTransmit");
  controls->addWidget(send_);
  controls->addWidget(stop_);
  controls->addWidget(dontTransmit_);
  for (auto [name, caption, dtr, on] : {std::tuple{"SetDtr", "SET DTR", true, true}, {"ClrDtr", "CLR DTR", true, false},
                                        {"SetRts", "SET RTS", false, true}, {"ClrRts", "CLR RTS", false, false}}) {
    auto* b = new QPushButton(caption, page);
    b->setObjectName(name);
    connect(b, &QPushButton::clicked, this, [this, dtr, on] {
      if (dtr)
        driver_.SetDtrLine(on);
      else
        driver_.SetRtsLine(on);
    });
    controls->addWidget(b);
  }
  grid->addLayout(controls, 2, 0, 1, 2);
  auto* progressRow = new QHBoxLayout();
  progress_ = new QLabel(page);
  progress_->setObjectName("ProgressLabel");
  gauge_ = new QProgressBar(page);
  gauge_->setObjectName("TransmitGauge");
  gauge_->setValue(0);
  progressRow->addWidget(progress_, 1);
  progressRow->addWidget(gauge_, 1);
  grid->addLayout(progressRow, 3, 0, 1, 2);
  tx_->installEventFilter(this);
  rx_->installEventFilter(this);
  return page;
}

bool CommWindow::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && !transmitting_) FormActivate();
  if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape && transmitting_) {
    stopRequested_ = true;
    return true;
  }
  return QMainWindow::event(e);
}

bool CommWindow::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, e);
  const int key = static_cast<QKeyEvent*>(e)->key();
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  if (key == Qt::Key_Escape && transmitting_) {
    stopRequested_ = true;
    return true;
  }
  if (watched == tx_ && enter) {
    std::vector<std::string> lines;
    if (!tx_->document()->isEmpty()) lines.push_back(bytesOf(tx_->document()->lastBlock().text()));
    TxRichEdit1KeyPress(driver_, lines, 13);
  }
  if (watched == rx_ && enter && !wantCr_) return true;  // "Want CR Receive" off: Enter is no new line
  return QMainWindow::eventFilter(watched, e);
}

void CommWindow::closeEvent(QCloseEvent* e) {
  stopRequested_ = true;
  poll_.stop();
  driver_.ClosePort();
  QMainWindow::closeEvent(e);
}

void CommWindow::setRxText(const QString& text) { rx_->setPlainText(text); }

void CommWindow::addRxLine(const std::string& line) {
  std::string bytes = line + "\r";
  CommPortDriver1ReceiveData(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()));
}

void CommWindow::FormActivate() {
  poll_.stop();
  driver_.ClosePort();
  rx_->clear();
  tx_->clear();
  applyProfileSettings(driver_, app_.profile);
  wantCr_ = app_.profile.flag("CheckBox1");
  const bool opened = driver_.OpenPort();
  statusBar()->showMessage(QString::fromStdString(connectStatus(driver_, opened)));
  device_->setText(QString::fromStdString(opened ? driver_.devicePath(driver_.ComPort()) : driver_.openError()));
  if (opened) {
    poll_.start(driver_.ComPortPollingDelay());
    tx_->setFocus();
  } else {
    port_.beep();
    tx_->setPlainText(QString::fromUtf8(kConnectErrorTransmit.data(), kConnectErrorTransmit.size()));
    setRxText(QString::fromUtf8(kConnectErrorReceive.data(), kConnectErrorReceive.size()));
  }
  app_.backplot.Setaxis();
  if (!rx_->document()->isEmpty()) rx_->appendPlainText(QString());
  addRxLine(app_.profile.cell(rowIndex(LabelRow::FileStart), 1));
}

void CommWindow::CommPortDriver1ReceiveData(const unsigned char* data, std::uint32_t size) {
  // Only the last line can change: it is the line being received.
  std::vector<std::string> lines;
  if (!rx_->document()->isEmpty()) lines.push_back(bytesOf(rx_->document()->lastBlock().text()));
  receiveBytes(lines, data, size);
  QTextCursor cursor(rx_->document());
  cursor.movePosition(QTextCursor::End);
  cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
  QStringList shown;
  for (const std::string& line : lines) shown << latin1(line);
  cursor.insertText(shown.join('\n'));
  rx_->ensureCursorVisible();
}

void CommWindow::Send1Click() {
  if (transmitting_) return;
  main_.syncToCore();
  transmit(app_.buffer.lines);
}

// From the main editor's caret line on, after the program's opening lines.
void CommWindow::SendFromLine1Click() {
  if (transmitting_) return;
  main_.syncToCore();
  const auto from = static_cast<std::size_t>(main_.editor()->caret().line);
  const std::vector<std::string> program = programFromLine(app_.profile, app_.buffer.lines, from, port_);
  if (!program.empty()) transmit(program);
}

void CommWindow::transmit(const std::vector<std::string>& program) {
  if (transmitting_) return;  // one transmit at a time
  transmitting_ = true;
  stopRequested_ = false;
  send_->setEnabled(false);
  findChild<QAction*>("Send1")->setEnabled(false);
  findChild<QAction*>("SendFromLine1")->setEnabled(false);
  stop_->setEnabled(true);
  gauge_->setValue(0);
  View view(*this);
  const TransmitResult result = kw::Send1Click(transmitOptions(app_.profile, dontTransmit_->isChecked()), app_.profile,
                                               program, app_.title, driver_, clock_, port_, view);
  if (!driver_.IsOpen()) poll_.stop();
  const std::string report = transmitReport(result);
  if (!report.empty()) statusBar()->showMessage(QString::fromStdString(report));
  transmitting_ = false;
  send_->setEnabled(true);
  findChild<QAction*>("Send1")->setEnabled(true);
  findChild<QAction*>("SendFromLine1")->setEnabled(true);
  stop_->setEnabled(false);
}

void CommWindow::Recieve1Click() {
  app_.backplot.Setaxis();
  rx_->clear();
  tx_->setPlainText("Ready to recieve");
  addRxLine(app_.profile.cell(rowIndex(LabelRow::FileStart), 1));
}

void CommWindow::CopyToEeditor1Click() {
  rx_->setFocus();
  // Taken before the question: coming back from it activates the window, which empties it.
  const QString received = rx_->toPlainText();
  main_.syncToCore();
  if (!app_.buffer.lines.empty() && port_.askYesNo("Over Write the Old file") != Answer::Yes) return;
  ProgramEditor* editor = main_.editor();
  editor->setLines({});
  QApplication::clipboard()->setText(received);
  editor->paste();
  app_.currentFileName = "NoName";
  app_.openDialogFileName = "Noname";
  app_.title = kUntitledTitle;
  port_.setCaption(WindowId::Main, app_.title);
  if (app_.profile.flag("StripBlankCheckBox")) main_.runCommand("Main.Compress1Click");
}

}  // namespace kw
