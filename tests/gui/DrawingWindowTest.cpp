#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

#include "gui/GuiFixture.h"

using kwtest::GuiFixture;

class DrawingWindowTest : public QObject {
  Q_OBJECT
 private slots:
  // A clockwise circle drawn with the mouse: the Drawing window follows, the circle goes in
  // before the last line as one undo step, and the mode ends.
  void circleDrawnWithTheMouseIsOneUndoStep() {
    GuiFixture f({}, "[Labels]\r\nLine=G01\r\nArc Cw=G02\r\nX Letter=X\r\nY Letter=Y\r\nI Letter=I\r\n"
                     "J Letter=J\r\n[Dxf]\r\nDecimal Places=1\r\n");
    f.open(f.dir.write("part.nc", "G90\nM30\n"));
    f.gui->main()->show();
    kw::PlotWindow* plot = f.gui->plot();
    plot->show();
    QVERIFY(QTest::qWaitFor([plot] { return plot->plotCount() == 1; }));
    f.app->plot.setViewScale(2000);  // 2 pixels a unit
    plot->replot();
    plot->imageMouseDown(Qt::LeftButton, {300, 200});  // the origin, then the centre
    plot->imageMouseUp(Qt::LeftButton, {300, 200});
    QMenu* draw = plot->findChild<QMenu*>("Draw1");
    emit draw->aboutToShow();
    kw::DrawingWindow* window = f.gui->drawing();
    QCOMPARE(window->findChild<QLabel*>("EditLabel3")->text(), QString("X I Inc"));
    f.action("ClockwiseCircle1")->trigger();
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QString("Cw Circle"));
    QVERIFY(!f.action("Line1")->isEnabled() && !f.action("ClockwiseArc1")->isEnabled());
    plot->imageMouseMove({300, 210});
    QCOMPARE(window->findChild<QLineEdit*>("Edit1")->text(), QString("90.0"));
    QCOMPARE(window->findChild<QLineEdit*>("Edit3")->text(), QString("5.0"));
    plot->imageMouseDown(Qt::LeftButton, {300, 210});
    plot->imageMouseMove({308, 200});
    QCOMPARE(window->findChild<QLineEdit*>("Edit2")->text(), QString("4.0"));
    QCOMPARE(window->findChild<QLineEdit*>("Edit6")->text(), QString("4.0"));
    kw::ProgramEditor* editor = f.gui->main()->editor();
    const QString before = kwtest::text(editor);
    plot->imageMouseDown(Qt::LeftButton, {308, 200});
    QCOMPARE(kwtest::text(editor),
             QString("G90\nG01X0.0 Y4.0\nG02 X4.0 Y0.0 I0.0 J0.0 \nG02 X0.0 Y-4.0 I0.0 J0.0 \n"
                     "G02 X-4.0 Y0.0 I0.0 J0.0 \nG02 X0.0 Y4.0 I0.0 J0.0 \nM30"));
    QCOMPARE(f.app->drawing.mode, kw::DrawMode::None);
    QVERIFY(f.action("Line1")->isEnabled() && f.action("ClockwiseArc1")->isEnabled());
    editor->undo();
    QCOMPARE(kwtest::text(editor), before);
  }
};

QTEST_MAIN(DrawingWindowTest)
#include "DrawingWindowTest.moc"
