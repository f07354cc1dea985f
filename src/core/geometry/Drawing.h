#pragma once
// Drawing with the mouse on the plot: straight lines, clockwise and counter-clockwise arcs and
// full circles added to the end of the program, and the numbers the Drawing window shows while
// the move is drawn.
#include <array>
#include <string>
#include <vector>

#include "core/profile/Dialect.h"

namespace kw {

enum class DrawMode { None, Line, CwArc, CcwArc, CwCircle, CcwCircle };

inline bool drawsArc(DrawMode mode) { return mode == DrawMode::CwArc || mode == DrawMode::CcwArc; }
inline bool drawsCircle(DrawMode mode) { return mode == DrawMode::CwCircle || mode == DrawMode::CcwCircle; }
inline bool counterClockwise(DrawMode mode) { return mode == DrawMode::CcwArc || mode == DrawMode::CcwCircle; }

// The Drawing window's edits Edit1 .. Edit8, its side label and the plot window's mode.
struct DrawingValues {
  enum Edit : std::size_t { Vector, Radius, IncX, IncY, EndX, EndY, AbsX, AbsY, kEdits };
  std::array<std::string, kEdits> edits{"0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00"};
  std::string side = "=";  // Label12: ">" for an arc over a half turn, "<" for one under
  DrawMode mode = DrawMode::None;
  int clicks = 0;  // presses on the image since the mode began
};

// The Drawing window's caption in a mode ("Drawing" without one).
const char* drawingCaption(DrawMode mode);
// The labels of Edit1 .. Edit8 for the dialect's letters.
std::array<std::string, DrawingValues::kEdits> drawingLabels(const Dialect& dialect);

// Where the plot stands: an image pixel (horizontal, vertical) is the program point
// ((vertical - vertical origin) / PlotScale times the X sign, (horizontal - horizontal origin) /
// PlotScale times the Y sign); the X axis runs down the image.
struct DrawingView {
  double plotScale = 1.0;
  int horizontalOrigin = 0, verticalOrigin = 0;
  int xSign = 1, ySign = 1;
  int decimals = 3;
};

struct Pixel {
  int x = 0, y = 0;  // horizontal, vertical
};

// A number the Drawing window shows and the drawn blocks carry: fixed-point, 6 significant
// digits, `decimals` decimals.
std::string drawnNumber(double value, int decimals);

// The read-out while the mouse moves: the rubber line runs from `anchor` (the centre of an arc
// or circle, the last pressed point for lines) to `mouse`. Its direction is measured from the
// image's right (the program's Y axis) turning down the image (towards X), 0 to 360 degrees.
// Before the first press of an arc or circle, and always for lines, the radius, the anchor
// and the radius vector follow; after it the end point follows, at the fixed radius of an arc
// or the radius the rubber line has for a circle, and the side label of an arc.
void followMouse(DrawingValues& values, const DrawingView& view, Pixel anchor, Pixel mouse);

// ">" when the arc from the first direction to the second goes over a half turn, "<" otherwise.
std::string arcSide(double firstDirection, double secondDirection, bool counterClockwise);

// What a drawn block needs from the setup window.
struct DrawingOptions {
  int decimals = 3;
  bool rInsteadOfIJ = false;   // "R instead of I J K"
  bool incrementalIJ = false;  // "Incremental  Type I J"
  bool circleLeadIn = false;   // "Circle Line  Lead In + Edit Line" or "Circle Arc Leadin + Edit line"
};

// The block of a drawn line: X letter, Edit7, a space, Y letter, Edit8.
std::string drawnLine(const DrawingValues& values, const Dialect& dialect);
// The arc block of the values: arc code, end point, centre (the anchor, or the radius vector
// for incremental centres) or R (negative over a half turn), each word followed by a space.
std::string drawnArc(const DrawingValues& values, const Dialect& dialect, const DrawingOptions& options);
// A full circle about the anchor: a straight move to its point at the centre's X on the far
// Y side, then four quarter arcs back to it; with a lead-in, a straight lead from the centre
// between the cut-off and cut-on texts, and back to the centre after it.
std::vector<std::string> drawnCircle(const DrawingValues& values, const Dialect& dialect,
                                     const DrawingOptions& options);

// A press on the image in the drawing mode: the blocks to insert, and whether the mode ends.
// A line is drawn on every press; an arc or circle takes its radius from the first press and
// is written at the second. A right press ends the mode.
struct DrawingPress {
  std::vector<std::string> blocks;
  bool ends = false;
};
DrawingPress pressOnImage(DrawingValues& values, const Dialect& dialect, const DrawingOptions& options,
                          bool rightButton);

// Inserts blocks before the lines that end the program (its last line, and the end word before a
// closing tape mark), so a program that ends with its file-end line keeps it last.
void insertBeforeEnd(std::vector<std::string>& lines, const std::vector<std::string>& blocks, const Dialect& dialect);

}  // namespace kw
