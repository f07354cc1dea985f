// The duplicate removal of a program in the editor, Compress or Super Compress.
#include "core/dxf/CleanupPasses.h"
#include "fuzz/FuzzSupport.h"
#include "support/RecordingPort.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kwfuzz::Input input(data, size);
  const unsigned options = input.bits();
  kw::MachineProfile profile = kwfuzz::defaultProfile();
  kw::RecordingPort port;
  kw::DxfPassContext context{profile, port, kwfuzz::scratchFolder()};
  std::vector<std::string> program = kwfuzz::programLines(input.rest());
  if (input.bit(options, 0))
    kw::SuperCompress(program, context);
  else
    kw::RemoveDup(program, static_cast<int>(options >> 1 & 3u), context);
  return 0;
}
