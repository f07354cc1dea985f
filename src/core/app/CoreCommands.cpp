#include "core/app/App.h"
#include "core/app/CommandRegistry.h"
#include "core/text/BlockScanner.h"
#include "core/profile/Translate.h"
#include "core/texttools/LineInsertion.h"
#include "core/texttools/LineOrder.h"

namespace kw {

namespace {

std::string withoutSpaces(const std::string& text) { return StripChar('A', ' ', text); }

BlockLetters lettersOf(const MachineProfile& p) {
  BlockLetters letters;
  letters.n = withoutSpaces(p.cell(12, 1));
  letters.r = withoutSpaces(p.cell(13, 1));
  letters.i = withoutSpaces(p.cell(14, 1));
  letters.j = withoutSpaces(p.cell(15, 1));
  letters.k = withoutSpaces(p.cell(16, 1));
  letters.x = withoutSpaces(p.cell(17, 1));
  letters.y = withoutSpaces(p.cell(18, 1));
  letters.z = withoutSpaces(p.cell(19, 1));
  letters.commentStart = p.cell(70, 1);
  letters.commentEnd = p.cell(71, 1);
  return letters;
}

void lineOrder(App& app, bool mLast) {
  applyLineOrder(app.buffer.lines, mLast, lettersOf(app.profile));
  app.buffer.modified = true;
}

void translate(App& app, int first, int last) {
  translateLines(app.buffer.lines, app.profile, first, last);
}

}  // namespace

void registerCoreCommands(CommandRegistry& registry) {
  registry.add("Main.LineOrderGXYZIJKR1Click", "Line Order N G M X Y Z I J K R",
               [](App& app) { lineOrder(app, false); });
  registry.add("Main.LineOrderXYZIJKRM1Click", "Line Order N G X Y Z I J K R M",
               [](App& app) { lineOrder(app, true); });
  registry.add("DecimalAscii.Button1Click", "Find and Insert", [](App& app) {
    if (findAndInsert(app.buffer.lines, app.lineInsertTexts) > 0) app.buffer.modified = true;
  });
  registry.add("Main.Translate1Click", "Translate Using table from setup window",
               [](App& app) { translate(app, kTranslateFirstRow, kTranslateLastRow); });
  registry.add("Main.SpeedButton16Click", "Translate using first half of table lines 30-49",
               [](App& app) { translate(app, kTranslateFirstRow, kTranslateMiddleRow); });
  registry.add("Main.SpeedButton17Click", "Translate using second half of table lines 50-69",
               [](App& app) { translate(app, kTranslateMiddleRow, kTranslateLastRow); });
}

}  // namespace kw
