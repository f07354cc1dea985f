#pragma once
// The clean-up passes after path ordering: collinear lines merged, arc centres made
// incremental, plane codes added, duplicates removed; Compress and Super Compress.
// Each pass takes the lines of the previous pass and returns its own output.
#include <string>
#include <string_view>
#include <vector>

#include "core/dxf/DxfPass.h"
#include "core/profile/LabelRows.h"

namespace kw {

class LineStream;

// Drops straight elements that go on in the direction of the element before them ("Line comp",
// tolerance "Vector Error Deg" (VectorErr), 0.5 degrees when invalid); the next element's start
// line then covers the dropped piece. Arcs are never dropped, and neither is the first element
// of a path. When the dropped run ends a path, it is written as one element from the start of
// its first piece to the end of its last, so the path keeps its end point.
// Each pass takes its input lines by value: a conversion hands each pass's output on to the next
// with std::move, and the input's memory goes when the pass ends.
PassLines CrunchLines(PassLines in, DxfPassContext& context);

// Arc centre words made relative to the arc's start point ("Incremental  Type I J").
PassLines CONVERTBRIDGEPORT2(PassLines in, DxfPassContext& context);

// One arc line: the arc word of the ArcCw or ArcCcw row, then X, Y, Z, I, J, K, R and the extra
// text, each after one space; a field is empty when its `has` flag is false (Z also without
// "Z Included", R also without "R instead of I J K"). Numbers with 7 significant digits and the
// profile's decimal places.
struct ArcWords {
  float x = 0, y = 0, z = 0, i = 0, j = 0, k = 0, r = 0;
  bool hasI = false, hasJ = false, hasK = false, hasR = false;
};
std::string BUILDARC2(const ArcWords& words, const std::string& extra, LabelRow row, const MachineProfile& profile);

// The opening lines (File Start twice, LabelTable rows 23 to 26), the plane words before arcs
// when "Z Included" is checked, the EditLine before every path when a lead-in option is checked,
// and the closing lines (rows 74 to 78) before File End. A row naming an existing file (an
// absolute path, or one relative to the program folder or to the current folder) inserts the
// file's lines instead of the text.
PassLines AddPlaneCodes2(PassLines in, DxfPassContext& context);

// Appends the lines of a text file, and one line holding a blank when their number is even.
// False (nothing appended) when the file cannot be read; `error` then says why.
bool insertfile(const std::string& path, PassLines& out, std::string* error = nullptr);

// The final pass: R or I J K as the profile wants, every line in word order G M N X Y Z I J R K,
// and lines that repeat the position before them, or the line before them, removed. When
// `currentFileName` is given, the main window's caption shows it at the end. With
// `lineOrder`, each kept line is then put in the word order N G M X Y Z I J K R, as "Line Order
// N G M X Y Z I J K R" puts it (LineOrderer), on the way out. With `stream`, the kept lines
// go there instead, each as soon as the lines before it are kept, and none is returned.
PassLines RemoveDup2(PassLines in, DxfPassContext& context, const std::string* currentFileName = nullptr,
                     bool lineOrder = false, LineStream* stream = nullptr);

// The duplicate removal of the program in the editor: mode 0 (Compress) removes blank lines,
// lines that repeat the position before them and consecutive duplicates; mode 1 (Super
// Compress) also removes every X, Y or Z word that repeats the line before it. Any other mode
// works as mode 0. Returns true when the program's first line carries the incremental word
// (LabelTable row 7): the caller then sets the interpreter to incremental mode.
bool RemoveDup(std::vector<std::string>& program, int mode, DxfPassContext& context);

// The Compress command: RemoveDup in mode 0. Returns what RemoveDup returns.
bool Compress(std::vector<std::string>& program, DxfPassContext& context);

// The Super Compress command: a program holding the incremental word anywhere is refused with
// kIncrementalRefusal (and false is returned); otherwise RemoveDup in mode 1 and true.
bool SuperCompress(std::vector<std::string>& program, DxfPassContext& context);

}  // namespace kw
