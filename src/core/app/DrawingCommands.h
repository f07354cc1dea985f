#pragma once
// Drawing with the mouse: what the plot window's image hands over while a drawing mode is on.
#include "core/app/App.h"

namespace kw {

// A press on the image in the drawing mode (a right press also ends the mode): the drawn
// blocks go in before the program's last line.
void drawingPress(App& app, bool rightButton);
// Leaves the drawing mode; the program is plotted again when a mode was on.
void endDrawing(App& app);

}  // namespace kw
