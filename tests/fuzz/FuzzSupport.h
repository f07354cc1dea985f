#pragma once
// What the fuzz targets share: the input split into option bits and the rest, the bundled
// default profile, a canvas that only checks the pixels it is handed, and a scratch program
// folder where inputs become files, so that the program's own readers open them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/plot/PlotCanvas.h"
#include "core/profile/MachineProfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace kwfuzz {

// The fuzz input: leading bytes taken as option bits (0 once the input is used up), then the rest.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : bytes_(reinterpret_cast<const char*>(data), size) {}
  unsigned bits();  // one byte
  bool bit(unsigned bits, int n) const { return (bits >> n & 1u) != 0; }
  std::string_view rest() const { return bytes_; }

 private:
  std::string_view bytes_;
};

// Every flag named in `flags` whose bit is set turned over, the first name by bit 0.
void setFlags(kw::MachineProfile& profile, const std::vector<const char*>& flags, unsigned bits);

// The bundled profile kerfwerk.ini, read through the profile loader once.
kw::MachineProfile defaultProfile();

// The scratch folder of this process; the file written there and its path.
std::string scratchFolder();
std::string writeScratch(const std::string& name, std::string_view bytes);
// The bytes as a program file read back by the program's loader; no lines when it refuses them
// (UTF-16 text with characters that do not fit a byte).
std::vector<std::string> programLines(std::string_view bytes);

// The bytes split at every line feed, for routines that take the lines as given.
std::vector<std::string> splitLines(std::string_view bytes);
// N G X Y Z I J K R M in the profile's letters, as "Swap X Y " asks of the geometry tools.
std::function<std::string(std::string_view)> mLastOrder(const kw::MachineProfile& profile);

// Draws nothing; aborts on a pixel beyond the range the interpreter promises its canvases.
class CheckingCanvas : public kw::PlotCanvas {
 public:
  void setPen(kw::Rgb, int) override {}
  void moveTo(int x, int y) override { check(x, y); }
  void lineTo(int x, int y) override { check(x, y); }
  void clear() override {}
  void refresh() override {}
  int width() const override { return 1024; }
  int height() const override { return 768; }

 private:
  static void check(int x, int y) {
    if (std::abs(x) > kw::kMaxCanvasCoordinate || std::abs(y) > kw::kMaxCanvasCoordinate) std::abort();
  }
};

}  // namespace kwfuzz
