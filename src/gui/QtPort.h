#pragma once
// The user port on Qt: message boxes, questions, dialogs, captions and the busy cursor.
#include <functional>
#include <map>

#include <QElapsedTimer>
#include <QWidget>

#include "core/ui/UiPort.h"

namespace kw {

class QtPort : public UiPort {
 public:
  void setWindow(WindowId id, QWidget* window) { windows_[id] = window; }
  QWidget* window(WindowId id) const;

  void message(std::string_view text) override;
  Answer askYesNo(std::string_view text) override;
  void beep() override;
  void setCaption(WindowId window, std::string_view caption) override;
  void setBusy(bool busy) override;
  std::optional<std::string> chooseOpenFile(FileDialog& dialog) override;
  std::optional<std::string> chooseSaveFile(FileDialog& dialog) override;
  void hideWindow(WindowId window) override;
  void showWindow(WindowId window) override;
  void focusControl(WindowId window, std::string_view control) override;
  void closeWindow(WindowId window, int afterMs) override;
  void placeDefaultWindows() override {
    if (defaultWindows) defaultWindows();
  }
  // What "Default Windows" does with the windows; the window set sets it.
  std::function<void()> defaultWindows;
  void showProgress(int position, int maximum, bool red) override;
  void hideProgress() override;
  void showLayerLog(const std::vector<std::string>& lines) override;
  void hideLayerLog() override;
  void showNotes(const std::vector<std::string>& lines, int ms) override;

 private:
  QWidget* parent() const;
  std::map<WindowId, QWidget*> windows_;
  int busyDepth_ = 0;
  QElapsedTimer progressClock_;
};

// Bytes of the program are shown one character per byte.
inline QString fromBytes(std::string_view bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
inline std::string toBytes(const QString& text) { return text.toLatin1().toStdString(); }
// File names are the system's (UTF-8 here).
inline QString fromPath(const std::string& path) { return QString::fromStdString(path); }

}  // namespace kw
