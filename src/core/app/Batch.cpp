#include "core/app/Batch.h"

#include "core/app/Document.h"
#include "core/app/DxfSave.h"
#include "core/app/ProfileSession.h"
#include "core/dxf/DxfWriter.h"
#include "core/profile/Dialect.h"
#include "core/text/FileIo.h"

namespace kw {

namespace {

constexpr const char* kLineInsertPrefix = "LineInsert.";

// The box number of "Edit0" to "Edit11"; anything else gives a number past the last box.
std::size_t lineInsertBox(const std::string& box) {
  for (std::size_t i = 0; i < 12; ++i)
    if (box == "Edit" + std::to_string(i)) return i;
  return 12;
}

// The plot, array, offset and Drawing windows' edits that --set reaches, by control name.
std::string* windowEdit(App& app, const std::string& control) {
  const std::pair<const char*, std::string*> edits[] = {
      {"CutSpeedEdit", &app.plot.cutSpeed},
      {"RapidSpeedEdit", &app.plot.rapidSpeed},
      {"SlideEdit1", &app.plot.slideDistance},
      {"X_Edit1", &app.plot.sizeFactor},
      {"QtyEdit1", &app.array.verticalQty},
      {"IncrementEdit1", &app.array.verticalIncrement},
      {"HorizQtyEdit1", &app.array.horizontalQty},
      {"HorizontalEdit1", &app.array.horizontalIncrement},
      {"ClearanceEdit1", &app.array.clearance},
      {"OffsetEdit1", &app.offset.offsetText},
  };
  for (auto [name, edit] : edits)
    if (control == name) return edit;
  for (std::size_t i = 0; i < app.drawing.edits.size(); ++i)
    if (control == "Drawing.Edit" + std::to_string(i + 1)) return &app.drawing.edits[i];
  return nullptr;
}

bool setControl(App& app, const std::string& control, const std::string& value) {
  if (std::string* edit = windowEdit(app, control)) {
    *edit = value;
  } else if (control.rfind(kLineInsertPrefix, 0) == 0) {
    const std::string box = control.substr(std::string_view(kLineInsertPrefix).size());
    const std::size_t index = lineInsertBox(box);
    if (index >= app.lineInsertTexts.size()) {
      app.ui.message("Cannot set " + control + ": the line-insertion boxes are Edit0 to Edit11");
      return false;
    }
    app.lineInsertTexts[index] = value;
  } else {
    std::string why;
    if (!app.profile.setFromText(control, value, &why)) {
      app.ui.message("Cannot set " + control + ": " + why);
      return false;
    }
  }
  return true;
}

}  // namespace

bool refusesInputAsOutput(App& app, const std::string& output, const std::string& source, const std::string& profile) {
  for (const std::string& input : {source, profile.empty() ? profile : findProfileFile(app, profile)}) {
    if (sameFile(output, input)) {
      app.ui.message("Cannot write " + output + ": it is one of the input files, so nothing was written.");
      return true;
    }
  }
  return false;
}

int runBatchConversion(App& app, const std::vector<std::string>& args) {
  if (args.empty()) return 0;
  if (args.size() >= 2 && refusesInputAsOutput(app, args[1], args[0], args.size() >= 3 ? args[2] : "")) return 1;
  if (args.size() >= 3) {
    std::string profilePath = findProfileFile(app, args[2]);
    if (!profilePath.empty()) {
      useProfileFile(app, profilePath);
      Savelastini(app);
      LoadLastini(app, profilePath);
    } else {
      app.ui.message(kIniNotFound);
    }
  }
  const std::string& source = args[0];
  if (!fileExists(source)) {
    app.ui.message(kSourceNotFound);
    return 1;
  }
  // A drawing converted straight into an output program is streamed into the file as its lines
  // are made: nothing but the word order and saving follows. Saving it (each line with CR LF
  // after it) leaves the file as saving the program does.
  const std::string outExt = args.size() >= 2 ? upperExtension(args[1]) : std::string();
  const bool streamed = upperExtension(source) == ".DXF" && args.size() >= 2 && outExt != ".SGT" && outExt != ".DXF";
  LineStream stream(args.size() >= 2 ? args[1] : std::string());
  if (!Load_file(app, source, streamed ? &stream : nullptr)) return 1;
  // A source alone is opened to be looked at, exactly as stored; the word order is rewritten
  // only on the way to an output file.
  if (args.size() < 2) {
    app.buffer.modified = false;
    return 0;
  }
  const std::string& output = args[1];
  if (!stream.empty()) {
    std::string error;
    if (!stream.finish(&error)) {
      app.ui.message("Cannot save " + output + ": " + error);
      return 1;
    }
    app.ui.setCaption(WindowId::Plot, output);
    return 0;
  }
  app.commands.run("Main.LineOrderGXYZIJKR1Click", app);

  if (outExt == ".SGT") app.commands.run("Main.ConverttoIncremental1Click", app);
  if (outExt == ".DXF") {
    if (upperExtension(source) == ".PNT") {
      if (!DxfPointFile(app, output)) return 1;
      app.ui.setCaption(WindowId::Plot, output);
      return 0;
    }
    app.ui.message("A .DXF output is written only from a .PNT points file: nothing was written to " + output + ".");
    return 1;
  }
  std::string error;
  if (!writeLinesAtomically(output, app.buffer.lines, &error)) {
    app.ui.message("Cannot save " + output + ": " + error);
    return 1;
  }
  app.ui.setCaption(WindowId::Plot, output);
  return 0;
}

std::vector<std::string> splitCommandList(const std::string& list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (!name.empty()) names.push_back(name);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return names;
}

int runDoCommands(App& app, const DoRequest& request) {
  if (refusesInputAsOutput(app, request.output, request.input, request.profile)) return 1;
  for (const auto& name : request.commands) {
    if (!app.commands.has(name)) {
      app.ui.message(unknownCommandMessage(name));
      return 1;
    }
  }
  if (!request.profile.empty()) {
    const std::string profilePath = findProfileFile(app, request.profile);
    if (profilePath.empty()) {
      app.ui.message(kProfileNotFound + request.profile);
      return 1;
    }
    if (!loadProfileFile(app, profilePath)) return 1;
    useProfileFile(app, profilePath);
    setProfileLabel(app, app.currentProfileName);
  }
  for (const auto& [control, value] : request.sets)
    if (!setControl(app, control, value)) return 1;
  if (!fileExists(request.input)) {
    app.ui.message(kSourceNotFound + std::string(": ") + request.input);
    return 1;
  }
  if (!Load_file(app, request.input)) return 1;
  app.buffer.modified = false;
  if (request.select) app.highlighted = *request.select;
  for (const auto& name : request.commands) app.commands.run(name, app);
  if (request.dxfForm) return saveDxfForm(app, request.output, *request.dxfForm) ? 0 : 1;
  return saveAsTo(app, request.output) ? 0 : 1;
}

}  // namespace kw
