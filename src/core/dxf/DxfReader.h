#pragma once
// The DXF conversion: a drawing becomes a G-code program in the dialect of the machine profile.
// The entities of the chosen layer are read into elements, which are then ordered into paths
// and cleaned (path ordering, line compression, incremental centres, plane codes, duplicates).
#include <functional>
#include <string>
#include <vector>

#include "core/dxf/DxfEntityReader.h"
#include "core/dxf/DxfPass.h"
#include "core/text/FileIo.h"

namespace kw {

inline constexpr const char* kReadingDxfCaption = "Reading Dxf";
inline constexpr const char* kNoUsableDataMessage = " No Usable Data found in dxf file ";
inline constexpr const char* kNoLayerCodeMessage = " No Usable Data found in dxf file  Check or Uncheck AutoSketch1";

enum class DxfLoadStatus {
  Converted,     // `program` holds the converted program
  NotOpened,     // the drawing (or the Corel copy) could not be opened or written; told
  NoEntities,    // the drawing has no "ENTITIES" line; told
  NoLayerCode,   // a LINE found no layer code before the end: another flavour; told
  NoUsableData,  // nothing on the chosen layer was converted; told, `program` emptied
  ReadError,     // a value that is not a number, a cut-off drawing or a read error; told
};

// What is left for the caller after LOAD_DXF_FILE returns.
struct DxfLoadResult {
  DxfLoadStatus status = DxfLoadStatus::NotOpened;
  // NoUsableData: the layer log (Memo4) has been shown and the message given; the caller runs
  // "Use Another Layer" (UseAnotherLayer1), then clears the layer log and hides Memo4.
  bool useAnotherLayer = false;
  // Converted with "Run Insert Lines on File Load DXF " (ExecuteInsert) checked: the caller
  // shows the line-insertion window, runs RemoveDup mode 0, presses "Find and Insert", hides
  // the window, runs "Line Order N G M X Y Z I J K R" and RemoveDup mode 0 again.
  bool runInsertLines = false;
  // Converted with "Swap X Y " (SwapXY) checked: the caller then runs "Line Order N G X Y Z I
  // J K R M".
  bool swapLineOrder = false;
};

// Converts the drawing `name`. On Converted, `program` holds the result and the temporary
// files "dxf1.$$$", "newfile.$$$", "temp.$$$" and "unused.$$$" of the program folder are
// deleted; on NoUsableData `program` is emptied; otherwise it is left as it was. `layerLog`
// is Memo4: the three hints and every "Try Layer : " line logged. `showLayerLog` is called
// just before the no-data message, to make Memo4 visible. With "R instead of I J K" checked
// the conversion unchecks "Incremental  Type I J" and checks "Make  I J Circles 4 Quadrants"
// in the profile, and they stay so. Every message goes to context.ui, as do the caption
// "Reading Dxf" (and those of the passes) and the gauge. When entities on a chosen layer were
// left out (a TEXT, a HATCH, a reference to a missing block, ...), the counts of what was
// converted and left out follow the layers in `layerLog`, and a converted drawing tells them in
// one message. When `currentFileName` is given, the
// last pass leaves it in the main window's caption. When `stream` is given, a converted
// program goes there instead of into `program`, which is emptied: its lines, put in the line
// order N G M X Y Z I J K R on the way, as they are kept by the last pass.
DxfLoadResult LOAD_DXF_FILE(const std::string& name, DxfPassContext& context, std::vector<std::string>& program,
                            std::vector<std::string>& layerLog, const std::function<void()>& showLayerLog = {},
                            const std::string* currentFileName = nullptr, LineStream* stream = nullptr);

// The Corel pre-pass: copies the drawing to `output`, adding a 30 (or 31) code line and a
// zero value after every 20 (or 21) value that has none. False with a message when the
// drawing cannot be read or the copy written.
bool AddZtoDXF(const std::string& name, const std::string& output, const GroupCodeSet& codes, std::string* error);

}  // namespace kw
