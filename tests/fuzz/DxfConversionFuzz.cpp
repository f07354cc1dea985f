// A whole DXF conversion: the drawing is read and goes through every pass, in the flavour and
// with the options of the input's first two bytes, on the layer "0" or on every layer.
#include "core/dxf/DxfReader.h"
#include "fuzz/FuzzSupport.h"
#include "support/RecordingPort.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kwfuzz::Input input(data, size);
  kw::MachineProfile profile = kwfuzz::defaultProfile();
  kwfuzz::setFlags(profile,
                   {"Corel", "Autosketch", "Ashlar", "RCheckbox", "IncludeZCheckBox", "Bridgeport", "VectorCheckBox2",
                    "CircleCheckBox"},
                   input.bits());
  const unsigned more = input.bits();
  kwfuzz::setFlags(profile,
                   {"ArcleadinCheckBox", "LineArcleadinCheckBox", "ArcinLineOutCheckBox", "DesignCad", "IJFOURQUAD",
                    "EditOnlyCheckBox", "SwapYZ"},
                   more);
  profile.setText("EditLayer", input.bit(more, 7) ? "*" : "0");
  kw::RecordingPort port;
  kw::DxfPassContext context{profile, port, kwfuzz::scratchFolder()};
  std::vector<std::string> program, layerLog;
  kw::LOAD_DXF_FILE(kwfuzz::writeScratch("drawing.dxf", input.rest()), context, program, layerLog);
  return 0;
}
