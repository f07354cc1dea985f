#pragma once
// The find and replace dialogs of the main editor: text, whole word, match case, direction.
#include <QDialog>

class QLineEdit;
class QCheckBox;
class QRadioButton;
class QPushButton;

namespace kw {

class SearchDialog : public QDialog {
  Q_OBJECT
 public:
  SearchDialog(QWidget* parent, bool withReplace);

  QString findText() const;
  QString replaceText() const;
  bool wholeWord() const;
  bool matchCase() const;
  bool down() const;

 signals:
  void findNext();
  void replace();
  void replaceAll();

 private:
  QLineEdit* find_ = nullptr;
  QLineEdit* replacement_ = nullptr;
  QCheckBox* wholeWord_ = nullptr;
  QCheckBox* matchCase_ = nullptr;
  QRadioButton* down_ = nullptr;
};

}  // namespace kw
