#include "gui/EditorCommands.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>

#include "gui/GuiFixture.h"
#include "gui/SearchDialog.h"

using kwtest::GuiFixture;

namespace {

using kwtest::select;

int startOfLine(kw::ProgramEditor* editor, int line) { return static_cast<int>(editor->offsetOf({line, 0})); }

QString numberedLines(int count) {
  QStringList lines;
  for (int i = 1; i <= count; ++i) lines << QString("N%1 G01 X%1").arg(i);
  return lines.join('\n');
}

}  // namespace

class EditorCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void readOutAndHighlightedBlockFollowTheSelection() {
    GuiFixture f;
    kw::ProgramEditor* editor = f.gui->main()->editor();
    kwtest::setText(editor, numberedLines(12));
    auto* panel = f.gui->main()->findChild<QLabel*>("Panel2");
    QCOMPARE(panel->text(), QString("Pos [ ] Sel [ ]"));
    // Dragging from the start of line 5 to the start of line 9 selects lines 5 to 8.
    select(editor, startOfLine(editor, 4), startOfLine(editor, 8));
    f.gui->main()->commands()->ShowLineNum2();
    QCOMPARE(panel->text(), QString("  Pos [5:1]   Sel : [4]   "));
    QCOMPARE(f.app->highlighted.first, 3);
    QCOMPARE(f.app->highlighted.count, 4);
    // The read-out follows key presses in the editor.
    select(editor, startOfLine(editor, 2) + 3, startOfLine(editor, 2) + 3);
    f.gui->main()->show();
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Down);
    QTRY_COMPARE(panel->text(), QString("  Pos [4:4]   Sel : [1]   "));
  }

  void findDialogReportsWhatItCannotFind() {
    GuiFixture f;
    kw::ProgramEditor* editor = f.gui->main()->editor();
    kwtest::setText(editor, "G00 X1");
    QAction* next = f.action("FindNext1");
    QVERIFY(!next->isEnabled());
    f.action("Find1")->trigger();
    QVERIFY(next->isEnabled());
    auto* dialog = f.gui->main()->commands()->findDialog();
    dialog->findChild<QLineEdit*>("FindText")->setText("Y9");
    dialog->findChild<QPushButton*>("FindNextButton")->click();
    QCOMPARE(f.port.messages, std::vector<std::string>({"Cannot find \"Y9\"."}));
    dialog->findChild<QLineEdit*>("FindText")->setText("x1");
    next->trigger();
    QCOMPARE(QString::fromLatin1(editor->selectedText()), QString("X1"));
    QCOMPARE(QApplication::clipboard()->text(), QString("X1"));  // found by cutting and pasting it
    QVERIFY(editor->isModified());
    QCOMPARE(f.port.messages.size(), size_t(1));
    dialog->close();
  }

  void replaceAndReplaceAll() {
    GuiFixture f;
    kw::ProgramEditor* editor = f.gui->main()->editor();
    kwtest::setText(editor, "X1 X2\nX3 X4");
    auto* dialog = f.gui->main()->commands()->replaceDialog();
    dialog->findChild<QLineEdit*>("FindText")->setText("X");
    dialog->findChild<QLineEdit*>("ReplaceText")->setText("Y");
    select(editor, 3, 3);
    dialog->findChild<QPushButton*>("ReplaceAllButton")->click();
    QCOMPARE(kwtest::text(editor), QString("X1 Y2\nY3 Y4"));
    dialog->findChild<QPushButton*>("ReplaceAllButton")->click();  // nothing left after the caret
    QCOMPARE(f.port.messages, std::vector<std::string>({"Replaced 3 occurrences", "Replaced 0 occurrences"}));
    f.port.messages.clear();
    editor->undo();
    QCOMPARE(kwtest::text(editor), QString("X1 X2\nX3 X4"));
    // Replace: the selected match is replaced, then the next one is found.
    select(editor, 0, 1);
    dialog->findChild<QPushButton*>("ReplaceButton")->click();
    QCOMPARE(kwtest::text(editor), QString("Y1 X2\nX3 X4"));
    QCOMPARE(editor->offsetOf(editor->selectionStart()), size_t(3));
    select(editor, 11, 11);
    dialog->findChild<QPushButton*>("ReplaceButton")->click();
    QCOMPARE(f.port.messages, std::vector<std::string>({"Cannot find \"X\"."}));
  }

  void popupMenuRunsTheMenuCommands() {
    GuiFixture f;
    kw::ProgramEditor* editor = f.gui->main()->editor();
    kwtest::setText(editor, "X1\nX1\nY2");
    QMenu* popup = f.gui->main()->commands()->popupMenu();
    QStringList captions;
    for (QAction* a : popup->actions()) captions << a->text();
    QCOMPARE(captions, QStringList({"Undo", "Cut", "Copy", "Paste", "Delete", "Add Line Numbers", "Remove Numbers",
                                    "Compress", "Convert to  G91", "Convert to  G90", "Inch to Metric",
                                    "Metric to Inch", "Swap"}));
    select(editor, 6, 8);
    popup->actions()[4]->trigger();
    QCOMPARE(kwtest::text(editor), QString("X1\nX1\n"));
    f.gui->main()->commands()->popupMenu()->actions()[7]->trigger();  // duplicate lines go
    QCOMPARE(kwtest::text(editor), QString("X1"));
  }

  // Each text tool, run from its menu entry by design name, rewrites the editor's text as one
  // undo step.
  void textToolsAreOneUndoStepEach() {
    GuiFixture f({}, "[Labels]\r\nLine=G01\r\nArc Cw=G02\r\nArc Ccw=G03\r\nAbsolute=G90\r\nIncremental=G91\r\n"
                     "N Letter=N\r\nI Letter=I\r\nJ Letter=J\r\nX Letter=X\r\nY Letter=Y\r\nTrans170=(\r\n"
                     "Trans171=)\r\n[Options]\r\nBridgeport IJ=1\r\nLineEnds=;\r\nStartLine=1000\r\n");
    kw::ProgramEditor* editor = f.gui->main()->editor();
    const QString program = "G90\nG01 X1 Y0 (a)\nG01 X1 Y0 (a)\nG02 X2 Y1 I0 J1";
    const struct {
      const char* action;
      QString text;
    } cases[] = {
        {"AddLineNumbers1", "N1000 G90\nN1001 G01 X1 Y0 (a)\nN1002 G01 X1 Y0 (a)\nN1003 G02 X2 Y1 I0 J1"},
        {"RemoveComments1", "G90\nG01 X1 Y0 \nG01 X1 Y0 \nG02 X2 Y1 I0 J1"},
        {"Packthefileremoveallspaces1", "G90\nG01X1Y0(a)\nG01X1Y0(a)\nG02X2Y1I0J1"},
        {"AddSemiColons1", "G90;\nG01 X1 Y0 (a);\nG01 X1 Y0 (a);\nG02 X2 Y1 I0 J1;"},
        {"Compress1", "G90\nG01 X1 Y0 (a)\nG02 X2 Y1 I0 J1"},
        {"ConverttoIncremental1",
         "G91 \nG01 X1.000 Y0.000 (a)\nG01 X0.000 Y0.000 (a)\nG02 X1.000 Y1.000 I0.000 J1.000"},
        {"InchtoMetric1", "G90 \nG01 X25.400 Y0.000 (a)\nG01 X25.400 Y0.000 (a)\nG02 X50.800 Y25.400 I0.000 J25.400"},
        {"SortObjectsDecending1", "G90\nG01 X1 Y0 (a)\nG02 X2 Y1 I0 J1"},
    };
    for (const auto& c : cases) {
      kwtest::setText(editor, program);
      select(editor, 0, 0);
      f.action(c.action)->trigger();
      QCOMPARE(f.port.messages, std::vector<std::string>{});
      QCOMPARE(kwtest::text(editor), c.text);
      f.action("Undo1")->trigger();
      QCOMPARE(kwtest::text(editor), program);
    }
  }

  // Typing and a command's whole rewrite are each one undo step.
  void undoTakesBackTypingAndWholeCommands() {
    GuiFixture f({}, kwtest::kPlasmaProfile);
    f.gui->main()->show();
    kw::ProgramEditor* editor = f.gui->main()->editor();
    editor->setFocus();
    QTest::keyClicks(editor, "Y2 X1");
    f.action("LineOrderGXYZIJKR1")->trigger();
    QCOMPARE(kwtest::text(editor), QString("X1 Y2 "));
    QVERIFY(editor->isModified());
    QApplication::setActiveWindow(f.gui->main());
    QVERIFY(QTest::qWaitForWindowActive(f.gui->main()));
    QTest::keySequence(editor, QKeySequence("Ctrl+U"));
    QCOMPARE(kwtest::text(editor), QString("Y2 X1"));
  }

  void printTextNumbersPagesByFiftyLines() {
    GuiFixture f;
    kwtest::setText(f.gui->main()->editor(), numberedLines(120));
    f.gui->main()->syncToCore();
    f.app->currentFileName = "/parts/plate.nc";
    f.gui->main()->commands()->printText(*f.pdfPrinter());
    const QString text = f.pdfText();
    QStringList numbers;
    for (const QString& line : text.split('\n'))
      if (line.contains("Page :")) numbers << line.trimmed();
    QCOMPARE(numbers, QStringList({"Page : 1", "Page : 2", "Page : 3"}));
    QVERIFY(text.contains("File : /parts/plate.nc"));
    QVERIFY(text.contains("N120 G01 X120"));
  }

  void translateTableInCyanUntilClickedAndHintsOffUntilTheSetupWindowIsOpened() {
    GuiFixture f;
    f.action("EditTranslatetable1")->trigger();
    QTableWidget* grid = f.gui->setup()->grid();
    QVERIFY(f.gui->setup()->isVisible());
    QVERIFY(grid->styleSheet().contains("#00FFFF"));
    emit grid->cellClicked(30, 0);
    QVERIFY(grid->styleSheet().isEmpty());
    QVERIFY(kw::hintsShown());
    f.action("HintsOff1")->trigger();
    QVERIFY(!kw::hintsShown());
    f.action("EditorCreateaNewINIFile1")->trigger();
    QVERIFY(kw::hintsShown());
  }
};

QTEST_MAIN(EditorCommandsTest)
#include "EditorCommandsTest.moc"
