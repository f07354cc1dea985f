#include "core/dxf/DxfReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "core/dxf/CleanupPasses.h"
#include "core/dxf/DxfLineReader.h"
#include "core/dxf/ElementWriter.h"
#include "core/dxf/PathOrdering.h"
#include "core/text/FixedText.h"
#include "core/text/TempFiles.h"

namespace kw {

namespace fs = std::filesystem;

namespace {

// The zero that the Corel pre-pass writes, in the run-time library's default real format.
constexpr std::string_view kCorelZero = " 0.00000000000000E+0000";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string inFolder(const std::string& folder, const std::string& name) { return (fs::path(folder) / name).string(); }

// Deletes the temporary files of the conversion from the program folder, whatever the case of
// their names.
void deleteTemporaryFiles(const std::string& folder) {
  for (const char* name : {kDxf1File, kNewFile, kTempFile, kUnusedFile}) DeleteMyFile(folder, name);
}

// The element file as a conversion that ends without a program leaves it: empty.
void leaveEmptyElementFile(const std::string& folder) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(inFolder(folder, kDxf1File).c_str(), "wb"));
}

std::string noEntitiesMessage(const std::string& name, DxfLineReader& input) {
  input.rewind();
  if (input.next() && input.line().starts_with("AutoCAD Binary DXF"))
    return name + " is a binary DXF file: only text (ASCII) DXF files can be converted";
  return "No ENTITIES section found in " + name;
}

// When a drawing ends inside an entity because its group codes are padded as another flavour
// writes them, the setup option that reads them; "" when the padding is the chosen one's or
// no flavour's.
std::string flavourHint(const std::string& name, const GroupCodeSet& chosen) {
  DxfLineReader input;
  if (!input.open(name, nullptr) || !findEntitiesSection(input)) return {};
  std::string layerCode, pointCode;
  auto trimmed = [](std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : line.substr(first);
  };
  try {
    while ((layerCode.empty() || pointCode.empty()) && input.next()) {
      if (layerCode.empty() && trimmed(input.line()) == "8") layerCode = input.line();
      if (pointCode.empty() && trimmed(input.line()) == "10") pointCode = input.line();
    }
  } catch (const DxfReadError&) {
    return {};
  }
  if (layerCode == chosen.code8 && pointCode == chosen.code10) return {};
  struct Flavour {
    bool ashlar, autosketch, corel;
    const char* option;
  };
  for (const Flavour& f :
       {Flavour{false, false, false, "uncheck \"AutoSketch 1 Dxf\", \"Ashlar Velum\" and \"Corel /TurboCad Dxf\""},
        Flavour{false, true, false, "check \"AutoSketch 1 Dxf\""}, Flavour{true, false, false, "check \"Ashlar Velum\""},
        Flavour{false, false, true, "check \"Corel /TurboCad Dxf\""}}) {
    const GroupCodeSet set = GroupCodeSet::forFlavour(f.ashlar, f.autosketch, f.corel);
    if (set.code8 == layerCode && set.code10 == pointCode)
      return std::string(". Its group codes are padded as another CAD program writes them: ") + f.option +
             " on the setup window to read them";
  }
  return {};
}

// A number that would not read back as itself ends the conversion before it is written.
std::string numberNotWritableMessage(const NumberNotWritable& e, const std::string& where) {
  const std::string text = e.what();
  if (text.find('E') == std::string::npos)  // an infinity or NaN: a scale or offset took it there
    return "Number too large to write in " + where + ": it is past the range of numbers (see the scale settings)";
  return "Number too large to write in " + where + ": " + text + " has more than 7 digits before the point";
}

}  // namespace

bool AddZtoDXF(const std::string& name, const std::string& output, const GroupCodeSet& codes, std::string* error) {
  DxfLineReader input;
  std::string reason;
  if (!input.open(name, &reason)) {
    if (error) *error = "Cannot open " + name + ": " + reason;
    return false;
  }
  std::vector<char> buffer(1 << 20);
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(output.c_str(), "wb"));
  if (!out) {
    if (error) *error = "Cannot create " + output + ": " + std::strerror(errno);
    return false;
  }
  std::setvbuf(out.get(), buffer.data(), _IOFBF, buffer.size());
  auto put = [&out](std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), out.get());
    std::fwrite("\r\n", 1, 2, out.get());
  };
  try {
    const std::string* missing = nullptr;  // the 30 or 31 code due after the last 20 or 21 value
    int count = 0;
    while (input.next()) {
      const std::string_view line = input.line();
      if (missing && ++count == 2) {
        if (line != *missing) {
          put(*missing);
          put(kCorelZero);
        }
        missing = nullptr;
      }
      if (line == codes.code20) {
        missing = &codes.code30;
        count = 0;
      } else if (line == codes.code21) {
        missing = &codes.code31;
        count = 0;
      }
      put(line);
    }
  } catch (const DxfReadError& e) {
    if (error) *error = e.what();
    return false;
  }
  const bool flushed = std::fflush(out.get()) == 0 && !std::ferror(out.get());
  const int flushErrno = errno;
  const bool closed = std::fclose(out.release()) == 0;
  if (!flushed || !closed) {
    if (error) *error = "Cannot write " + output + ": " + std::strerror(flushed ? errno : flushErrno);
    return false;
  }
  return true;
}

DxfLoadResult LOAD_DXF_FILE(const std::string& name, DxfPassContext& context, std::vector<std::string>& program,
                            std::vector<std::string>& layerLog, const std::function<void()>& showLayerLog,
                            const std::string* currentFileName, LineStream* stream) {
  MachineProfile& profile = context.profile;
  UiPort& ui = context.ui;
  DxfLoadResult result;
  auto fail = [&](DxfLoadStatus status, const std::string& message) {
    ui.setBusy(false);
    ui.hideProgress();
    ui.message(message);
    result.status = status;
    return result;
  };

  const ConversionSettings settings = ConversionSettings::read(profile);
  const GroupCodeSet codes = GroupCodeSet::of(profile);
  if (profile.flag("RCheckbox")) {
    profile.setFlag("Bridgeport", false);
    profile.setFlag("IJFOURQUAD", true);
  }
  layerLog = layerLogHints();

  std::string source = name;
  if (profile.flag("Corel")) {
    source = inFolder(context.programFolder, kNewDxfFile);
    std::string error;
    if (!AddZtoDXF(name, source, codes, &error)) return fail(DxfLoadStatus::NotOpened, error);
  }
  DxfLineReader input;
  std::string reason;
  if (!input.open(source, &reason)) return fail(DxfLoadStatus::NotOpened, "Cannot open " + source + ": " + reason);

  ui.showProgress(1, 100, false);
  ui.setCaption(WindowId::Main, kReadingDxfCaption);
  input.onProgress = [&ui](int percent) { ui.showProgress(std::max(1, percent), 100, false); };

  PassLines elements;
  PointList points(0, false);  // the elements' points, which the path ordering need not read again
  std::vector<std::string> report;
  // Room for one element line per 3 bytes of drawing spares the lines' places the copies of their
  // growth (a drawing full of ellipses may need more, and they then grow as they must); room
  // reserved and never written takes no memory.
  std::error_code sizeError;
  const std::uintmax_t drawingBytes = fs::file_size(source, sizeError);
  if (!sizeError) {
    const auto lines = static_cast<std::size_t>(std::min<std::uintmax_t>(drawingBytes / 3, 1u << 25));
    elements.reserve(lines);
    points.reserve(lines);
  }
  try {
    const DxfReadOutcome outcome = readDxfElements(input, profile, codes, settings, elements, layerLog, &points);
    // What the drawing holds and the conversion leaves out is told after the layers.
    layerLog.insert(layerLog.end(), outcome.report.begin(), outcome.report.end());
    report = outcome.report;
    if (outcome.status == DxfReadStatus::NoEntities) {
      const std::string message = noEntitiesMessage(name, input);
      input.close();
      leaveEmptyElementFile(context.programFolder);
      return fail(DxfLoadStatus::NoEntities, message);
    }
    input.close();
    if (outcome.status == DxfReadStatus::NoLayerCode) {
      leaveEmptyElementFile(context.programFolder);
      return fail(DxfLoadStatus::NoLayerCode, kNoLayerCodeMessage);
    }
    if (outcome.noDataFound) {
      leaveEmptyElementFile(context.programFolder);
      if (showLayerLog) showLayerLog();
      fail(DxfLoadStatus::NoUsableData, kNoUsableDataMessage);
      program.clear();
      result.useAnotherLayer = true;
      return result;
    }
  } catch (const DxfEndedInsideEntity& e) {
    input.close();
    return fail(DxfLoadStatus::ReadError, e.what() + flavourHint(name, codes));
  } catch (const DxfReadError& e) {
    input.close();
    return fail(DxfLoadStatus::ReadError, e.what());
  } catch (const NumberNotWritable& e) {
    const std::string where = input.path() + ", line " + std::to_string(input.lineNumber());
    input.close();
    return fail(DxfLoadStatus::ReadError, numberNotWritableMessage(e, where));
  }

  ui.showProgress(100, 100, true);
  // Each pass takes the lines of the one before over.
  try {
    PassLines pass = SORTOUT3(std::move(elements), context, nullptr, &points);
    elements = PassLines();
    if (profile.flag("VectorCheckBox2")) pass = CrunchLines(std::move(pass), context);
    if (profile.flag("Bridgeport")) pass = CONVERTBRIDGEPORT2(std::move(pass), context);
    pass = AddPlaneCodes2(std::move(pass), context);
    // A program streamed is one on its way to a file, in the line order N G M X Y Z I J K R.
    PassLines kept = RemoveDup2(std::move(pass), context, currentFileName, stream != nullptr, stream);
    program.clear();
    if (!stream) {
      // Each block of texts goes once its last line is a string: the kept lines share the texts
      // of every pass before them.
      program.reserve(kept.size());
      kept.consume([&program](std::string_view line, std::size_t) { program.emplace_back(line); });
    }
  } catch (const NumberNotWritable& e) {
    return fail(DxfLoadStatus::ReadError, numberNotWritableMessage(e, "the program of " + name));
  }
  ui.hideProgress();
  deleteTemporaryFiles(context.programFolder);
  if (!report.empty()) {
    std::string text;
    for (const std::string& line : report) text += (text.empty() ? "" : "\n") + line;
    ui.message(text);
  }

  result.status = DxfLoadStatus::Converted;
  result.runInsertLines = profile.flag("ExecuteInsert");
  result.swapLineOrder = profile.flag("SwapXY");
  return result;
}

}  // namespace kw
