// The offset window driven as a user would: the main menu's Offset, the operations by their
// design names, each one undo step in the main editor, and stepping with the right button.
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "gui/EditorCommands.h"
#include "gui/GuiFixture.h"

namespace {

const char* kProfile =
    "[Labels]\r\nLine=G01\r\nArc Cw=G02\r\nArc Ccw=G03\r\nBegin Block=M07\r\nEnd Block=M08\r\nFile End=M30\r\n"
    "X Letter=X\r\nY Letter=Y\r\nI Letter=I\r\nJ Letter=J\r\n";

}  // namespace

class OffsetWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void operationsCopyThePathAsOneUndoStepEach() {
    kwtest::GuiFixture f({}, kProfile);
    kw::ProgramEditor* main = f.gui->main()->editor();
    const QString program = "G90\nM07\nG01 X0 Y0\nX1 Y0\nX1 Y1\nM08\nM30";
    kwtest::setText(main, program);
    kw::OffsetWindow* window = f.gui->offset();
    auto* edit = window->findChild<QLineEdit*>("OffsetEdit1");
    QCOMPARE(edit->text(), QString("-0.125"));
    edit->setText("0.1");
    f.action("Offset1")->trigger();
    QVERIFY(window->isVisible());
    const QString path = " \nX0.000 Y-0.100 \nX1.100 Y-0.100 \nX1.100 Y1.000 \n ";
    QCOMPARE(window->editor()->toPlainText(), path);
    QCOMPARE(window->findChild<QLabel*>("MinRadLabel")->text(), QString("Min Rad = 0"));
    QCOMPARE(window->windowTitle(), QString("Offsetting"));

    // Each operation by its menu item; the caret on line 3 with nothing selected.
    main->setCaret({3, 0});
    f.gui->main()->commands()->ShowLineNum2();
    const struct {
      const char* item;
      QString result;
    } steps[] = {
        {"CopytoFileend1", program.section('\n', 0, 5) + "\n" + path + "\nM30"},
        {"Insertabove1", program.section('\n', 0, 1) + "\n" + path + "\n" + program.section('\n', 2)},
        {"InsertBelow1", program.section('\n', 0, 2) + "\n" + path + "\n" + program.section('\n', 3)},
        {"Replace1", program.section('\n', 0, 2) + "\n" + path + "\n" + program.section('\n', 3)},
    };
    for (const auto& step : steps) {
      window->findChild<QAction*>(step.item)->trigger();
      QCOMPARE(kwtest::text(main), step.result);
      main->undo();
      QCOMPARE(kwtest::text(main), program);
    }

    // The right button steps the plot through the path every 121 ms until any button is let go.
    QWidget* area = window->editor()->viewport();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), area->mapToGlobal(QPointF(5, 5)), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(area, &press);
    QVERIFY(window->stepTimer()->isActive());
    QCOMPARE(window->stepTimer()->interval(), 121);
    QTRY_COMPARE(f.app->backplot.state().CurrentLine, 3);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), area->mapToGlobal(QPointF(5, 5)), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(area, &release);
    QVERIFY(!window->stepTimer()->isActive());
    QCOMPARE(window->editor()->textCursor().block().blockNumber(), 2);
    QCOMPARE(window->editor()->textCursor().selectedText(), QString("X"));
  }
};

QTEST_MAIN(OffsetWindowTest)
#include "OffsetWindowTest.moc"
