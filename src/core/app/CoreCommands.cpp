#include "core/app/App.h"
#include "core/app/CommandRegistry.h"
#include "core/profile/Dialect.h"
#include "core/profile/Translate.h"
#include "core/texttools/LineInsertion.h"
#include "core/texttools/LineOrder.h"

namespace kw {

namespace {

void lineOrder(App& app, bool mLast) {
  applyLineOrder(app.buffer.lines, mLast, Dialect(app.profile).lettersWithoutBlanks());
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
