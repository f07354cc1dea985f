#include <filesystem>
#include <fstream>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QUrl>

#include "gui/GuiFixture.h"

using kwtest::GuiFixture;

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void windowsAreCreatedInOrderWithTheirCaptions() {
    GuiFixture f;
    QStringList titles;
    for (QWidget* w : f.gui->windowsInOrder()) titles << w->windowTitle();
    QCOMPARE(titles, QStringList({"Kerfwerk - [Untitled]", "Plot ", "Setup       Using Kerfwerk.ini", "Comm", "Drawing",
                                  "Decimal Ascii Editor + Line insertion", "Offsetting", "Array"}));
    QCOMPARE(f.gui->main()->findChild<QLabel*>("Label1")->text(), QString("Using Kerfwerk.ini"));
  }

  // Every byte but the line feed is one character in the editor and survives open, edit and save.
  void everyByteButLineFeedSurvives() {
    GuiFixture f;
    std::string line;
    for (int c = 0; c < 256; ++c)
      if (c != '\n') line += static_cast<char>(c);
    const std::string bytes = line + "\r\n" + line + "\r\n";
    std::string path = f.dir.write("all.bin", bytes);
    f.open(path);
    kw::ProgramEditor* editor = f.gui->main()->editor();
    QCOMPARE(kwtest::text(editor).size(), qsizetype(2 * 255 + 1));
    QCOMPARE(editor->lineCount(), 2);
    QCOMPARE(f.gui->main()->windowTitle(), QString("all.bin"));
    QVERIFY(!editor->isModified());
    // The read-out shows the caret the load put after the first character.
    QCOMPARE(f.gui->main()->findChild<QLabel*>("Panel2")->text(), QString("  Pos [1:2]   Sel : [1]   "));
    f.port.answers = {kw::Answer::Yes};
    f.action("Save1")->trigger();
    QCOMPARE(f.port.questions, std::vector<std::string>({"Overwrite " + path + " "}));
    QCOMPARE(QByteArray::fromStdString(kwtest::readFile(path)).toHex(), QByteArray::fromStdString(bytes).toHex());
  }

  // A dismissed question keeps the window and the typed work, whether closing, New or Open
  // asked it; Yes saves and lets the window close, and the other windows go with it.
  void dismissingTheQuestionKeepsTheWork() {
    GuiFixture f;
    f.gui->main()->show();
    f.gui->plot()->show();
    kw::ProgramEditor* editor = f.gui->main()->editor();
    editor->setFocus();
    QTest::keyClicks(editor, "G01 X1");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "G01 X2");
    f.port.answers = {kw::Answer::Dismissed, kw::Answer::Dismissed, kw::Answer::Dismissed, kw::Answer::Yes};
    QVERIFY(!f.gui->main()->close());
    f.gui->main()->setGeometry(137, 59, 500, 400);
    f.action("New1")->trigger();
    QCOMPARE(f.gui->main()->geometry(), QRect(137, 59, 500, 400));  // not put back in its default place
    f.action("FileOpen")->trigger();
    QCOMPARE(f.port.questions, std::vector<std::string>(3, "File has been modified. Save file?"));
    QCOMPARE(kwtest::text(editor), QString("G01 X1\nG01 X2"));
    QVERIFY(editor->isModified());
    QVERIFY(f.gui->main()->isVisible());
    f.port.picks = {f.dir.file("typed.nc")};
    QVERIFY(f.gui->main()->close());  // Yes: saved through Save As, then closed
    QCOMPARE(kwtest::readFile(f.dir.file("typed.nc")), std::string("G01 X1\r\nG01 X2\r\n"));
    QVERIFY(!f.gui->plot()->isVisible());
  }

  // The real question box: Esc and the box's own close both answer neither Yes nor No; it stays
  // on top.
  void escapeAndCloseDismissTheQuestion() {
    GuiFixture f;
    f.gui->main()->show();
    for (bool escape : {true, false}) {
      QTimer::singleShot(0, [escape] {
        QWidget* box = QApplication::activeModalWidget();
        QVERIFY(box->windowFlags() & Qt::WindowStaysOnTopHint);  // never under the setup window
        escape ? QTest::keyClick(box, Qt::Key_Escape) : void(box->close());
      });
      QCOMPARE(f.port.QtPort::askYesNo("File has been modified. Save file?"), kw::Answer::Dismissed);
    }
  }

  // Dropped files replace typed work without a question; only the first is opened.
  void droppedFilesOpenTheFirstOnly() {
    GuiFixture f;
    kwtest::setText(f.gui->main()->editor(), "G01 X9\nG01 X8");
    f.gui->main()->editor()->setModified(true);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(f.dir.write("a.nc", "G00 X1\n"))),
                  QUrl::fromLocalFile(QString::fromStdString(f.dir.write("b.nc", "G00 X2\n")))});
    f.gui->main()->show();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.gui->main(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.gui->main(), &drop);
    QCOMPARE(kwtest::text(f.gui->main()->editor()), QString("G00 X1"));
    QCOMPARE(f.gui->main()->windowTitle(), QString("a.nc"));
    QVERIFY(f.port.questions.empty());
  }

  // Each pass of a conversion counts from its own start; the gauge keeps the furthest, until hidden.
  void theGaugeOnlyMovesForward() {
    GuiFixture f;
    auto* gauge = f.gui->main()->findChild<QProgressBar*>("Gauge1");
    for (auto [position, maximum, hideFirst, shown] :
         {std::tuple{50, 100, false, 500}, {0, 10, false, 500}, {9, 10, false, 900}, {1, 100, true, 10}}) {
      if (hideFirst) f.port.hideProgress();
      f.port.showProgress(position, maximum, true);
      QCOMPARE(gauge->value() * 1000 / gauge->maximum(), shown);
    }
  }

  // A source alone, as a file manager opens a file, is shown as stored and not modified.
  void oneArgumentOpensTheSourceAsStored() {
    kwtest::TempDir src;
    GuiFixture f({src.write("in.nc", "Y2 X1\n")}, kwtest::kPlasmaProfile);
    f.gui->main()->show();
    QTRY_COMPARE(kwtest::text(f.gui->main()->editor()), QString("Y2 X1"));
    QCOMPARE(f.gui->main()->windowTitle(), QString("in.nc"));
    QVERIFY(!f.gui->main()->editor()->isModified());
    // Only a profile argument changes the remembered profile; the file joins the recent ones.
    QCOMPARE(QString::fromStdString(kwtest::readFile(f.dir.file("home/LastIni.ini"))),
             "[RecentFiles]\r\nFile1=" + QString::fromStdString(src.file("in.nc")) + "\r\n");
  }

  void defaultWindowsPutMainAndPlotSideBySide() {
    GuiFixture f;
    f.gui->main()->setGeometry(300, 300, 200, 200);
    f.action("DefaultWindows1")->trigger();
    // The offscreen screen is 800 by 800: each window half as wide, from a tenth to nine tenths down.
    QCOMPARE(f.gui->main()->screen()->availableGeometry(), QRect(0, 0, 800, 800));
    QCOMPARE(f.gui->main()->geometry(), QRect(0, 80, 400, 640));
    QCOMPARE(f.gui->plot()->geometry(), QRect(400, 80, 400, 640));
    QVERIFY(f.gui->plot()->isVisible());
  }

  // A long program is in the editor whole at once; a command's rewrite of it is one undo step.
  void longProgramIsShownWholeAndRewrittenAsOneEdit() {
    GuiFixture f({}, kwtest::kPlasmaProfile);
    std::string text;
    for (int i = 0; i < 45000; ++i) text += "Y" + std::to_string(i) + " X1\n";
    f.open(f.dir.write("long.nc", text));
    kw::ProgramEditor* editor = f.gui->main()->editor();
    QCOMPARE(editor->lineCount(), 45000);
    QVERIFY(!editor->isModified());
    QVERIFY(!editor->isUndoAvailable());
    f.action("LineOrderGXYZIJKR1")->trigger();
    QCOMPARE(editor->lineCount(), 45000);
    QCOMPARE(editor->lines()[44999], std::string("X1 Y44999 "));
    QVERIFY(editor->isModified());
    f.action("Undo1")->trigger();
    QCOMPARE(editor->lines()[44999], std::string("Y44999 X1"));
    QVERIFY(!editor->isModified());
  }

  // The main window's keys work while the plot window has the focus.
  void mainWindowKeysWorkInThePlotWindow() {
    GuiFixture f;
    f.gui->main()->show();
    f.gui->plot()->show();
    f.gui->plot()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.gui->plot()));
    auto press = [&](QKeyCombination key) {
      QTest::keyClick(f.gui->plot()->scrollBox(), key.key(), key.keyboardModifiers());
    };
    const std::string program = f.dir.write("part.nc", "G00 X1\nG01 X2\n");
    f.port.picks = {program};
    press(Qt::Key_F4);
    QCOMPARE(f.gui->main()->windowTitle(), QString("part.nc"));
    press(Qt::Key_F2);
    QCOMPARE(f.port.questions, std::vector<std::string>{"Overwrite " + program + " "});
    press(Qt::ControlModifier | Qt::Key_F);
    QVERIFY(f.gui->main()->findChild<QDialog*>("FindDialog1")->isVisible());
    press(Qt::Key_F10);
    QVERIFY(f.gui->setup()->isVisible());
    f.port.picks = {f.dir.write("mill.ini", "[Labels]\nLine=G1\n")};
    press(Qt::Key_F11);
    QCOMPARE(f.gui->main()->findChild<QLabel*>("Label1")->text(), QString("Using mill.ini"));
    QCOMPARE(f.gui->setup()->windowTitle(), QString("Setup       Using mill.ini"));
    QCOMPARE(f.app->profile.cell(1, 1), std::string("G1"));
  }

  // Nothing on the chosen layer: the layers found stay in view beside the layer box, which comes
  // up with its text selected even from a minimised setup window; "Convert again" then reads the
  // drawing anew with the layer typed.
  void anotherLayerIsChosenWithTheLayersInView() {
    GuiFixture f;
    f.gui->main()->show();
    f.gui->setup()->showMinimized();
    auto* layer = f.control<QLineEdit>("EditLayer");
    f.app->profile.setText("EditLayer", "CUT");
    f.gui->setup()->refreshAll();
    const std::string dxf = f.dir.write("plate.dxf",
                                        "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\nETCH\n 10\n0.0\n 20\n0.0\n"
                                        " 30\n0.0\n 11\n5.0\n 21\n0.0\n 31\n0.0\n  0\nENDSEC\n  0\nEOF\n");
    f.open(dxf);
    QCOMPARE(f.port.messages, std::vector<std::string>{" No Usable Data found in dxf file "});
    auto* log = f.gui->setup()->findChild<QLabel*>("LayerLogView");
    QVERIFY(!f.gui->setup()->isMinimized() && log->isVisible());
    QVERIFY2(log->text().contains("Try Layer : ETCH"), qPrintable(log->text()));
    QVERIFY(f.gui->main()->findChild<QPlainTextEdit*>("Memo4")->isVisibleTo(f.gui->main()));
    QCOMPARE(layer->selectedText(), QString("CUT"));
    QTest::keyClicks(layer, "ETCH");  // typed over the selection
    f.action("ConvertAgain1")->trigger();
    QVERIFY(!log->isVisible());
    QCOMPARE(f.gui->main()->windowTitle(), QString("plate"));
    QVERIFY(kwtest::text(f.gui->main()->editor()).endsWith("5.000"));
  }

  // The words are coloured by the profile's dialect.
  void wordsInViewAreColouredByTheDialect() {
    GuiFixture f({}, kwtest::kPlasmaProfile);
    f.app->profile.setCell(9, 1, "M08");
    const auto& colouring = f.gui->main()->editor()->colouring();
    QVERIFY(colouring);
    const QString first = "N10 G01 X1.5 M08 (CUT)";
    QStringList got;
    for (const auto& range : colouring(first.toStdString()))
      got << first.mid(range.start, range.length) + "=" + range.format.foreground().color().name();
    QCOMPARE(got, QStringList({"N10=#a05a00", "G01=#0044cc", "X1.5=#006600", "M08=#996600", "(CUT)=#808080"}));
  }

  // The File menu lists the files opened, newest first, and opens one when chosen.
  void recentFilesOpenFromTheFileMenu() {
    GuiFixture f;
    const std::string first = f.dir.write("first.nc", "G00 X1\n"), second = f.dir.write("second.nc", "G00 X2\n");
    f.open(first);
    f.open(second);
    auto* file = f.gui->main()->findChild<QMenu*>("File1");
    emit file->aboutToShow();
    QCOMPARE(f.action("RecentFile1")->text(), "&1 " + QString::fromStdString(second));
    f.action("RecentFile2")->trigger();
    QCOMPARE(f.gui->main()->windowTitle(), QString("first.nc"));
    f.action("ClearRecentFiles1")->trigger();
    emit file->aboutToShow();
    QVERIFY(!f.gui->main()->findChild<QMenu*>("RecentFiles1")->isEnabled());
  }

  // The offscreen platform starts no browser, as a machine without one would not.
  void helpWithoutABrowserNamesThePage() {
    GuiFixture f;
    std::filesystem::create_directories(f.app->folder + "/help");
    std::ofstream(f.app->folder + "/help/kerfwerk.html") << "<html></html>";
    f.action("Help1")->trigger();
    QCOMPARE(f.port.messages.size(), size_t{1});
    QVERIFY(f.port.messages[0].starts_with("No web browser could be started to show the help. The help page is "));
    QVERIFY(f.port.messages[0].ends_with("/help/kerfwerk.html: open it in a web browser."));
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
