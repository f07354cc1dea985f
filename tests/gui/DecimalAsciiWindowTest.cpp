#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>

#include "gui/DecimalAsciiWindow.h"
#include "gui/EditorCommands.h"
#include "gui/GuiFixture.h"

using kwtest::GuiFixture;

namespace {

struct Fixture : GuiFixture {
  Fixture() : GuiFixture({}, kwtest::kPlasmaProfile) {
    main()->show();
    main()->editor()->setPlainText("G90\nM07\nG01 X1 Y2\nM08\nM30");
  }
  kw::MainWindow* main() const { return gui->main(); }
  void caretToLine(int line) {
    QTextCursor c(main()->editor()->document()->findBlockByNumber(line));
    main()->editor()->setTextCursor(c);
    main()->commands()->ShowLineNum2();
  }
  std::vector<std::string> program() {
    main()->syncToCore();
    return app->buffer.lines;
  }
};

kw::DecimalAsciiWindow* decimalAscii(const GuiFixture& f) {
  for (QWidget* w : f.gui->windowsInOrder())
    if (auto* d = qobject_cast<kw::DecimalAsciiWindow*>(w)) return d;
  return nullptr;
}

QStringList row(QTableWidget* grid, int r, int columns) {
  QStringList cells;
  for (int c = 0; c < columns; ++c) cells << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
  return cells;
}

}  // namespace

class DecimalAsciiWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void editsTheCaretLineAsCodes() {
    Fixture f;
    kw::DecimalAsciiWindow* w = decimalAscii(f);
    QVERIFY(w);
    f.caretToLine(2);
    QAction* open = f.action("EditcurrentlineasDecimalAscii1");
    QCOMPARE(open->shortcut(), QKeySequence("Ctrl+I"));
    QCOMPARE(open->toolTip(), QString("Put non printing control characters into the line."));
    open->trigger();
    QVERIFY(w->isVisible());
    QTableWidget* grid = w->grid();
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->columnCount(), 80);
    QCOMPARE(row(grid, 1, 10), QStringList({"71", "48", "49", "32", "88", "49", "32", "89", "50", ""}));
    QCOMPARE(row(grid, 0, 3), QStringList({"G", "0", "1"}));

    // A carriage return typed into the blank's cell is a byte of the line, shown as its symbol.
    grid->item(1, 3)->setText("13");
    QCOMPARE(f.program()[2], std::string("G01\rX1 Y2"));
    QCOMPARE(f.main()->editor()->document()->findBlockByNumber(2).text(), QString("G01") + QChar(0x240D) + "X1 Y2");
    QCOMPARE(f.program().size(), size_t(5));
    // So is a line feed, which does not break the line.
    grid->item(1, 4)->setText("10");
    QCOMPARE(f.program()[2], std::string("G01\r\n1 Y2"));
    QCOMPARE(f.program().size(), size_t(5));
    // A cleared code drops its character.
    grid->item(1, 0)->setText("");
    QCOMPARE(f.program()[2], std::string("01\r\n1 Y2"));
    QCOMPARE(f.program()[3], std::string("M08"));

    // Letting go of a key does not close the window; moving the caret does.
    f.main()->commands()->ShowLineNum2();
    QVERIFY(w->isVisible());
    f.caretToLine(0);
    QVERIFY(!w->isVisible());
  }

  void findAndInsertUsesTheBoxesAndRemembersThem() {
    Fixture f;
    kw::DecimalAsciiWindow* w = decimalAscii(f);
    f.action("InsertLines1")->trigger();
    QVERIFY(w->isVisible());
    QCOMPARE(w->edit(1)->toolTip(), QString("Search for this"));
    QCOMPARE(w->edit(0)->toolTip(), QString("or and Search for this"));
    QCOMPARE(w->edit(11)->toolTip(), QString("Insert this between the above two"));
    QCOMPARE(w->findAndInsertButton()->text(), QString("Find and Insert"));
    w->edit(1)->setText("M07");
    w->edit(2)->setText("G04 P1");
    w->edit(6)->setText("M08");
    w->edit(7)->setText("M30");
    w->edit(8)->setText("G00 X0 Y0");
    QTest::mouseClick(w->findAndInsertButton(), Qt::LeftButton);
    QCOMPARE(f.program(), (std::vector<std::string>{"G90", "G04 P1", "M07", "G01 X1 Y2", "M08", "G00 X0 Y0", "M30"}));
    QVERIFY(f.main()->editor()->document()->isModified());
    w->close();
    const std::string last = kwtest::readFile(f.dir.file("home/LastIni.ini"));
    QVERIFY(last.find("Edit1=M07\r\n") != std::string::npos);
    QVERIFY(last.find("Edit8=G00 X0 Y0\r\n") != std::string::npos);
  }

  void screenshot() {
    const QString folder = qEnvironmentVariable("KERFWERK_SCREENSHOTS");
    if (folder.isEmpty()) QSKIP("KERFWERK_SCREENSHOTS names the folder for the pictures");
    Fixture f;
    f.caretToLine(2);
    f.action("EditcurrentlineasDecimalAscii1")->trigger();
    kw::DecimalAsciiWindow* w = decimalAscii(f);
    w->edit(1)->setText("M07");
    w->edit(2)->setText("G04 P1");
    w->resize(1000, 420);
    QTest::qWait(50);
    w->grab().save(folder + "/decimal-ascii.png");
  }
};

QTEST_MAIN(DecimalAsciiWindowTest)
#include "DecimalAsciiWindowTest.moc"
