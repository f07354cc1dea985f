#pragma once
// The DXF save commands of the main and plot windows and of the headless --do.
#include <optional>
#include <string>
#include <string_view>

namespace kw {

struct App;

// The three forms of DXF output.
enum class DxfForm { CirclesArcsLines, LinesOnly, PointsOnly };

// "arcs", "lines" or "points" (the headless --dxf-form values); nothing for anything else.
std::optional<DxfForm> parseDxfForm(std::string_view text);

// Save As with a ".DXF" name: "Show XYZ" off, DxfCaptureActive set, the header, the whole
// program plotted once into the writer, the footer, the flag cleared, "Show XYZ" on.
// DxfLinesOnly is honoured as it stands. CurrentFileName and the title do not change.
// False (the user told why) when nothing was written; a plot stopped with Esc writes
// nothing.
bool saveDxfCapture(App& app, const std::string& name);

// The header, GetXYs over the program with the profile's X and Y letters, the footer.
bool DxfPointFile(App& app, const std::string& name);

// The menu commands once a name was chosen.
// "Save As DXF Circles, Arcs,Lines": Save As to the name (a name that is not ".DXF" saves
// the text there, as Save As does).
bool saveAsDxfCirclesArcsLines(App& app, const std::string& name);
// "Save As DXF Lines Only Simple": the same with DxfLinesOnly set for the save.
bool saveAsDxfLinesOnly(App& app, const std::string& name);
// "Save As DXF Points only ( Special )": a ".DXF" name gets the points file and the
// modified flag is cleared; any other name becomes CurrentFileName and the title, and
// nothing is written (the result is false then).
bool saveAsDxfPointsOnly(App& app, const std::string& name);

// The same commands with their save dialogs. The dialogs cannot add a default extension,
// so a chosen name without one gets ".DXF" here.
void SaveasDXF1Click(App& app);
void SaveAsDXFLinesOnly1Click(App& app);
void SaveAsDXFPointsonlySpecial1Click(App& app);

// The headless form: the given form written to a ".DXF" name; any other name is refused
// and nothing is written.
bool saveDxfForm(App& app, const std::string& name, DxfForm form);

}  // namespace kw
