// The DXF save commands: the plot captured into a DxfWriter, or the program's points.
#include "core/app/DxfSave.h"

#include <cmath>
#include <cstring>

#include "core/app/App.h"
#include "core/app/Document.h"
#include "core/dxf/DxfWriter.h"
#include "core/text/FileIo.h"
#include "core/text/FixedText.h"

namespace kw {

namespace {

// Attaches the writer to the plot for the time of a capture, and detaches it whatever happens.
class CaptureAttachment {
 public:
  CaptureAttachment(Backplot& plot, MoveSink& capture) : plot_(plot) { plot_.setCapture(&capture); }
  ~CaptureAttachment() { plot_.setCapture(nullptr); }
  CaptureAttachment(const CaptureAttachment&) = delete;
  CaptureAttachment& operator=(const CaptureAttachment&) = delete;

 private:
  Backplot& plot_;
};

// DxfLinesOnly set for the time of one save command.
class LinesOnlyScope {
 public:
  explicit LinesOnlyScope(App& app) : state_(app.backplot.state()) { state_.DxfLinesOnly = true; }
  ~LinesOnlyScope() { state_.DxfLinesOnly = false; }
  LinesOnlyScope(const LinesOnlyScope&) = delete;
  LinesOnlyScope& operator=(const LinesOnlyScope&) = delete;

 private:
  PlotState& state_;
};

void tellNotSaved(App& app, const std::string& name, const std::string& reason) {
  app.ui.message("Cannot save " + name + ": " + reason);
}

// Why a drawing was not written: a number of the program (on the given line, counted from 0;
// -1 when unknown) that the drawing cannot hold so that it reads back as itself.
std::string numberNotWritable(const NumberNotWritable& e, long line) {
  std::string where = line >= 0 ? " (program line " + std::to_string(line + 1) + ")" : std::string();
  const std::string text = e.what();
  if (text.find('E') == std::string::npos) return "a number" + where + " is past the range of numbers";
  return "the number " + text + where + " has more than 6 digits before the point";
}

std::string withDefaultDxfExtension(const std::string& name) {
  return baseName(name).find('.') == std::string::npos ? name + ".DXF" : name;
}

FileDialog dxfSaveDialog(const App& app, std::vector<std::string> filters, std::string fileName) {
  FileDialog dialog;
  dialog.title = "Save As " + app.currentFileName;
  dialog.filters = std::move(filters);
  dialog.fileName = std::move(fileName);
  return dialog;
}

}  // namespace

std::optional<DxfForm> parseDxfForm(std::string_view text) {
  if (text == "arcs") return DxfForm::CirclesArcsLines;
  if (text == "lines") return DxfForm::LinesOnly;
  if (text == "points") return DxfForm::PointsOnly;
  return std::nullopt;
}

bool saveDxfCapture(App& app, const std::string& nameIn) {
  const std::string name = cut255(nameIn);
  PlotState& state = app.backplot.state();
  app.profile.setFlag("ShowXYZCheckBox", false);
  state.DxfCaptureActive = true;
  app.backplot.Setaxis();
  DxfWriter writer(dxfWriterSettings(app.profile, app.backplot.dialect()));
  std::string error;
  bool written = writer.DxfHeader(name, &error);
  bool stopped = false;
  if (written) {
    try {
      CaptureAttachment attached(app.backplot, writer);
      // No highlighted block: the selection must not change which moves count as cuts.
      app.backplot.PlotAll(app.buffer.lines, false, true, 0, 0, nullptr);
      // A plot stopped with Esc starts over from line 0; a finished one stands on its last line.
      stopped = app.buffer.lines.size() >= 2 && state.CurrentLine == 0;
      if (!stopped) written = writer.DxfFooter(&error);
    } catch (const NumberNotWritable& e) {
      app.ui.setBusy(false);
      written = false;
      error = numberNotWritable(e, state.CurrentLine);
    }
  }
  state.DxfCaptureActive = false;
  app.profile.setFlag("ShowXYZCheckBox", true);
  if (stopped) {
    app.ui.message("The DXF save was stopped: nothing was written to " + name + ".");
    return false;
  }
  if (!written) tellNotSaved(app, name, error);
  return written;
}

bool DxfPointFile(App& app, const std::string& nameIn) {
  const std::string name = cut255(nameIn);
  app.backplot.Setaxis();
  DxfWriter writer(dxfWriterSettings(app.profile, app.backplot.dialect()));
  std::string error;
  bool written = writer.DxfHeader(name, &error);
  if (written) {
    const Dialect& dialect = app.backplot.dialect();
    try {
      writer.GetXYs(app.buffer.lines, dialect.rowWithoutBlanks(LabelRow::XLetter),
                    dialect.rowWithoutBlanks(LabelRow::YLetter));
      written = writer.DxfFooter(&error);
    } catch (const NumberNotWritable& e) {
      written = false;
      error = numberNotWritable(e, -1);
    }
  }
  if (!written) tellNotSaved(app, name, error);
  return written;
}

bool saveAsDxfCirclesArcsLines(App& app, const std::string& name) {
  app.backplot.state().DxfLinesOnly = false;
  return saveAsTo(app, name);
}

bool saveAsDxfLinesOnly(App& app, const std::string& name) {
  LinesOnlyScope linesOnly(app);
  return saveAsTo(app, name);
}

bool saveAsDxfPointsOnly(App& app, const std::string& nameIn) {
  const std::string name = cut255(nameIn);
  bool written = false;
  if (upperExtension(name) == ".DXF") {
    written = DxfPointFile(app, name);
    if (written) app.buffer.modified = false;
  } else {
    app.currentFileName = name;
    app.title = baseName(name);
    app.ui.setCaption(WindowId::Main, app.title);
  }
  app.backplot.state().DxfLinesOnly = false;
  return written;
}

void SaveasDXF1Click(App& app) {
  // Save As shows its own filters; the file name offered is "File1.DXF".
  FileDialog dialog = dxfSaveDialog(app, {"All Files (*.*)", "Dxf Files(*.dxf)", "Text Files (*.txt)"}, "File1.DXF");
  if (auto chosen = app.ui.chooseSaveFile(dialog)) saveAsDxfCirclesArcsLines(app, withDefaultDxfExtension(*chosen));
}

void SaveAsDXFLinesOnly1Click(App& app) {
  FileDialog dialog = dxfSaveDialog(app, {"All Files (*.*)", "Dxf Files(*.dxf)", "Text Files (*.txt)"}, "File1.DXF");
  if (auto chosen = app.ui.chooseSaveFile(dialog)) saveAsDxfLinesOnly(app, withDefaultDxfExtension(*chosen));
}

void SaveAsDXFPointsonlySpecial1Click(App& app) {
  FileDialog dialog = dxfSaveDialog(app, {"*.dxf"}, "FilePoints1.DXF");
  if (auto chosen = app.ui.chooseSaveFile(dialog)) saveAsDxfPointsOnly(app, withDefaultDxfExtension(*chosen));
  app.backplot.state().DxfLinesOnly = false;
}

bool saveDxfForm(App& app, const std::string& name, DxfForm form) {
  if (upperExtension(name) != ".DXF") {
    app.ui.message("A DXF form needs an output name ending in .dxf: nothing was written to " + name + ".");
    return false;
  }
  switch (form) {
    case DxfForm::CirclesArcsLines:
      return saveAsDxfCirclesArcsLines(app, name);
    case DxfForm::LinesOnly:
      return saveAsDxfLinesOnly(app, name);
    case DxfForm::PointsOnly:
      return saveAsDxfPointsOnly(app, name);
  }
  return false;
}

}  // namespace kw
