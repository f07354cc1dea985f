#pragma once
// The program's command line: the batch conversion, --do, --report, --png, --help and
// --version, and when to open the program window instead.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/plot/PlotCanvas.h"

namespace kw {

// An image the plot is drawn on for --png, and its PNG file.
class ImageOutput {
 public:
  virtual ~ImageOutput() = default;
  virtual PlotCanvas& canvas() = 0;
  // The image encoded as a PNG file; empty when it cannot be encoded.
  virtual std::string pngBytes() = 0;
};

// What the command line needs from the windowing side.
struct CommandLineHooks {
  // Makes a blank image of the given size.
  std::function<std::unique_ptr<ImageOutput>(int width, int height)> makeImage;
  // Opens the program window on the program folder with the arguments and runs it to its
  // end; returns the exit status.
  std::function<int(const std::string& folder, const std::vector<std::string>& args)> openWindow;
  // Ends the process as soon as a headless conversion, report, picture or command run has
  // written its output, without freeing what the run held: the system takes a process's memory
  // back at once, where freeing the millions of lines of a large program one by one takes a
  // noticeable part of the run. The program sets it; a caller that goes on after the run does not.
  bool endProcessWhenDone = false;
};

// Runs the program for the arguments (without the program's own name) and returns its exit
// status: 0 done, 1 stopped on an error (the user was told why), 2 a wrong command line.
int runCommandLine(const std::vector<std::string>& args, const CommandLineHooks& hooks);

}  // namespace kw
