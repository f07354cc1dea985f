#include "gui/QtPort.h"

#include <algorithm>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>

namespace kw {

namespace {

QString filterString(const std::vector<std::string>& filters) {
  QStringList list;
  for (const auto& f : filters) list << QString::fromStdString(f);
  return list.join(";;");
}

std::optional<std::string> runDialog(QWidget* parent, FileDialog& dialog, QFileDialog::AcceptMode mode) {
  QFileDialog box(parent, QString::fromStdString(dialog.title), QString::fromStdString(dialog.folder),
                  filterString(dialog.filters));
  box.setAcceptMode(mode);
  box.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // Save As asks no overwrite question of its own; the program asks where it must.
  box.setOption(QFileDialog::DontConfirmOverwrite, true);
  // Large enough that names, sizes and dates show whole.
  if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    box.resize(std::min(1100, area.width() * 7 / 10), std::min(700, area.height() * 7 / 10));
  }
  std::string name = dialog.fileName;
  if (!name.empty() && name != " ") box.selectFile(fromPath(name));
  bool picked = box.exec() == QDialog::Accepted && !box.selectedFiles().isEmpty();
  dialog.folder = box.directory().absolutePath().toStdString();
  if (!picked) return std::nullopt;
  return box.selectedFiles().first().toStdString();
}

}  // namespace

QWidget* QtPort::window(WindowId id) const {
  auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : it->second;
}

QWidget* QtPort::parent() const {
  QWidget* active = QApplication::activeWindow();
  return active ? active : window(WindowId::Main);
}

// Message and question boxes stay on top, so the always-on-top setup window never hides one.
void QtPort::message(std::string_view text) {
  QMessageBox box(QMessageBox::Information, QApplication::applicationName(), fromBytes(text), QMessageBox::Ok,
                  parent());
  box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  box.exec();
}

Answer QtPort::askYesNo(std::string_view text) {
  QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), fromBytes(text),
                  QMessageBox::Yes | QMessageBox::No, parent());
  box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  // Esc and the title bar's close answer neither Yes nor No: they press a button that is never
  // shown, so the caller can tell a dismissed question from a No.
  QPushButton* dismiss = box.addButton(QMessageBox::Cancel);
  dismiss->hide();
  box.setEscapeButton(dismiss);
  box.exec();
  if (box.clickedButton() == box.button(QMessageBox::Yes)) return Answer::Yes;
  if (box.clickedButton() == box.button(QMessageBox::No)) return Answer::No;
  return Answer::Dismissed;
}

void QtPort::beep() { QApplication::beep(); }

void QtPort::setCaption(WindowId id, std::string_view caption) {
  if (QWidget* w = window(id)) w->setWindowTitle(fromBytes(caption));
}

void QtPort::setBusy(bool busy) {
  if (busy) {
    if (busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
    QApplication::restoreOverrideCursor();
  }
}

std::optional<std::string> QtPort::chooseOpenFile(FileDialog& dialog) {
  return runDialog(parent(), dialog, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtPort::chooseSaveFile(FileDialog& dialog) {
  return runDialog(parent(), dialog, QFileDialog::AcceptSave);
}

void QtPort::showProgress(int position, int maximum, bool red) {
  auto* gauge = window(WindowId::Main) ? window(WindowId::Main)->findChild<QProgressBar*>("Gauge1") : nullptr;
  if (!gauge) return;
  // The passes of a conversion each count from their own start; the gauge shows the furthest
  // any of them got, in tenths of a percent, until the conversion hides it.
  constexpr int kSteps = 1000;
  const int steps = static_cast<int>(static_cast<long long>(std::clamp(position, 0, std::max(1, maximum))) * kSteps /
                                     std::max(1, maximum));
  gauge->setMaximum(kSteps);
  gauge->setValue(!gauge->isHidden() ? std::max(gauge->value(), steps) : steps);
  gauge->setStyleSheet(red ? "QProgressBar::chunk { background: red; }" : "QProgressBar::chunk { background: black; }");
  if (!gauge->isVisible()) gauge->show();
  // Long passes report often: the gauge is drawn at most every 100 ms.
  if (!progressClock_.isValid() || progressClock_.elapsed() > 100) {
    progressClock_.restart();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
}

void QtPort::hideProgress() {
  if (auto* gauge = window(WindowId::Main) ? window(WindowId::Main)->findChild<QProgressBar*>("Gauge1") : nullptr)
    gauge->hide();
}

// The layer log shows in the main window (Memo4) and beside the setup window's layer box, which
// stays on top of the main window while the user picks another layer.
void QtPort::showLayerLog(const std::vector<std::string>& lines) {
  QStringList text;
  for (const auto& line : lines) text << fromBytes(line);
  if (auto* memo = window(WindowId::Main) ? window(WindowId::Main)->findChild<QPlainTextEdit*>("Memo4") : nullptr) {
    memo->setPlainText(text.join('\n'));
    memo->show();
  }
  if (auto* view = window(WindowId::Setup) ? window(WindowId::Setup)->findChild<QLabel*>("LayerLogView") : nullptr) {
    view->setText(text.join('\n'));
    view->show();
  }
}

void QtPort::hideLayerLog() {
  if (auto* memo = window(WindowId::Main) ? window(WindowId::Main)->findChild<QPlainTextEdit*>("Memo4") : nullptr) {
    memo->clear();
    memo->hide();
  }
  if (auto* view = window(WindowId::Setup) ? window(WindowId::Setup)->findChild<QLabel*>("LayerLogView") : nullptr) {
    view->clear();
    view->hide();
  }
}

void QtPort::showNotes(const std::vector<std::string>& lines, int ms) {
  auto* notes = window(WindowId::Main) ? window(WindowId::Main)->findChild<QPlainTextEdit*>("RichEdit2") : nullptr;
  if (!notes) return;
  QStringList text;
  for (const auto& line : lines) text << fromBytes(line);
  notes->setPlainText(text.join('\n'));
  notes->show();
  QTimer::singleShot(ms, notes, [notes] {
    notes->clear();
    notes->hide();
  });
}

void QtPort::hideWindow(WindowId id) {
  if (QWidget* w = window(id)) w->hide();
}

void QtPort::showWindow(WindowId id) {
  if (QWidget* w = window(id)) {
    w->show();
    w->raise();
  }
}

void QtPort::focusControl(WindowId id, std::string_view control) {
  QWidget* w = window(id);
  if (!w) return;
  // A minimised window comes back in the state it had before.
  if (w->isMinimized()) w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
  w->show();
  w->raise();
  w->activateWindow();
  QWidget* c = w->findChild<QWidget*>(QString::fromLatin1(control.data(), static_cast<qsizetype>(control.size())));
  if (!c) return;
  c->setFocus();
  for (QWidget* up = c->parentWidget(); up; up = up->parentWidget())
    if (auto* scroll = qobject_cast<QScrollArea*>(up)) scroll->ensureWidgetVisible(c);
  if (auto* edit = qobject_cast<QLineEdit*>(c)) edit->selectAll();
}

void QtPort::closeWindow(WindowId id, int afterMs) {
  if (QWidget* w = window(id)) QTimer::singleShot(afterMs, w, &QWidget::close);
}

}  // namespace kw
