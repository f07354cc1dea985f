#pragma once
// A window that is created at start with its caption and filled by its own subsystem.
#include <QWidget>

namespace kw {

class ShellWindow : public QWidget {
  Q_OBJECT
 public:
  ShellWindow(const QString& objectName, const QString& caption);
};

}  // namespace kw
