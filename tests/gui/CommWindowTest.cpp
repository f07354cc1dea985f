#include "gui/CommWindow.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "core/comm/Transmit.h"
#include "gui/GuiFixture.h"

namespace {

std::string readAll(int fd, std::size_t want) {
  std::string got;
  for (int i = 0; i < 200 && got.size() < want; ++i) {
    QCoreApplication::processEvents();
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 10) <= 0) continue;
    char buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) got.append(buffer, static_cast<size_t>(n));
  }
  return got;
}

template <typename T>
T* in(const kwtest::GuiFixture& f, const char* name) {
  return f.gui->comm()->findChild<T*>(name);
}

class CommWindowTest : public QObject {
  Q_OBJECT
 private slots:
  // F6 ("Comm"), the toolbar's Send button: the window opens, and with it the profile's port;
  // an absent device gives the error texts.
  void openingConnectsOrTellsWhy() {
    kwtest::GuiFixture f;
    f.app->profile.setFlag("RadioButton22", true);
    f.app->profile.setText("ComDevice3", "/dev/kerfwerk-absent");
    kw::CommWindow* comm = f.gui->comm();
    for (const char* name : {"Comm1", "SendButton"}) {
      comm->hide();
      f.action(name)->trigger();
      QVERIFY(comm->isVisible());
    }
    comm->FormActivate();
    QCOMPARE(comm->statusBar()->currentMessage(),
             QString("Error: could not connect. Check COM port settings in \"Setup\" and try again."));
    QCOMPARE(in<QPlainTextEdit>(f, "TxRichEdit1")->toPlainText(),
             QString("Error: Usually the selected port is in use by another program  "));
    QCOMPARE(in<QPlainTextEdit>(f, "RxRichEdit1")->toPlainText(),
             QString("Error: You may have selected the same port as the Mouse \n\n"));
    QCOMPARE(in<QLabel>(f, "DeviceLabel")->text(), QString("/dev/kerfwerk-absent: No such file or directory"));
  }

  // "Dont Transmit" shows the output lines and draws the tape; nothing is sent.
  void dontTransmitShowsTheOutputAndTheTape() {
    kwtest::GuiFixture f;
    for (const char* on : {"TapeCheckBox", "TapeRadioButtonOdd", "CheckBox4"}) f.app->profile.setFlag(on, true);
    f.app->profile.setNumber("FileEndSpinEdit", 4);
    kwtest::setText(f.gui->main()->editor(), "G1 X1\nM2");
    in<QCheckBox>(f, "DontTransmit")->setChecked(true);
    in<QPushButton>(f, "Button1")->click();
    QCOMPARE(in<QPlainTextEdit>(f, "TxRichEdit1")->toPlainText(), QString("G1 X1\nM2\n\x04"));
    QCOMPARE(in<QPlainTextEdit>(f, "Memo3")->toPlainText(),
             QString("    *.* *\n  ** . * \n#*  *.* *\n    *.* *\n# ** .  *\n * **.   \n# ** .  *\n#*   .***"));
  }

  // Through a pseudo-terminal: the program goes out, Enter in the transmit window sends its
  // line, what comes back is shown and copied into the editor.
  void transmitTerminalReceiveAndCopy() {
    int master = -1, slave = -1;
    char name[128];
    QCOMPARE(openpty(&master, &slave, name, nullptr, nullptr), 0);
    kwtest::GuiFixture f;
    f.app->profile.setFlag("RadioButton15", true);
    f.app->profile.setText("ComDevice2", name);
    f.app->profile.setCell(0, 1, "%");
    f.app->profile.setFlag("RadioButton17", true);
    kw::CommWindow* comm = f.gui->comm();  // not shown: no activation reopens the port midway
    comm->FormActivate();
    QCOMPARE(comm->statusBar()->currentMessage(), QString("Connected to Comm Port 2"));
    kwtest::setText(f.gui->main()->editor(), "N10 G00 X1\nM30");
    comm->Send1Click();
    QCOMPARE(readAll(master, 17), std::string("N10 G00 X1\r\nM30\r\n"));
    QCOMPARE(in<QLabel>(f, "ProgressLabel")->text(), QString("Sent 2 of 2 lines, 17 of 17 bytes"));
    auto* tx = in<QPlainTextEdit>(f, "TxRichEdit1");
    tx->setPlainText("G0 Z5");
    tx->moveCursor(QTextCursor::End);
    QTest::keyClick(tx, Qt::Key_Return);
    QCOMPARE(readAll(master, 6), std::string("G0 Z5\r"));
    const std::string back = "N1 G01\r\nN2 M30\r\n\r\n";
    QCOMPARE(::write(master, back.data(), back.size()), static_cast<ssize_t>(back.size()));
    auto* rx = in<QPlainTextEdit>(f, "RxRichEdit1");
    QTRY_COMPARE(rx->toPlainText(), QString("N1 G01\nN2 M30\n\n"));  // the transmit emptied it
    f.port.answers = {kw::Answer::Yes};
    f.app->profile.setFlag("StripBlankCheckBox", true);
    comm->CopyToEeditor1Click();
    QCOMPARE(f.port.questions, std::vector<std::string>{"Over Write the Old file"});
    QCOMPARE(kwtest::text(f.gui->main()->editor()), QString("N1 G01\nN2 M30"));
    QCOMPARE(f.gui->main()->windowTitle(), QString("Kerfwerk - [Untitled]"));
    // Resuming at the caret's line: the opening lines go first; an incremental program is refused.
    for (auto [row, text] : {std::pair{7, "G91"}, {17, "X"}, {18, "Y"}, {19, "Z"}, {70, "("}, {71, ")"}})
      f.app->profile.setCell(row, 1, text);
    kwtest::setText(f.gui->main()->editor(), "(PLATE 2 X 3)\nG21 G90\nG00 X1 Y1\nM07\nG01 X2\nG01 X3\nM08");
    f.gui->main()->moveCaretToLine(4);
    comm->SendFromLine1Click();
    QCOMPARE(readAll(master, 40), std::string("(PLATE 2 X 3)\r\nG21 G90\r\nG01 X2\r\nG01 X3\r\nM08\r\n"));
    kwtest::setText(f.gui->main()->editor(), "G91\nG01 X1\nG01 X2");
    f.gui->main()->moveCaretToLine(2);
    comm->SendFromLine1Click();
    QCOMPARE(f.port.messages.back(), std::string(kw::kSendFromLineIncremental));
    QCOMPARE(readAll(master, 1), std::string());
    ::close(master);  // the controller goes away: the window says so and closes the port
    QTRY_VERIFY(!comm->driver().IsOpen());
    QCOMPARE(comm->statusBar()->currentMessage(),
             QString("The line was closed at the other end. Activate the window to connect again."));
    ::close(slave);
  }
};

}  // namespace

QTEST_MAIN(CommWindowTest)
#include "CommWindowTest.moc"
