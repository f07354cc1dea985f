#pragma once
// What the plot window's keypad and the tools that press its buttons share.
#include "core/app/App.h"
#include "core/geometry/Slide2.h"

namespace kw {

// The settings of a slide run as the plot and setup windows stand now; array mode while the
// array window is open.
SlideSettings slideSettings(App& app);
// The whole program plotted again after a rewrite (once the view settles, with a window).
void replotAfterRewrite(App& app);

}  // namespace kw
