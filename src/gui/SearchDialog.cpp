#include "gui/SearchDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kw {

SearchDialog::SearchDialog(QWidget* parent, bool withReplace) : QDialog(parent) {
  setObjectName(withReplace ? "ReplaceDialog1" : "FindDialog1");
  setWindowTitle(withReplace ? "Replace" : "Find");
  setModal(false);
  auto* form = new QFormLayout;
  find_ = new QLineEdit(this);
  find_->setObjectName("FindText");
  form->addRow("Fi&nd what:", find_);
  if (withReplace) {
    replacement_ = new QLineEdit(this);
    replacement_->setObjectName("ReplaceText");
    form->addRow("Re&place with:", replacement_);
  }
  wholeWord_ = new QCheckBox("Match &whole word only", this);
  wholeWord_->setObjectName("WholeWord");
  matchCase_ = new QCheckBox("Match &case", this);
  matchCase_->setObjectName("MatchCase");
  auto* direction = new QGroupBox("Direction", this);
  auto* up = new QRadioButton("&Up", direction);
  up->setObjectName("Up");
  down_ = new QRadioButton("&Down", direction);
  down_->setObjectName("Down");
  down_->setChecked(true);
  auto* directionLayout = new QHBoxLayout(direction);
  directionLayout->addWidget(up);
  directionLayout->addWidget(down_);

  auto* buttons = new QVBoxLayout;
  auto* next = new QPushButton("&Find Next", this);
  next->setObjectName("FindNextButton");
  next->setDefault(true);
  buttons->addWidget(next);
  connect(next, &QPushButton::clicked, this, &SearchDialog::findNext);
  if (withReplace) {
    auto* one = new QPushButton("&Replace", this);
    one->setObjectName("ReplaceButton");
    auto* all = new QPushButton("Replace &All", this);
    all->setObjectName("ReplaceAllButton");
    buttons->addWidget(one);
    buttons->addWidget(all);
    connect(one, &QPushButton::clicked, this, &SearchDialog::replace);
    connect(all, &QPushButton::clicked, this, &SearchDialog::replaceAll);
  }
  auto* cancel = new QPushButton("Cancel", this);
  buttons->addWidget(cancel);
  buttons->addStretch(1);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* left = new QVBoxLayout;
  left->addLayout(form);
  left->addWidget(wholeWord_);
  left->addWidget(matchCase_);
  left->addWidget(direction);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);
}

QString SearchDialog::findText() const { return find_->text(); }
QString SearchDialog::replaceText() const { return replacement_ ? replacement_->text() : QString(); }
bool SearchDialog::wholeWord() const { return wholeWord_->isChecked(); }
bool SearchDialog::matchCase() const { return matchCase_->isChecked(); }
bool SearchDialog::down() const { return down_->isChecked(); }

}  // namespace kw
