#pragma once
// Nesting: the whole program repeated as a row, a column or a grid of shifted copies, each
// copy made by the keypad's slide in array mode (the moved lines appended as a new copy), and
// the nest taken back again.
#include <string>
#include <vector>

#include "core/geometry/Slide2.h"

namespace kw {

// The array window's boxes, as typed, and the state its runs leave behind.
struct ArrayValues {
  std::string verticalQty = "1";              // QtyEdit1, 1 to 999
  std::string verticalIncrement = "1.000";    // IncrementEdit1
  std::string horizontalQty = "1";            // HorizQtyEdit1, 1 to 999
  std::string horizontalIncrement = "1.000";  // HorizontalEdit1
  std::string clearance = "0.200";            // ClearanceEdit1
  // The lines Undo Nest keeps; 0 when there is nothing to undo.
  int undoCount = 0;
  bool gridInProgress = false;  // no end word between the two halves of a grid
  bool keepUndoCount = false;   // the second half of a grid keeps the first half's count
  bool shown = false;           // the window is open: the keypad's slides run in array mode
};

inline constexpr int kMaxArrayQuantity = 999;
inline constexpr double kDefaultIncrement = 1.0;
inline constexpr double kDefaultClearance = 0.2;

// A quantity box: a whole number, limited to 1..999; 1 when it is not a whole number.
int arrayQuantity(const std::string& text);
// An increment or clearance box: `otherwise` when its text is not a number.
double arrayBoxValue(const std::string& text, double otherwise);
// A number written back into a box: fixed-point, 3 decimals, 10 significant digits.
std::string arrayNumber(double value);
// The box after a press on its spin arrows: its value (or `otherwise`) plus `step`.
std::string stepArrayBox(const std::string& text, double step, double otherwise);

enum class ArrayDirection : char { Up = '8', Down = '2', Right = '6', Left = '4' };

// What a run works on: the program and the slide settings of the plot window.
struct ArrayRun {
  std::vector<std::string>& lines;
  SlideSettings settings;  // the distance is set for every copy; array mode is forced on
  UiPort& ui;
};

// A column (Up, Down: vertical quantity and increment) or a row (Right, Left: horizontal ones)
// of copies after the program: copy k is the program as it stood before the first copy, moved
// by k times the increment (as far as the slide takes, 100 at most). The copies carry no
// end word; unless a grid is in progress the program then ends with the file-end text. False
// when the slide refused an incremental program (the copies made so far stay).
bool arrayCopies(ArrayRun& run, ArrayValues& values, ArrayDirection direction);
// A column in `vertical`, then that whole column copied as a row in `horizontal`; Undo Nest
// then takes back both.
bool arrayGrid(ArrayRun& run, ArrayValues& values, ArrayDirection vertical, ArrayDirection horizontal);
// Takes the copies back: the program is cut to the kept lines and ends with the file-end text
// (and the closing tape mark, when it ended with one). False (nothing changed) when there is
// nothing to undo.
bool undoNest(std::vector<std::string>& lines, ArrayValues& values, const Dialect& dialect);
// "Suggest  Increments": the extents of the program plus the clearance, the X extent into the
// vertical increment and the Y extent into the horizontal one.
void suggestIncrements(ArrayValues& values, double xExtent, double yExtent);

}  // namespace kw
