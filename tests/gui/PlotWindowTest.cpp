#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QWheelEvent>

#include "gui/EditorCommands.h"
#include "gui/GuiFixture.h"

using kwtest::GuiFixture;

namespace {

const char* kProfile =
    "[Labels]\r\nLine=G01\r\nArc Cw=G02\r\nArc Ccw=G03\r\nBegin Block=M07\r\nEnd Block=M08\r\n"
    "N Letter=N\r\nR Letter=R\r\nI Letter=I\r\nJ Letter=J\r\nK Letter=K\r\nX Letter=X\r\nY Letter=Y\r\n"
    "Z Letter=Z\r\nXY Plane=G17\r\nXZ Plane=G18\r\nYZ Plane=G19\r\n[Options]\r\nBridgeport IJ=1\r\n"
    "[Plotting]\r\nangstep=10\r\n";

const char* kProgram = "G00 X0 Y0\nG00 X10 Y10\nM07\nG01 X20 Y10\nG03 X30 Y20 I0 J10\nG01 X10 Y10\nM08\nG00 X0 Y0\n";

void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint at) {
  Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &event);
}

// Pixels mostly covered by a smooth line of the colour.
int pixelsOf(const QImage& image, QRgb colour) {
  int n = 0;
  auto near = [](int a, int b) { return std::abs(a - b) <= 96; };
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      n += near(qRed(row[x]), qRed(colour)) && near(qGreen(row[x]), qGreen(colour)) &&
           near(qBlue(row[x]), qBlue(colour));
  }
  return n;
}

// The box of what is drawn.
QRect drawnBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) box |= QRect(x, y, 1, 1);
  return box;
}

struct PlotFixture : GuiFixture {
  PlotFixture() : GuiFixture({}, kProfile) {
    open(dir.write("part.nc", kProgram));
    gui->main()->show();
    gui->plot()->show();
    QVERIFY(QTest::qWaitFor([this] { return gui->plot()->plotCount() == 1; }));
  }
  kw::PlotWindow* plot() const { return gui->plot(); }
  QWidget* image() const { return plot()->findChild<QWidget*>("Image1"); }
  QSpinBox* scale() const { return plot()->findChild<QSpinBox*>("SpinEdit1"); }
  QRect visible() const {
    QScrollArea* box = plot()->scrollBox();
    return QRect(QPoint(box->horizontalScrollBar()->value(), box->verticalScrollBar()->value()),
                 box->viewport()->size());
  }
  QString text(const char* label) const { return plot()->findChild<QLabel*>(label)->text(); }
  std::tuple<int, int, int> view() const {
    return {app->plot.viewScale, app->plot.horizontalOrigin, app->plot.verticalOrigin};
  }
  // The view is that of a fit (measured anew, so rounding may move it by a pixel).
  bool fitted(std::tuple<int, int, int> fit) const {
    auto [scale, h, v] = view();
    return std::abs(scale - std::get<0>(fit)) <= std::get<0>(fit) / 100 && std::abs(h - std::get<1>(fit)) <= 2 &&
           std::abs(v - std::get<2>(fit)) <= 2;
  }
};

}  // namespace

class PlotWindowTest : public QObject {
  Q_OBJECT
 private slots:
  // Whatever the last program left, the next is fitted into the visible part, centred; New clears.
  void everyOpenedProgramIsFittedAndCentred() {
    PlotFixture f;
    f.plot()->resize(700, 500);
    const char* far = "G21\nG00 X9000 Y-7000\nM07\nG01 X9040 Y-7000\nG01 X9040 Y-6900\nM08\n";
    for (const std::string& program : {std::string(kProgram), std::string(far)}) {
      const int before = f.plot()->plotCount();
      f.open(f.dir.write("next.nc", program));
      QTRY_COMPARE(f.plot()->plotCount(), before + 1);
      const QRect drawn = drawnBox(f.plot()->canvas().image()), visible = f.visible();
      QVERIFY(visible.contains(drawn));
      QVERIFY(std::abs(drawn.center().x() - visible.center().x()) <= 3);
      QVERIFY(std::abs(drawn.center().y() - visible.center().y()) <= 3);
      QVERIFY(drawn.width() >= visible.width() * 0.8 || drawn.height() >= visible.height() * 0.8);
    }
    // The read-outs name their axes and the unit the program states.
    QCOMPARE(f.text("CursorXName"), QString("X (mm)"));
    QCOMPARE(f.text("BigyName"), QString("Y extent (mm)"));
    f.action("New1")->trigger();
    QTRY_COMPARE(pixelsOf(f.plot()->canvas().image(), qRgb(255, 0, 0)), 0);
    QCOMPARE(f.text("Distances"), QString());
  }

  // "+" and "-" keep the visible centre, so they undo each other; Fit and Home fit again.
  void zoomButtonsWheelPanAndFitKeepTheDrawing() {
    PlotFixture f;
    const auto fitted = f.view();
    auto click = [&](const char* name) {
      f.plot()->findChild<QPushButton*>(name)->click();
      f.plot()->replot();
    };
    for (const char* button : {"ZoomPlus", "ZoomPlus", "ZoomMinus", "ZoomMinus"}) click(button);
    QVERIFY(f.fitted(fitted));
    const int scale = f.app->plot.viewScale;
    // The wheel zooms about the mouse: the read-out under it stays.
    QWidget* image = f.image();
    const QPoint at = f.visible().topLeft() + QPoint(40, 30);
    mouse(image, QEvent::MouseMove, Qt::NoButton, at);
    const QString x = f.text("Label2"), y = f.text("Label1");
    QWheelEvent wheel(at, image->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(image, &wheel);
    QCOMPARE(f.app->plot.viewScale, 2 * scale);
    mouse(image, QEvent::MouseMove, Qt::NoButton, at);
    QVERIFY(std::abs(f.text("Label2").toDouble() - x.toDouble()) < 0.1 &&
            std::abs(f.text("Label1").toDouble() - y.toDouble()) < 0.1);
    // The middle button drags the drawing.
    const int dragged = f.app->plot.horizontalOrigin + 50, count = f.plot()->plotCount();
    mouse(image, QEvent::MouseButtonPress, Qt::MiddleButton, at);
    mouse(image, QEvent::MouseMove, Qt::MiddleButton, at + QPoint(50, 20));
    mouse(image, QEvent::MouseButtonRelease, Qt::MiddleButton, at + QPoint(50, 20));
    QCOMPARE(f.app->plot.horizontalOrigin, dragged);
    QCOMPARE(f.plot()->plotCount(), count + 1);
    f.plot()->findChild<QAction*>("Grid_1_1000")->trigger();
    f.plot()->replot();
    click("FitButton");
    QVERIFY(f.fitted(fitted));
    f.plot()->findChild<QAction*>("Grid_1_16")->trigger();
    f.plot()->replot();
    QTest::keyClick(image, Qt::Key_Home);
    QVERIFY(f.fitted(fitted));
  }

  // Opening a file plots it once; at the window's width every read-out shows whole, after the
  // name of what it is.
  void openingPlotsWithReadOutsWholeAtTheDefaultWidth() {
    PlotFixture f;
    QCOMPARE(f.plot()->plotCount(), 1);
    QCOMPARE(f.plot()->windowTitle(), QString("Cut 48.069  Rapid 28.284  Total Distance 76.353"));
    QCOMPARE(f.text("Distances"), f.plot()->windowTitle());
    QVERIFY(pixelsOf(f.plot()->canvas().image(), qRgb(255, 0, 0)) > 0);
    QVERIFY(pixelsOf(f.plot()->canvas().image(), qRgb(0, 0, 255)) > 0);
    QTest::qWait(10);  // the layout follows the new texts
    for (const char* name : {"Distances", "Label14", "Label15", "Label16", "Bigx", "Bigy", "Area", "BigxName"}) {
      auto* label = f.plot()->findChild<QLabel*>(name);
      QVERIFY2(label->isVisible() && label->width() >= label->sizeHint().width(), name);
      QVERIFY2(label->mapTo(f.plot(), QPoint(label->width(), 0)).x() <= f.plot()->width(), name);
    }
  }

  void quickScaleChangesReplotOnce() {
    PlotFixture f;
    f.scale()->setValue(2000);
    f.scale()->setValue(3000);
    f.scale()->setValue(4000);
    QCOMPARE(f.plot()->plotCount(), 1);
    QVERIFY(f.plot()->replotTimer()->isActive());
    QTest::qWait(400);
    QCOMPARE(f.plot()->plotCount(), 2);
    QCOMPARE(f.app->plot.viewScale, 4000);
    QCOMPARE(f.scale()->singleStep(), 400);
  }

  void zoomBoxScalesAndPreviousRestores() {
    PlotFixture f;
    const auto before = f.view();
    QAction* previous = f.plot()->findChild<QAction*>("Previous1");
    QVERIFY(!previous->isEnabled());
    f.plot()->findChild<QAction*>("Zoom1")->trigger();
    QVERIFY(previous->isEnabled());
    QWidget* image = f.image();
    mouse(image, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(200, 300));
    QVERIFY(f.plot()->zoomDragging());
    mouse(image, QEvent::MouseMove, Qt::NoButton, QPoint(210, 301));
    mouse(image, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(210, 301));
    QVERIFY(!f.plot()->zoomDragging() && !f.plot()->zoomArmed());
    // A box one pixel high multiplies the scale by at most 10.
    QCOMPARE(f.app->plot.viewScale, std::get<0>(before) * 10);
    QTRY_COMPARE(f.plot()->plotCount(), 2);
    previous->trigger();
    QVERIFY(f.view() == before);
    QVERIFY(!previous->isEnabled());
  }

  void leftClickMovesTheOriginAndShiftArrowsPan() {
    PlotFixture f;
    QWidget* image = f.image();
    mouse(image, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(300, 500));
    mouse(image, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(300, 500));
    QCOMPARE(f.app->plot.horizontalOrigin, 300);
    QCOMPARE(f.app->plot.verticalOrigin, 500);
    const int before = f.plot()->plotCount();
    QTest::keyClick(f.scale(), Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(f.app->plot.verticalOrigin, 400);
    QCOMPARE(f.plot()->plotCount(), before + 1);
    QCOMPARE(f.scale()->value(), f.app->plot.viewScale);  // the key is consumed, not a spin
    QTest::keyClick(image, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(f.app->plot.horizontalOrigin, 200);
  }

  void rightButtonSingleStepsAndMovesTheCaret() {
    PlotFixture f;
    QWidget* image = f.image();
    f.app->backplot.state().CurrentLine = 0;
    mouse(image, QEvent::MouseButtonPress, Qt::RightButton, QPoint(10, 10));
    QVERIFY(f.plot()->stepTimer()->isActive());
    QCOMPARE(f.app->backplot.state().CurrentLine, 1);
    QTRY_VERIFY(f.app->backplot.state().CurrentLine >= 3);
    mouse(image, QEvent::MouseButtonRelease, Qt::RightButton, QPoint(10, 10));
    QVERIFY(!f.plot()->stepTimer()->isActive());
    const int line = f.app->backplot.state().CurrentLine;
    QCOMPARE(f.gui->main()->editor()->caret().line, line);
  }

  // The keypad stands as a numeric keypad; each button rewrites the program as one undo step
  // and shows the distance it used; "Disable all Modifiers", "X div  2" grey the buttons.
  void keypadRewritesAsOneUndoStep() {
    PlotFixture f;
    const char* rows[3][3] = {{"SpeedButton5", "SpeedButton2", "SpeedButton3"},
                              {"SpeedButton7", "SpeedButton9", "SpeedButton6"},
                              {"SpeedButton8", "SpeedButton1", "SpeedButton4"}};
    auto button = [&](const char* name) { return f.plot()->findChild<QPushButton*>(name); };
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) {
        const QPoint at = button(rows[r][c])->geometry().topLeft(), first = button(rows[0][0])->geometry().topLeft();
        QVERIFY((at.y() > first.y()) == (r > 0) && (at.x() > first.x()) == (c > 0));
        if (c > 0) QCOMPARE(at.y(), button(rows[r][c - 1])->geometry().y());
        if (r > 0) QCOMPARE(at.x(), button(rows[r - 1][c])->geometry().x());
      }
    QCOMPARE(button("SpeedButton9")->toolTip(),
             QString("Spin the part Inc Degrees  or just highlighted code about 0,0,0"));
    kw::ProgramEditor* editor = f.gui->main()->editor();
    const QString before = kwtest::text(editor);
    auto* slide = f.plot()->findChild<QLineEdit*>("SlideEdit1");
    slide->selectAll();
    QTest::keyClicks(slide, "250");
    button("SpeedButton1")->click();
    QCOMPARE(kwtest::text(editor).section('\n', 0, 4),
             QString("G00 X100.000 Y0.000\nG00 X110.000 Y10.000\nM07 \nG01 X120.000 Y10.000\n"
                     "G03 X130.000 Y20.000 I0.000 J10.000"));
    QTRY_COMPARE(slide->text(), QString("100.0"));
    button("FlopButton")->click();
    QVERIFY(kwtest::text(editor).startsWith("G00 X-100.000 Y0.000\n"));
    editor->undo();
    editor->undo();
    QCOMPARE(kwtest::text(editor), before);
    f.app->profile.setFlag("NoModifiers", true);
    f.plot()->showView();
    for (auto* b : f.plot()->findChild<QWidget*>("Keypad")->findChildren<QPushButton*>()) QVERIFY(!b->isEnabled());
    f.app->profile.setFlag("NoModifiers", false);
    f.app->profile.setFlag("Xdiv2", true);
    f.plot()->showView();
    for (auto* b : f.plot()->findChild<QWidget*>("Keypad")->findChildren<QPushButton*>())
      QCOMPARE(b->isEnabled(), b->objectName() != "SpeedButton9");
  }

  void plotToCursorStopsAtTheSelectedLine() {
    PlotFixture f;
    kw::ProgramEditor* editor = f.gui->main()->editor();
    editor->setCaret({4, 1});
    f.gui->main()->commands()->ShowLineNum2();
    QCOMPARE(f.app->highlighted.first, 3);
    f.plot()->findChild<QPushButton*>("SpeedButton10")->click();
    QCOMPARE(f.app->backplot.state().CurrentLine, 4);
    QCOMPARE(editor->caret().line, 4);
  }

  // The block is drawn black only when it spans more than one line.
  void highlightedBlockIsDrawnBlack() {
    PlotFixture f;
    kw::ProgramEditor* editor = f.gui->main()->editor();
    for (int lines : {1, 2}) {
      const int last = 3 + lines - 1;
      editor->setSelection({3, 0}, {last, static_cast<int>(editor->lines()[static_cast<size_t>(last)].size())});
      f.gui->main()->commands()->ShowLineNum2();
      f.plot()->replot();
      QCOMPARE(pixelsOf(f.plot()->canvas().image(), qRgb(0, 0, 0)) > 0, lines == 2);
    }
  }

  // A long plot shows how far it got and that Esc stops it.
  void escapeStopsALongPlotThatShowsItsProgress() {
    PlotFixture f;
    QString program;
    for (int i = 0; i < 20000; ++i) program += QString("G01 X%1 Y%2\n").arg(i % 100).arg(i % 37);
    kwtest::setText(f.gui->main()->editor(), program);
    f.plot()->setProgressDelay(0);
    QString shown;
    QTimer::singleShot(0, f.plot(), [&] {
      if (auto* progress = f.plot()->findChild<QLabel*>("PlotProgress"); progress->isVisible())
        shown = progress->text();
      QTest::keyClick(f.plot()->scrollBox(), Qt::Key_Escape);
    });
    f.plot()->replot();
    QCOMPARE(f.app->backplot.state().CurrentLine, 0);  // the plot was stopped and reset
    QCOMPARE(shown, QString("Plotting line 1 of 20001 (0%)  -  Esc stops it"));
    QVERIFY(!f.plot()->findChild<QLabel*>("PlotProgress")->isVisible());
  }

  // Closing the main window during a long plot stops the plot; the program ends after it returned.
  void closingDuringALongPlotEndsTheProgramAfterIt() {
    PlotFixture f;
    QString program;
    for (int i = 0; i < 20000; ++i) program += QString("G01 X%1 Y%2\n").arg(i % 100).arg(i % 37);
    kwtest::setText(f.gui->main()->editor(), program);
    std::vector<bool> plottingAtEnd;
    f.gui->main()->endProgram = [&] { plottingAtEnd.push_back(f.plot()->plotting()); };
    QTimer::singleShot(0, f.plot(), [&] { QVERIFY(f.gui->main()->close()); });
    f.plot()->replot();
    QCOMPARE(f.app->backplot.state().CurrentLine, 0);  // stopped and reset
    QVERIFY(!f.plot()->isVisible());
    QTRY_COMPARE(plottingAtEnd, std::vector<bool>{false});
  }

  // The caret's line is marked over the plot without a re-plot; Ctrl+click on a drawn move puts
  // the caret on its line, and a plain click still moves the origin.
  void caretLineIsMarkedAndCtrlClickFindsTheLine() {
    PlotFixture f;
    kw::ProgramEditor* editor = f.gui->main()->editor();
    const int plots = f.plot()->plotCount();
    editor->setCaret({3, 0});  // G01 X20 Y10
    const auto marked = f.plot()->markedStrokes();
    QCOMPARE(marked.size(), size_t{1});
    QVERIFY(std::abs(marked[0].x1 - marked[0].x0) + std::abs(marked[0].y1 - marked[0].y0) > 20);
    QVERIFY(f.plot()->lineMap().strokesOf(4).size() > 3);  // the arc, in chords
    QCOMPARE(f.plot()->plotCount(), plots);

    const QPoint onCut((marked[0].x0 + marked[0].x1) / 2 + 2, (marked[0].y0 + marked[0].y1) / 2);
    editor->setCaret({0, 0});
    QTest::mouseClick(f.image(), Qt::LeftButton, Qt::ControlModifier, onCut);
    QCOMPARE(editor->caret().line, 3);
    QCOMPARE(f.plot()->markedStrokes().size(), size_t{1});
    QTest::mouseClick(f.image(), Qt::LeftButton, Qt::ControlModifier, QPoint(2, 2));  // nothing drawn there
    QCOMPARE(editor->caret().line, 3);
    const auto before = f.view();
    mouse(f.image(), QEvent::MouseButtonPress, Qt::LeftButton, onCut);
    mouse(f.image(), QEvent::MouseButtonRelease, Qt::LeftButton, onCut);
    QCOMPARE(std::get<1>(f.view()), onCut.x());
    QVERIFY(f.view() != before);
  }

  void flatButtonSetsTheBarsFromTheProfile() {
    PlotFixture f;
    f.app->profile.setNumber("XViewangle", 30);
    f.app->profile.setNumber("ZViewAngle", 90);
    f.plot()->findChild<QPushButton*>("FlatButton")->click();
    auto* bar3 = f.plot()->findChild<QScrollBar*>("ScrollBar3");
    QCOMPARE(f.plot()->findChild<QScrollBar*>("ScrollBar1")->value(), 3);
    QCOMPARE(bar3->value(), 9);
    QCOMPARE(bar3->minimum(), -18);
    QCOMPARE(bar3->maximum(), 18);
    QCOMPARE(f.plot()->findChild<QSpinBox*>("ZAxisSpinEdit")->value(), -90);
    QCOMPARE(f.app->plot.angleAboutX, 30);
  }

  // Both print commands give one page: the image undistorted, then the read-outs and notes in
  // 10 point type inside the page.
  void printPlotFromEitherWindowGivesOnePage() {
    PlotFixture f;
    f.plot()->findChild<QAction*>("PageNotes1")->trigger();
    QVERIFY(f.plot()->findChild<QLineEdit*>("Edit3")->isVisible());
    f.plot()->findChild<QLineEdit*>("Edit3")->setText("4711");
    QPrinter& printer = f.gui->main()->printer();
    const QString pdf = QString::fromStdString(f.dir.file("out.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    for (const char* command : {"PrintPlot1", "PrintNotes1"}) {
      std::filesystem::remove(f.dir.file("out.pdf"));
      QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
      });
      f.action(command)->trigger();
      QStringList text;
      for (const QString& l : f.pdfText().split('\n'))
        if (!l.trimmed().isEmpty()) text << l.simplified();
      QCOMPARE(text.size(), 5);
      QVERIFY(text.at(0).startsWith("Date : "));
      QVERIFY(text.at(0).endsWith("File : part.nc"));
      QCOMPARE(text.mid(1),
               QStringList({"Cut 48.069 Rapid 28.284 Total Distance 76.353", "Time 48.069 + 14.142 = 62.211",
                            "Rectangle Area 600 Horizontal Max 20.0 Vertical Max 30.0", "Part # 4711"}));
      // The image keeps its proportions: the same resolution across and down.
      const QStringList image = run("pdfimages", {"-list", pdf}).split('\n').at(2).simplified().split(' ');
      QCOMPARE(image.at(12), image.at(13));
      // Every word is set in 10 point type (its box about 12 points high) inside the page.
      const QString boxes = run("pdftotext", {"-bbox", pdf, "-"});
      const double pageWidth = QRegularExpression(R"re(<page width="([\d.]+)")re").match(boxes).captured(1).toDouble();
      const QRegularExpression word(R"re(yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)")re");
      for (const QString& line : boxes.split('\n')) {
        const auto w = word.match(line);
        if (!w.hasMatch()) continue;
        const double height = w.captured(3).toDouble() - w.captured(1).toDouble();
        QVERIFY2(height > 10 && height < 13, qPrintable(line));
        QVERIFY2(w.captured(2).toDouble() <= pageWidth, qPrintable(line));
      }
    }
  }

  static QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
  }
};

QTEST_MAIN(PlotWindowTest)
#include "PlotWindowTest.moc"
