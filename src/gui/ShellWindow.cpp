#include "gui/ShellWindow.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kw {

ShellWindow::ShellWindow(const QString& objectName, const QString& caption) {
  setObjectName(objectName);
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  auto* note = new QLabel(caption.trimmed() + ": this window's commands are not available in this version.", this);
  note->setObjectName("NotAvailableLabel");
  layout->addWidget(note);
}

}  // namespace kw
