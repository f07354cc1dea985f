#include "gui/SetupWindow.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "core/app/ProfileSession.h"
#include "core/comm/CommPortDriver.h"
#include "core/text/FileIo.h"
#include "gui/MainWindow.h"
#include "gui/QtPort.h"

namespace kw {

namespace {

// Group boxes of the window, by INI section, and where they stand (column).
struct GroupPlace {
  std::string_view section;
  const char* title;
  const char* objectName;
  int column;
};

constexpr GroupPlace kGroups[] = {
    {"Baud", "Baud", "BaudGroupBox", 1},
    {"Data", "Data", "DataGroupBox", 1},
    {"Parity", "Parity", "ParityGroupBox", 1},
    {"Flow", "Flow", "FlowGroupBox", 1},
    {"Stop Bits", "Stop Bits", "StopBitsGroupBox", 1},
    {"Com Port", "Com Port", "ComPortGroupBox", 2},
    {"Buffer", "Com Buffer", "BufferGroupBox", 1},
    {"Transmit", "Transmit", "TransmitGroupBox", 1},
    {"Plotting", "Plotting", "PlottingGroupBox", 2},
    {"Dxf", "Dxf", "DxfGroupBox", 3},
    {"Options", "Options", "OptionsGroupBox", 4},
    {"Tape", "Punched Tape", "TapeGroupBox", 2},
    {"InitialDir", "Initial Working Directory", "InitialDirGroupBox", 4},
    {"Font", "Font", "FontGroupBox", 4},
};

// Labels beside edits that the axis swaps relabel keep their design names.
QString labelNameFor(std::string_view control) {
  if (control == "XViewangle") return "Label21";
  if (control == "YViewangle") return "Label18";
  if (control == "ZViewAngle") return "Label15";
  if (control == "ZoffsetEdit") return "Label1";
  return QString::fromUtf8(control.data(), static_cast<qsizetype>(control.size())) + "Label";
}

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

SetupWindow::SetupWindow(App& app, QtPort& port) : app_(app), port_(port) {
  setObjectName("Setup");
  setWindowTitle("Setup of INI files");

  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("ScrollBox1");
  scroll->setWidgetResizable(true);
  auto* page = new QWidget(scroll);
  auto* columns = new QHBoxLayout(page);
  // Five columns: the LabelTable, then the groups, so that every group is in view on a
  // 1920 x 1080 screen; a smaller screen scrolls.
  constexpr int kColumns = 5;
  QVBoxLayout* columnLayouts[kColumns];
  for (int c = 0; c < kColumns; ++c) {
    columnLayouts[c] = new QVBoxLayout();
    columns->addLayout(columnLayouts[c], c == 0 ? 0 : 1);
  }

  auto* labelsGroup = new QGroupBox("Labels  and Translate table", page);
  labelsGroup->setObjectName("LabelsGroupBox");
  auto* labelsLayout = new QVBoxLayout(labelsGroup);
  grid_ = new QTableWidget(MachineProfile::kRows, MachineProfile::kCols, labelsGroup);
  grid_->setObjectName("StringGrid1");
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->setColumnWidth(0, 150);
  grid_->setColumnWidth(1, 150);
  grid_->setColumnWidth(2, 40);
  grid_->setMinimumWidth(360);
  labelsLayout->addWidget(grid_);
  columnLayouts[0]->addWidget(labelsGroup);
  groups_["Labels"] = labelsGroup;
  connect(grid_, &QTableWidget::cellChanged, this, [this](int row, int col) {
    if (updating_) return;
    QTableWidgetItem* item = grid_->item(row, col);
    app_.profile.setCell(row, col, toBytes(item ? item->text() : QString()));
  });
  connect(grid_, &QTableWidget::cellClicked, this, [this] { grid_->setStyleSheet(QString()); });

  for (const auto& place : kGroups) {
    auto* box = new QGroupBox(place.title, page);
    box->setObjectName(place.objectName);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(6, 4, 6, 4);
    form->setVerticalSpacing(2);
    columnLayouts[place.column]->addWidget(box);
    groups_[std::string(place.section)] = box;
  }
  // The LabelTable takes the whole height of its column; the other columns stack their groups.
  for (int c = 1; c < kColumns; ++c) columnLayouts[c]->addStretch(1);
  grid_->setMinimumHeight(480);

  const auto& defs = settingDefs();
  for (int i = 0; i < static_cast<int>(defs.size()); ++i) {
    QGroupBox* box = groupFor(defs[i].section);
    auto* form = static_cast<QFormLayout*>(box->layout());
    QWidget* control = buildControl(defs[i], i);
    controls_[i] = control;
    if (defs[i].kind == SettingKind::Bool) {
      form->addRow(control);
    } else {
      auto* label = new QLabel(qs(defs[i].caption), box);
      label->setObjectName(labelNameFor(defs[i].control));
      form->addRow(label, control);
    }
  }

  // Each port's device path: typed, or one of the serial devices the system has right now.
  for (int port = 1; port <= 4; ++port) {
    const std::string control = "ComDevice" + std::to_string(port);
    auto* edit = findChild<QLineEdit*>(QString::fromStdString(control));
    QAction* choose = edit->addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    choose->setObjectName(QString::fromStdString(control) + "Choose");
    choose->setToolTip("The serial devices of this system");
    connect(choose, &QAction::triggered, this, [this, edit, control] {
      QMenu menu(this);
      const std::vector<std::string> devices = serialDevices();
      if (devices.empty()) menu.addAction("No serial devices found")->setEnabled(false);
      for (const std::string& device : devices)
        connect(menu.addAction(QString::fromStdString(device)), &QAction::triggered, this, [this, control, device] {
          app_.profile.setText(control, device);
        });
      menu.exec(edit->mapToGlobal(QPoint(edit->width() - 20, edit->height())));
    });
  }

  // The layers of a drawing that gave nothing on the chosen layer, beside the layer box, until
  // the next conversion.
  auto* layerLog = new QLabel(groupFor("Dxf"));
  layerLog->setObjectName("LayerLogView");
  layerLog->setWordWrap(true);
  layerLog->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layerLog->setStyleSheet("QLabel { background: #FFFFE0; padding: 4px; }");
  layerLog->hide();
  static_cast<QFormLayout*>(groupFor("Dxf")->layout())->addRow(layerLog);

  // The font: its name shown beside a "Font" label that opens the font dialog.
  auto* fontForm = static_cast<QFormLayout*>(groupFor("Font")->layout());
  auto* fontCaption = new QLabel("<a href=\"font\">Font</a>", this);
  fontCaption->setObjectName("Label14");
  fontLabel_ = new QLabel(this);
  fontLabel_->setObjectName("Label_font");
  fontForm->addRow(fontCaption, fontLabel_);

  scroll->setWidget(page);
  setCentralWidget(scroll);
  buildMenus();
  connect(fontCaption, &QLabel::linkActivated, this, [this] { findChild<QAction*>("Font1")->trigger(); });

  app_.profile.onChange = [this](int index) {
    if (index < 0) {
      if (!gridRefreshQueued_) {
        gridRefreshQueued_ = true;
        QTimer::singleShot(0, this, [this] { refreshGrid(); });
      }
      return;
    }
    refreshControl(index);
    const auto& control = settingDefs()[static_cast<size_t>(index)].control;
    if (control == "SwapXY" || control == "SwapYZ") relabel();
    if (control == "FontName") fontLabel_->setText(fromBytes(app_.profile.text("FontName")));
  };
  refreshAll();
}

QGroupBox* SetupWindow::groupFor(std::string_view section) {
  auto it = groups_.find(section);
  return it != groups_.end() ? it->second : groups_.find("Options")->second;
}

QWidget* SetupWindow::buildControl(const SettingDef& def, int index) {
  const QString name = qs(def.control);
  const std::string control(def.control);
  switch (def.kind) {
    case SettingKind::Bool: {
      QAbstractButton* button;
      if (!def.radioGroup.empty()) {
        auto* radio = new QRadioButton(qs(def.caption), this);
        radio->setAutoExclusive(false);  // the profile keeps its groups
        button = radio;
      } else {
        button = new QCheckBox(qs(def.caption), this);
      }
      button->setObjectName(name);
      connect(button, &QAbstractButton::toggled, this, [this, control](bool on) {
        if (!updating_) app_.profile.setFlag(control, on);
      });
      return button;
    }
    case SettingKind::Int:
    case SettingKind::IntText: {
      auto* spin = new QSpinBox(this);
      spin->setObjectName(name);
      if (def.hasRange)
        spin->setRange(def.minValue, def.maxValue);
      else
        spin->setRange(-1000000, 1000000);
      connect(spin, &QSpinBox::valueChanged, this, [this, control](int value) {
        if (!updating_) app_.profile.setNumber(control, value);
      });
      return spin;
    }
    case SettingKind::Text: {
      auto* edit = new QLineEdit(this);
      edit->setObjectName(name);
      connect(edit, &QLineEdit::textEdited, this, [this, control](const QString& text) {
        if (!updating_) app_.profile.setText(control, toBytes(text));
      });
      return edit;
    }
  }
  (void)index;
  return nullptr;
}

void SetupWindow::refreshControl(int index) {
  auto it = controls_.find(index);
  if (it == controls_.end()) return;
  const SettingDef& def = settingDefs()[static_cast<size_t>(index)];
  const std::string control(def.control);
  bool was = updating_;
  updating_ = true;
  switch (def.kind) {
    case SettingKind::Bool:
      static_cast<QAbstractButton*>(it->second)->setChecked(app_.profile.flag(control));
      break;
    case SettingKind::Int:
    case SettingKind::IntText:
      static_cast<QSpinBox*>(it->second)->setValue(app_.profile.number(control));
      break;
    case SettingKind::Text: {
      auto* edit = static_cast<QLineEdit*>(it->second);
      QString text = fromBytes(app_.profile.text(control));
      if (edit->text() != text) edit->setText(text);
      break;
    }
  }
  updating_ = was;
}

void SetupWindow::refreshGrid() {
  gridRefreshQueued_ = false;
  bool was = updating_;
  updating_ = true;
  for (int row = 0; row < MachineProfile::kRows; ++row) {
    for (int col = 0; col < MachineProfile::kCols; ++col) {
      QString text = fromBytes(app_.profile.cell(row, col));
      QTableWidgetItem* item = grid_->item(row, col);
      if (!item)
        grid_->setItem(row, col, new QTableWidgetItem(text));
      else if (item->text() != text)
        item->setText(text);
    }
  }
  updating_ = was;
}

void SetupWindow::relabel() {
  for (const auto& [control, caption] : axisCaptions(app_.profile.flag("SwapXY"), app_.profile.flag("SwapYZ"))) {
    QWidget* w = findChild<QWidget*>(qs(control));
    if (auto* button = qobject_cast<QAbstractButton*>(w))
      button->setText(qs(caption));
    else if (auto* label = qobject_cast<QLabel*>(w))
      label->setText(qs(caption));
  }
}

void SetupWindow::refreshAll() {
  for (const auto& [index, widget] : controls_) refreshControl(index);
  refreshGrid();
  relabel();
  fontLabel_->setText(fromBytes(app_.profile.text("FontName")));
}

QSize SetupWindow::designSize() const {
  auto hint = [this](std::string_view section) {
    auto it = groups_.find(section);
    return it == groups_.end() ? QSize() : it->second->sizeHint();
  };
  int width = hint("InitialDir").width() + 20;
  int height =
      hint("InitialDir").height() + hint("Tape").height() + hint("Baud").height() + hint("Labels").height() + 100;
  return {width, height};
}

void SetupWindow::buildMenus() {
  QMenu* files = menuBar()->addMenu("&Files");
  files->setObjectName("Files1");
  QAction* save = files->addAction("Save ini");
  save->setObjectName("Saveini2");
  connect(save, &QAction::triggered, this, [this] {
    FileDialog dialog;
    dialog.folder = app_.folder;
    dialog.fileName = "*.ini";
    dialog.filters = {"INI files (*.ini)", "All Files (*.*)"};
    if (auto chosen = port_.chooseSaveFile(dialog)) Saveini2Click(app_, *chosen);
  });
  QAction* load = files->addAction("Load ini");
  load->setObjectName("Loadini1");
  connect(load, &QAction::triggered, this, [this] {
    FileDialog dialog;
    dialog.folder = app_.folder;
    dialog.fileName = "*.ini";
    dialog.filters = {"INI files (*.ini)", "All Files (*.*)"};
    ChooseAndLoadProfile(app_, port_.chooseOpenFile(dialog));
    refreshAll();
  });
  QAction* font = files->addAction("Font");
  font->setObjectName("Font1");
  connect(font, &QAction::triggered, this, [this] {
    QFont current(QString::fromStdString(app_.profile.text("FontName")), app_.profile.number("FontSize"));
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, current, this);
    if (!ok) return;
    app_.profile.setText("FontName", chosen.family().toStdString());
    app_.profile.setNumber("FontSize", chosen.pointSize());
    emit fontChosen(chosen);
  });
  QAction* print = files->addAction("Print Form");
  print->setObjectName("PrintForm1");
  connect(print, &QAction::triggered, this, [this] { printForm(this); });
  QAction* help = menuBar()->addAction("Help");
  help->setObjectName("Help1");
  connect(help, &QAction::triggered, this, &SetupWindow::helpRequested);
}

}  // namespace kw
