#pragma once
// Cut objects moved about the program: an object is the lines from its cut-on text to its cut-off
// text, widened upwards to just after the nearest line that ends the object before it (a cut-off
// text) or starts its kerf compensation.
#include <string>
#include <vector>

#include "core/profile/Dialect.h"

namespace kw {

// The first line of the object whose cut-on text stands at line `start`: scanning from `start`
// up to line 0, the line after the first line holding the "End Block", "Kerf Comp Left" or
// "Kerf Comp Right" text, its blanks and the line's left out as the plot reads the cut texts.
// When none holds one (the program's first object, without kerf compensation), the object
// takes in the moves right above `start`, the rapid to its start among them, up to a line that
// moves nothing: left behind, moved after another object it would start cutting from there.
int objectFirstLine(const std::vector<std::string>& lines, int start, const Dialect& dialect);

// Moves lines first .. last (counted from 0, cut to the program) into `out`, in order.
void takeLines(std::vector<std::string>& lines, int first, int last, std::vector<std::string>& out);

}  // namespace kw
