#include <QMimeData>
#include <QScreen>
#include <QTextBlock>
#include <QPlainTextEdit>
#include <QTest>
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

  void commandsHaveTheirShortcuts() {
    GuiFixture f;
    const std::pair<const char*, const char*> expected[] = {
        {"New1", "Ctrl+N"},          {"FileOpen", "F4"},
        {"Save1", "F2"},             {"SaveAs1", "Ctrl+F2"},
        {"UseNewINI1", "F11"},       {"EditorCreateaNewINIFile1", "F10"},
        {"DefaultWindows1", "F9"},   {"LineOrderGXYZIJKR1", "Ctrl+O"},
        {"LineOrderXYZIJKRM1", "Ctrl+Alt+L"},
    };
    for (const auto& [name, key] : expected) {
      QAction* a = f.action(name);
      QVERIFY2(a, name);
      QCOMPARE(a->shortcut().toString(), QString(key));
    }
  }

  // Bytes survive open, edit and save: every byte is one character in the editor.
  void bytesSurviveOpenEditSave() {
    GuiFixture f;
    // Control characters, bytes above 127 and a lone CR inside a line.
    const std::string bytes = std::string("G01 X1\r\n\x01\x7f\xe9\xff tail\r", 18) + "(COMMENT)\r\n";
    std::string path = f.dir.write("prog.nc", bytes);
    f.port.picks = {path};
    f.action("FileOpen")->trigger();
    QPlainTextEdit* editor = f.gui->main()->editor();
    QCOMPARE(editor->toPlainText().size(), qsizetype(6 + 1 + 10 + 9));
    QCOMPARE(editor->document()->blockCount(), 2);
    QCOMPARE(f.gui->main()->windowTitle(), QString("prog.nc"));
    QVERIFY(!editor->document()->isModified());
    f.port.answers = {kw::Answer::Yes};
    f.action("Save1")->trigger();
    QCOMPARE(f.port.questions, std::vector<std::string>({"Overwrite " + path + " "}));
    QCOMPARE(QByteArray::fromStdString(kwtest::readFile(path)).toHex(), QByteArray::fromStdString(bytes).toHex());
  }

  void everyByteButLineFeedSurvives() {
    GuiFixture f;
    std::string line;
    for (int c = 0; c < 256; ++c)
      if (c != '\n') line += static_cast<char>(c);
    std::string path = f.dir.write("all.bin", line + "\r\n" + line + "\r\n");
    f.port.picks = {path};
    f.action("FileOpen")->trigger();
    QCOMPARE(f.gui->main()->editor()->document()->blockCount(), 2);
    f.port.answers = {kw::Answer::Yes};
    f.action("Save1")->trigger();
    const std::string saved = kwtest::readFile(path), expected = line + "\r\n" + line + "\r\n";
    auto firstDifference = std::mismatch(saved.begin(), saved.end(), expected.begin(), expected.end());
    QCOMPARE(firstDifference.first - saved.begin(), qsizetype(expected.size()));
    QCOMPARE(saved.size(), expected.size());
  }

  // A command's rewrite is one undo step, and the editor's text is what the command saw.
  void commandRewriteIsOneUndoStep() {
    GuiFixture f({}, kwtest::kPlasmaProfile);
    QPlainTextEdit* editor = f.gui->main()->editor();
    editor->setPlainText("X1 G1 Y2 M3\nG01 X5 (CUT PART)");
    QTest::keyClicks(editor, "");
    f.action("LineOrderXYZIJKRM1")->trigger();
    QCOMPARE(editor->toPlainText(), QString("G1 X1 Y2 M3 \nG01 X5 (CUT PART)"));
    QVERIFY(editor->document()->isModified());
    editor->undo();
    QCOMPARE(editor->toPlainText(), QString("X1 G1 Y2 M3\nG01 X5 (CUT PART)"));
  }

  void translateButtonsUseTheProfileTable() {
    GuiFixture f({}, kwtest::kPlasmaProfile);
    QPlainTextEdit* editor = f.gui->main()->editor();
    editor->setPlainText("X1 Y2\nG0 X3");
    f.action("SpeedButton16")->trigger();
    QCOMPARE(editor->toPlainText(), QString("U1 Y2\nG0 U3"));
    f.action("SpeedButton17")->trigger();
    QCOMPARE(editor->toPlainText(), QString("U1 Y2\nG0 U3"));
  }

  void closingAsksOnlyAboutModifiedWorkOfSeveralLines() {
    GuiFixture f;
    f.gui->main()->show();
    QPlainTextEdit* editor = f.gui->main()->editor();
    editor->setFocus();
    QTest::keyClicks(editor, "G01 X1");
    QVERIFY(f.gui->main()->close());
    QVERIFY(f.port.questions.empty());

    f.gui->main()->show();
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "G01 X2");
    f.port.answers = {kw::Answer::Dismissed};
    QVERIFY(!f.gui->main()->close());
    QCOMPARE(f.port.questions, std::vector<std::string>({"File has been modified. Save file?"}));
    f.port.answers = {kw::Answer::No};
    QVERIFY(f.gui->main()->close());
  }

  void droppedFilesOpenTheFirstOnly() {
    GuiFixture f;
    std::string a = f.dir.write("a.nc", "G00 X1\n");
    std::string b = f.dir.write("b.nc", "G00 X2\n");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(a)), QUrl::fromLocalFile(QString::fromStdString(b))});
    f.gui->main()->show();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.gui->main(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.gui->main(), &drop);
    QCOMPARE(f.gui->main()->editor()->toPlainText(), QString("G00 X1"));
    QCOMPARE(f.gui->main()->windowTitle(), QString("a.nc"));
  }

  void oneArgumentOpensAndReordersTheSourceOnce() {
    kwtest::TempDir src;
    std::string path = src.write("in.nc", "Y2 X1\n");
    GuiFixture f({path}, kwtest::kPlasmaProfile);
    f.gui->main()->show();
    QTRY_COMPARE(f.gui->main()->editor()->toPlainText(), QString("X1 Y2 "));
    QCOMPARE(f.gui->main()->windowTitle(), QString("in.nc"));
  }

  void defaultWindowsPutMainAndPlotSideBySide() {
    GuiFixture f;
    f.gui->main()->setGeometry(300, 300, 200, 200);
    f.action("DefaultWindows1")->trigger();
    const QRect area = f.gui->main()->screen()->availableGeometry();
    const QRect main = f.gui->main()->geometry();
    QCOMPARE(main, QRect(area.x(), area.y() + qRound(area.height() * 0.1), area.width() / 2, qRound(area.height() * 0.8)));
    QCOMPARE(f.gui->plot()->geometry(), QRect(main.x() + main.width(), main.y(), main.width(), main.height()));
    QVERIFY(f.gui->plot()->isVisible());
  }

  // A long program is shown a part at a time; a command in the meantime sees the whole text.
  void longProgramIsShownInParts() {
    GuiFixture f({}, kwtest::kPlasmaProfile);
    std::string text;
    for (int i = 0; i < 45000; ++i) text += "Y" + std::to_string(i) + " X1\n";
    std::string path = f.dir.write("long.nc", text);
    f.port.picks = {path};
    f.action("FileOpen")->trigger();
    QPlainTextEdit* editor = f.gui->main()->editor();
    QVERIFY(editor->isReadOnly());
    QVERIFY(editor->document()->blockCount() < 45000);
    QVERIFY(!editor->document()->isModified());
    QTRY_COMPARE(editor->document()->blockCount(), 45000);
    QVERIFY(!editor->isReadOnly());
    QVERIFY(!editor->document()->isModified());
    QVERIFY(!editor->document()->isUndoAvailable());

    f.port.picks = {path};
    f.action("FileOpen")->trigger();
    QVERIFY(editor->isReadOnly());
    f.action("LineOrderGXYZIJKR1")->trigger();
    QCOMPARE(editor->document()->blockCount(), 45000);
    QCOMPARE(editor->document()->findBlockByNumber(44999).text(), QString("X1 Y44999 "));
    QVERIFY(!editor->isReadOnly());
  }

  void useAnotherMachineProfile() {
    GuiFixture f;
    std::string profile = f.dir.write("mill.ini", "[Labels]\nLine=G1\n");
    f.port.picks = {profile};
    f.action("UseNewINI1")->trigger();
    QCOMPARE(f.gui->main()->findChild<QLabel*>("Label1")->text(), QString("Using mill.ini"));
    QCOMPARE(f.gui->setup()->windowTitle(), QString("Setup       Using mill.ini"));
    QCOMPARE(f.app->profile.cell(1, 1), std::string("G1"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
