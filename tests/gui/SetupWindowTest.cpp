#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "core/profile/MachineProfile.h"
#include "gui/GuiFixture.h"

using kwtest::GuiFixture;

class SetupWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void everySettingHasItsControl() {
    GuiFixture f;
    for (const auto& def : kw::settingDefs()) {
      const QString name = QString::fromUtf8(def.control.data(), static_cast<qsizetype>(def.control.size()));
      QWidget* w = f.gui->setup()->findChild<QWidget*>(name);
      QVERIFY2(w, qPrintable(name));
      bool fits = def.kind == kw::SettingKind::Text   ? qobject_cast<QLineEdit*>(w) != nullptr
                  : def.kind != kw::SettingKind::Bool ? qobject_cast<QSpinBox*>(w) != nullptr
                  : def.radioGroup.empty()            ? qobject_cast<QCheckBox*>(w) != nullptr
                                                      : qobject_cast<QRadioButton*>(w) != nullptr;
      QVERIFY2(fits, qPrintable(name));
    }
    QCOMPARE(f.control<QCheckBox>("RCheckbox")->text(), QString("R instead of I J K"));
  }

  // Maximised on a 1920 x 1080 screen every group is in view whole; a 1366 x 768 one scrolls to
  // the rest.
  void everyGroupFitsAFullHdScreen() {
    GuiFixture f;
    QWidget* setup = f.gui->setup();
    auto* scroll = setup->findChild<QScrollArea*>("ScrollBox1");
    for (QSize screen : {QSize(1920, 1030), QSize(1366, 720)}) {
      setup->setWindowState(Qt::WindowNoState);
      setup->resize(screen);
      setup->show();
      QCoreApplication::processEvents();
      const QRect view = scroll->viewport()->rect();
      QStringList cut;
      for (auto* group : setup->findChildren<QGroupBox*>())
        if (!view.contains(QRect(group->mapTo(scroll->viewport(), QPoint(0, 0)), group->size()))) cut << group->title();
      QCOMPARE(cut.isEmpty(), screen.width() == 1920);
      QCOMPARE(scroll->verticalScrollBar()->maximum() > 0, screen.width() != 1920);
    }
  }

  void labelTableAndSpinEditsChangeTheProfile() {
    GuiFixture f({}, kwtest::kPlasmaProfile);
    QCoreApplication::processEvents();
    QTableWidget* grid = f.control<QTableWidget>("StringGrid1");
    QCOMPARE(grid->rowCount(), 99);
    QCOMPARE(grid->columnCount(), 3);
    QCOMPARE(grid->item(0, 2)->text(), QString("1"));
    QCOMPARE(grid->item(98, 2)->text(), QString("99"));
    QCOMPARE(grid->item(1, 1)->text(), QString("G01"));
    // Editing a cell or a spin edit changes the profile at once, without saving.
    grid->item(2, 1)->setText("G02");
    QCOMPARE(f.app->profile.cell(2, 1), std::string("G02"));
    auto* res = f.control<QSpinBox>("PlotResSpinEdit");
    res->setValue(25);
    QCOMPARE(f.app->profile.number("PlotResSpinEdit"), 20);
    res->setValue(7);
    QCOMPARE(f.app->profile.number("PlotResSpinEdit"), 7);
  }

  // The controls show what an option's rule did to the others.
  void optionRulesAndSwapsShowInTheControls() {
    GuiFixture f;
    auto* designCad = f.control<QCheckBox>("DesignCad");
    designCad->click();
    f.control<QCheckBox>("RCheckbox")->click();
    QVERIFY(!designCad->isChecked() && f.control<QCheckBox>("IJFOURQUAD")->isChecked());
    f.control<QRadioButton>("RadioButton6")->click();
    f.control<QRadioButton>("RadioButton7")->click();
    QVERIFY(!f.control<QRadioButton>("RadioButton6")->isChecked() && f.app->profile.flag("RadioButton7"));

    f.control<QCheckBox>("SwapXY")->click();
    QCOMPARE(f.control<QCheckBox>("XsignCheckBox")->text(), QString("Y * -1"));
    QCOMPARE(f.control<QLabel>("Label21")->text(), QString("Y Angle"));
    f.control<QCheckBox>("SwapYZ")->click();
    QVERIFY(!f.control<QCheckBox>("SwapXY")->isChecked());
    QCOMPARE(f.control<QCheckBox>("XsignCheckBox")->text(), QString("X * -1"));
    QCOMPARE(f.control<QLabel>("Label1")->text(), QString("Y Offset +/-"));
  }

  void saveIniWritesTheProfileAndRelabels() {
    GuiFixture f;
    f.control<QLineEdit>("DpEdit")->setText("");
    QTest::keyClicks(f.control<QLineEdit>("DpEdit"), "4");
    std::string path = f.dir.file("lathe.ini");
    f.port.picks = {path};
    f.gui->setup()->findChild<QAction*>("Saveini2")->trigger();
    QVERIFY(kwtest::readFile(path).find("Decimal Places=4\r\n") != std::string::npos);
    QCOMPARE(f.gui->setup()->windowTitle(), QString("Setup       Using lathe.ini"));
  }
};

QTEST_MAIN(SetupWindowTest)
#include "SetupWindowTest.moc"
