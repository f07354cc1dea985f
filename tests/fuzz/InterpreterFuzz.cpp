// The interpreter over a whole program, in the view and with the options of the input's first
// byte and the circle resolution of its second (0 for the usual 5); every move goes to the DXF
// writer as in a DXF save. A program that has lines must end with its statistics formed, unless
// the writer refused a number.
#include "core/dxf/DxfWriter.h"
#include "core/plot/Backplot.h"
#include "core/text/FixedText.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kwfuzz::Input input(data, size);
  kw::MachineProfile profile = kwfuzz::defaultProfile();
  const unsigned options = input.bits();
  kwfuzz::setFlags(profile, {"IncludeZCheckBox", "Bridgeport", "Xdiv2", "Idiv2", "XsignCheckBox"}, options);
  profile.setNumber("PlotResSpinEdit", static_cast<int>((input.bits() + 4) % 20) + 1);
  kw::PlotView view;
  if (input.bit(options, 6)) view.angleAboutY = 30, view.angleAboutX = -60, view.angleAboutZ = 170;
  if (input.bit(options, 7)) view.viewScale = kw::PlotView::kMaxViewScale;
  kwfuzz::CheckingCanvas canvas;
  kw::Backplot plot(profile, view, canvas);
  plot.Setaxis();
  kw::DxfWriter writer(kw::dxfWriterSettings(profile, plot.dialect()));
  std::string error;
  if (!writer.DxfHeader(kwfuzz::scratchFolder() + "/plot.dxf", &error)) std::abort();
  plot.setCapture(&writer);
  plot.state().DxfCaptureActive = true;
  plot.state().DxfLinesOnly = input.bit(options, 5);
  const std::vector<std::string> lines = kwfuzz::programLines(input.rest());
  try {
    plot.PlotAll(lines, false, true, 0, 0);
  } catch (const kw::NumberNotWritable&) {
    return 0;  // a DXF save stops there and names the number
  }
  if (!lines.empty() && plot.state().labels.caption == "Plot ") std::abort();
  return 0;
}
