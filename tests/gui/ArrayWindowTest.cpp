#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "gui/GuiFixture.h"

using kwtest::GuiFixture;

class ArrayWindowTest : public QObject {
  Q_OBJECT
 private slots:
  // The grid and Undo Nest by their buttons, each one undo step in the editor; the keypad is
  // away while the window is open; the spin arrows step a box that is not a number.
  void gridAndUndoNestAreOneUndoStepEach() {
    GuiFixture f({}, "[Labels]\r\nFile End=M30\r\nX Letter=X\r\nY Letter=Y\r\n[Dxf]\r\nDecimal Places=1\r\n");
    f.open(f.dir.write("part.nc", "G90\nX1 Y1\nX2 Y1\nM30\n"));
    f.gui->main()->show();
    f.gui->plot()->show();
    kw::ArrayWindow* array = f.gui->array();
    auto* keypadButton = f.gui->plot()->findChild<QPushButton*>("SpeedButton1");
    QVERIFY(keypadButton->isVisible());
    f.action("Array1")->trigger();
    QVERIFY(array->isVisible());
    QVERIFY(!keypadButton->isVisible());
    array->findChild<QSpinBox*>("QtyEdit1")->setValue(2);
    array->findChild<QSpinBox*>("HorizQtyEdit1")->setValue(2);
    auto* increment = array->findChild<QLineEdit*>("IncrementEdit1Text");
    increment->setText("abc");
    array->findChild<QAbstractSpinBox*>("IncrementEdit1")->stepBy(1);
    QCOMPARE(increment->text(), QString("2.000"));
    array->findChild<QLineEdit*>("HorizontalEdit1Text")->setText("5");
    kw::ProgramEditor* editor = f.gui->main()->editor();
    const QString before = kwtest::text(editor);
    array->findChild<QPushButton*>("SpeedButton3")->click();
    const QString grid =
        "G90\nX1 Y1\nX2 Y1\n\nG90 \nX-1.0 Y1.0\nX0.0 Y1.0\n\nG90 \nX1.0 Y6.0\nX2.0 Y6.0\n\nG90 \nX-1.0 Y6.0\n"
        "X0.0 Y6.0\n\nM30";
    QCOMPARE(kwtest::text(editor), grid);
    QCOMPARE(array->findChild<QLineEdit*>("HorizontalEdit1Text")->text(), QString("5.000"));
    array->findChild<QPushButton*>("UndoNest")->click();
    QCOMPARE(kwtest::text(editor), QString("G90\nX1 Y1\nX2 Y1\nM30"));
    editor->undo();
    QCOMPARE(kwtest::text(editor), grid);
    editor->undo();
    QCOMPARE(kwtest::text(editor), before);
    array->close();
    QVERIFY(keypadButton->isVisible());
    QVERIFY(!f.app->array.shown);
  }
};

QTEST_MAIN(ArrayWindowTest)
#include "ArrayWindowTest.moc"
