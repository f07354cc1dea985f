#pragma once
// The communication window "Comm": sends the program to the machine over the serial line or
// to a tape punch, shows what comes back, works as a terminal and copies a received program
// into the editor. The port opens with the profile's settings each time the window becomes
// active and is polled by a timer while open.
#include <QMainWindow>
#include <QTimer>

#include "core/app/App.h"
#include "core/comm/CommPortDriver.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace kw {

class MainWindow;
class QtPort;

class CommWindow : public QMainWindow {
  Q_OBJECT
 public:
  CommWindow(App& app, QtPort& port, MainWindow& main);

  TCommPortDriver& driver() { return driver_; }
  bool transmitting() const { return transmitting_; }

  // The window's commands.
  void FormActivate();
  void Send1Click();
  void SendFromLine1Click();
  void Recieve1Click();
  void CopyToEeditor1Click();
  void CommPortDriver1ReceiveData(const unsigned char* data, std::uint32_t size);

 signals:
  void helpRequested();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void transmit(const std::vector<std::string>& program);
  class View;
  void buildMenus();
  QWidget* buildPanels();
  void setRxText(const QString& text);
  void addRxLine(const std::string& line);

  App& app_;
  QtPort& port_;
  MainWindow& main_;
  SteadyClock clock_;
  TCommPortDriver driver_{clock_};
  QTimer poll_;
  QPlainTextEdit* tx_ = nullptr;
  QPlainTextEdit* rx_ = nullptr;
  QPlainTextEdit* tape_ = nullptr;
  QCheckBox* dontTransmit_ = nullptr;
  QPushButton* send_ = nullptr;
  QPushButton* stop_ = nullptr;
  QLabel* progress_ = nullptr;
  QProgressBar* gauge_ = nullptr;
  QLabel* device_ = nullptr;
  bool wantCr_ = false;
  bool transmitting_ = false;
  bool stopRequested_ = false;
};

}  // namespace kw
