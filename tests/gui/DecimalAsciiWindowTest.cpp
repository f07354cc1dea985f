#include "gui/DecimalAsciiWindow.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>

#include "gui/EditorCommands.h"
#include "gui/GuiFixture.h"

namespace {

struct Fixture : kwtest::GuiFixture {
  kw::DecimalAsciiWindow* window = nullptr;
  Fixture() : GuiFixture({}, kwtest::kPlasmaProfile) {
    gui->main()->show();
    kwtest::setText(gui->main()->editor(), "G90\nM07\nG01 X1 Y2\nM08\nM30");
    for (QWidget* w : gui->windowsInOrder())
      if (auto* d = qobject_cast<kw::DecimalAsciiWindow*>(w)) window = d;
  }
  void caretToLine(int line) {
    gui->main()->editor()->setCaret({line, 0});
    gui->main()->commands()->ShowLineNum2();
  }
  std::vector<std::string> program() {
    gui->main()->syncToCore();
    return app->buffer.lines;
  }
};

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
    f.caretToLine(2);
    QAction* open = f.action("EditcurrentlineasDecimalAscii1");
    QCOMPARE(open->shortcut(), QKeySequence("Ctrl+I"));
    open->trigger();
    QVERIFY(f.window->isVisible());
    QTableWidget* grid = f.window->grid();
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->columnCount(), 80);
    QCOMPARE(row(grid, 1, 10), QStringList({"71", "48", "49", "32", "88", "49", "32", "89", "50", ""}));
    QCOMPARE(row(grid, 0, 3), QStringList({"G", "0", "1"}));

    // A carriage return typed into the blank's cell is a byte of the line, shown as its symbol.
    grid->item(1, 3)->setText("13");
    QCOMPARE(f.program()[2], std::string("G01\rX1 Y2"));
    QCOMPARE(QString::fromLatin1(f.gui->main()->editor()->lines()[2]),
             QString("G01\rX1 Y2"));
    // So is a line feed, which does not break the line.
    grid->item(1, 4)->setText("10");
    QCOMPARE(f.program()[2], std::string("G01\r\n1 Y2"));
    QCOMPARE(f.program().size(), size_t(5));
    // A cleared code drops its character.
    grid->item(1, 0)->setText("");
    QCOMPARE(f.program()[2], std::string("01\r\n1 Y2"));
    QCOMPARE(f.program()[3], std::string("M08"));

    // Letting go of a key does not close the window; moving the caret does.
    f.gui->main()->commands()->ShowLineNum2();
    QVERIFY(f.window->isVisible());
    f.caretToLine(0);
    QVERIFY(!f.window->isVisible());
  }

  void findAndInsertUsesTheBoxesAndRemembersThem() {
    Fixture f;
    kw::DecimalAsciiWindow* w = f.window;
    f.action("InsertLines1")->trigger();
    QVERIFY(w->isVisible());
    const std::pair<int, const char*> texts[] = {{1, "M07"}, {2, "G04 P1"}, {6, "M08"}, {7, "M30"}, {8, "G00 X0 Y0"}};
    for (const auto& [box, text] : texts) w->edit(box)->setText(text);
    QTest::mouseClick(w->findAndInsertButton(), Qt::LeftButton);
    QCOMPARE(f.program(), (std::vector<std::string>{"G90", "G04 P1", "M07", "G01 X1 Y2", "M08", "G00 X0 Y0", "M30"}));
    QVERIFY(f.gui->main()->editor()->isModified());
    w->close();
    const std::string last = kwtest::readFile(f.dir.file("home/LastIni.ini"));
    QVERIFY(last.find("Edit1=M07\r\n") != std::string::npos);
    QVERIFY(last.find("Edit8=G00 X0 Y0\r\n") != std::string::npos);
  }
};

QTEST_MAIN(DecimalAsciiWindowTest)
#include "DecimalAsciiWindowTest.moc"
