#pragma once
// The plot window: the backplot image in a scroll box and the controls that change the view
// (scale, angles, zoom box, previous view, pan, grid presets, single stepping, plot to cursor,
// the cursor read-out) and print the plot.
#include <functional>

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>

#include "core/app/App.h"
#include "core/plot/PlotHost.h"
#include "core/plot/ViewControl.h"
#include "gui/ImageCanvas.h"
#include "gui/PlotLineMap.h"

namespace kw {

class QtPort;
class PlotImage;

class PlotWindow : public QMainWindow, public PlotHost {
  Q_OBJECT
 public:
  PlotWindow(App& app, QtPort& port);
  ~PlotWindow() override;

  ImageCanvas& canvas() { return *canvas_; }
  PlotImage* image() const { return image_; }
  QScrollArea* scrollBox() const { return scroll_; }
  QTimer* replotTimer() const { return timer2_; }
  QTimer* stepTimer() const { return timer1_; }
  int plotCount() const { return plotCount_; }
  bool plotting() const { return plotting_; }

  // PlotAll over the main editor's text with set-up, then the read-outs.
  void replot();
  // The controls show the plot values (after core work changed them).
  void showView();
  // PrintPlot: the image scaled onto the page with the read-outs and page notes below it.
  void PrintPlot(QPrinter& printer, const QString& mainCaption);
  // The print dialog, then PrintPlot: the main window's "Print Plot" and "Print + Notes" both.
  void printPlotPage(QPrinter& printer, QWidget* parent);
  // The printer both print commands use (the one "Print Setup" chose).
  QPrinter* printer = nullptr;
  // "Return to X Y Flat Plane".
  void FlatButtonClick();
  // Single stepping and plot to cursor hand the caret to the main editor through this.
  std::function<void(int line)> moveCaretToLine;
  // Marks the move of program line `index` (the editor's caret line) over the plot; no re-plot.
  void markLine(int index);
  const PlotLineMap& lineMap() const { return *lineMap_; }
  // Ctrl+click: the caret goes to the line of the drawn move under the pointer.
  void imageCtrlClick(QPoint at);
  std::vector<PlotLineMap::Stroke> markedStrokes() const;
  // The main editor's text is copied into the program buffer before every plot.
  std::function<void()> syncEditor;
  // The slide, spin, flip, flop and size buttons run their registered command on the editor.
  std::function<void(const std::string& name)> runCommand;

  // PlotHost.
  void showPlotWindow() override;
  void stopPlotTimers() override;
  void setBusyCursor(bool busy) override;
  void serviceEvents() override;
  void moveEditorCaret(std::size_t offset, int line) override;

  // Mouse handling of the image (image pixels).
  void imageMouseDown(Qt::MouseButton button, QPoint at);
  void imageMouseMove(QPoint at);
  void imageMouseUp(Qt::MouseButton button, QPoint at);
  void imageWheel(int notches, QPoint at);
  // The whole program, fitted and centred in the visible area ("Fit", the Home key).
  void fitClick();
  // A plot longer than this shows its progress over the image.
  void setProgressDelay(int ms) { progressDelayMs_ = ms; }
  bool zoomArmed() const { return zoomArmed_; }
  bool zoomDragging() const { return zoomDrag_; }
  const ZoomBox& zoomBox() const { return box_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void buildMenus();
  QWidget* buildPanel();
  QWidget* buildReadOuts();
  // The slide buttons as a keypad around the spin button, with flip, flop and size beside it.
  QWidget* buildKeypad(QWidget* parent);
  // "Disable all Modifiers" disables the keypad, flip, flop and size; "X div  2" and
  // "I div  2" the spin button as well.
  void enableModifiers();
  void viewScaleEdited(int value);
  void scrollBarMoved(int which);
  void showReadOuts();
  QStringList pageLines(const QString& mainCaption) const;
  void updateScrollGeometry();
  void singleStepTick();
  void plotToCursorClick();

  App& app_;
  QtPort& port_;
  std::unique_ptr<ImageCanvas> canvas_;
  std::unique_ptr<PlotLineMap> lineMap_;
  int markedLine_ = -1;
  PlotImage* image_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QSpinBox* scale_ = nullptr;        // SpinEdit1
  QSpinBox* aboutY_ = nullptr;       // SpinEdit3
  QSpinBox* aboutX_ = nullptr;       // SpinEdit4
  QSpinBox* aboutZ_ = nullptr;       // ZAxisSpinEdit
  QScrollBar* bars_[3] = {};         // ScrollBar1..3
  QLineEdit* slide_ = nullptr;       // SlideEdit1
  QLineEdit* size_ = nullptr;        // X_Edit1
  QLineEdit* cutSpeed_ = nullptr;    // CutSpeedEdit
  QLineEdit* rapidSpeed_ = nullptr;  // RapidSpeedEdit
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* bigx_ = nullptr;
  QLabel* bigy_ = nullptr;
  QLabel* area_ = nullptr;
  QLabel* label14_ = nullptr;
  QLabel* label15_ = nullptr;
  QLabel* label16_ = nullptr;
  QLabel* distances_ = nullptr;    // the caption's distances, also in the panel
  QLabel* cursorXName_ = nullptr;  // the axis letters and unit of the cursor read-out
  QLabel* cursorYName_ = nullptr;
  QLabel* bigxName_ = nullptr;
  QLabel* bigyName_ = nullptr;
  QLabel* progress_ = nullptr;
  int progressDelayMs_ = 1000;
  QElapsedTimer plotClock_;
  bool panning_ = false;  // a middle-button drag
  QPoint panAnchor_;
  QLabel* noteLabels_[4] = {};
  QLineEdit* notes_[4] = {};
  QTimer* timer1_ = nullptr;
  QTimer* timer2_ = nullptr;
  QAction* previous_ = nullptr;
  bool showing_ = false;  // the controls are being set from the plot values
  bool zoomArmed_ = false;
  bool zoomDrag_ = false;
  ZoomBox box_;
  ZoomMemory previousView_;
  int clicks_ = 0;
  int plotCount_ = 0;
  bool plotting_ = false;
  QElapsedTimer refreshClock_;
  // The buttons of slideButtonNames(), in its order.
  std::vector<QPushButton*> modifiers_;
};

// The image widget inside the scroll box.
class PlotImage : public QWidget {
  Q_OBJECT
 public:
  PlotImage(PlotWindow* window, ImageCanvas& canvas);
  // The rubber rectangle of the zoom box, drawn inverting over the image; empty for none.
  void setRubber(const QRect& rect);
  // While the middle button drags, the image is shown moved by `offset` until it is re-plotted.
  void setPanOffset(QPoint offset);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  PlotWindow* window_;
  ImageCanvas& canvas_;
  QRect rubber_;
  QPoint panOffset_;
};

}  // namespace kw
