#include "core/app/Document.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "core/app/AppFixture.h"
#include "core/text/FileIo.h"
#include "core/text/TempFiles.h"

namespace kw {
namespace {

using kwtest::AppFixture;
using kwtest::readFile;

TEST(DocumentLoad, TitleAndNamesFollowTheLoadedFile) {
  struct Case {
    std::string file, content;
    bool loaded;
    std::string title, dialogName;
  };
  const std::string untitled = "Kerfwerk - [Untitled]";
  const Case cases[] = {
      {"part.nc", "G00 X1\n", true, "part.nc", " "},
      {"empty.nc", "", true, untitled, ""},
      {"PART.DXF", "0\nEOF\n", false, untitled, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    AppFixture f;
    EXPECT_EQ(Load_file(*f.app, f.dir.write(c.file, c.content)), c.loaded);
    EXPECT_EQ(f.app->title, c.title);
    EXPECT_EQ(f.app->currentFileName, c.title == untitled ? "" : f.dir.file(c.file));
    EXPECT_EQ(f.app->openDialogFileName, c.dialogName);
    EXPECT_EQ(f.port.lastCaption(WindowId::Main), c.title);
  }
}

// Newest first, each file once, eight at most, kept in the last-use file as it changes; a file
// that is gone is taken off with a message; a batch run keeps no list.
TEST(DocumentLoad, RecentFiles) {
  AppFixture f;
  f.app->remembersRecentFiles = true;
  std::vector<std::string> paths;
  for (int i = 1; i <= 9; ++i) paths.push_back(f.dir.write("p" + std::to_string(i) + ".nc", "G00 X1\n"));
  for (const auto& p : paths) Load_file(*f.app, p);
  Load_file(*f.app, paths[4]);
  EXPECT_TRUE(saveAsTo(*f.app, f.dir.file("saved.nc")));
  const std::vector<std::string> expected = {f.dir.file("saved.nc"), paths[4], paths[8], paths[7],
                                             paths[6], paths[5], paths[3], paths[2]};
  EXPECT_EQ(f.app->recentFiles, expected);
  EXPECT_NE(readFile(f.home("LastIni.ini")).find("File1=" + expected[0]), std::string::npos);

  std::filesystem::remove(paths[8]);
  openRecentFile(*f.app, 2);
  EXPECT_EQ(f.port.messages, std::vector<std::string>{"Cannot open " + paths[8] +
                                                       ": the file is no longer there. It was taken off the recent files."});
  EXPECT_EQ(f.app->recentFiles.size(), 7u);
  openRecentFile(*f.app, 6);
  EXPECT_EQ(f.app->currentFileName, paths[2]);
  EXPECT_EQ(f.app->recentFiles.front(), paths[2]);

  AppFixture batch;
  Load_file(*batch.app, paths[0]);
  EXPECT_TRUE(batch.app->recentFiles.empty());
  EXPECT_FALSE(fileExists(batch.home("LastIni.ini")));
}

TEST(DocumentLoad, DrawingWithoutEntitiesIsReportedAndClearsTheTemporaryFiles) {
  AppFixture f;
  for (const char* name : {"dxf1.$$$", "NEWFILE.$$$", "temp.$$$", "UNUSED.$$$", "NewDXF.$$$"}) f.writeHome(name, "x");
  f.app->buffer.lines = {"old"};
  f.app->backplot.state().labels.caption = "Cut 1.000  Rapid 2.000  Total Distance 3.000";
  std::string path = f.dir.write("part.dxf", "0\nEOF\n");
  EXPECT_FALSE(Load_file(*f.app, path));
  EXPECT_TRUE(f.app->buffer.lines.empty());
  EXPECT_EQ(f.app->backplot.state().labels.caption, "Plot ");  // the old program's totals go too
  ASSERT_EQ(f.port.messages.size(), 1u);
  EXPECT_EQ(f.port.messages[0], "No ENTITIES section found in " + path);
  for (const char* name : {"dxf1.$$$", "NEWFILE.$$$", "temp.$$$", "UNUSED.$$$"})
    EXPECT_FALSE(fileExists(f.home(name))) << name;
  EXPECT_TRUE(fileExists(f.home("NewDXF.$$$")));
}

TEST(DocumentLoad, UnreadableFileGivesTheSystemReasonAndAnEmptyBuffer) {
  AppFixture f;
  f.app->buffer.lines = {"old"};
  EXPECT_FALSE(Load_file(*f.app, f.dir.file("missing.nc")));
  EXPECT_TRUE(f.app->buffer.lines.empty());
  ASSERT_EQ(f.port.messages.size(), 1u);
  EXPECT_EQ(f.port.messages[0], "Cannot open " + f.dir.file("missing.nc") + ": No such file or directory");
  EXPECT_FALSE(Load_file(*f.app, f.dir.path().string()));
  EXPECT_EQ(f.port.messages[1], "Cannot open " + f.dir.path().string() + ": Is a directory");
}

TEST(DocumentSave, QuestionsAndWhatIsWritten) {
  struct Case {
    const char* name;
    bool haveName, targetExists;
    std::optional<Answer> answer;     // to "Overwrite <target> "
    std::optional<std::string> pick;  // Save As runs when there is no name
    bool written;
  };
  const Case cases[] = {
      {"no name runs Save As", false, false, {}, "chosen.nc", true},
      {"no name, dialog cancelled", false, false, {}, std::nullopt, false},
      {"existing file, Yes", true, true, Answer::Yes, {}, true},
      {"existing file, No", true, true, Answer::No, {}, false},
      {"new file, no question", true, false, {}, {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AppFixture f;
    std::string target = f.dir.file(c.haveName ? "target.nc" : "chosen.nc");
    if (c.targetExists) f.dir.write("target.nc", "old");
    if (c.haveName) f.app->currentFileName = target;
    f.app->buffer.lines = {"G1"};
    f.app->buffer.modified = true;
    if (c.answer) f.port.answers = {*c.answer};
    if (!c.haveName) f.port.picks = {c.pick ? std::optional(f.dir.file(*c.pick)) : std::nullopt};
    Save1Click(*f.app);
    EXPECT_EQ(f.port.questions,
              c.answer ? std::vector<std::string>{"Overwrite " + target + " "} : std::vector<std::string>{});
    EXPECT_EQ(f.port.dialogs.size(), c.haveName ? 0u : 1u);
    EXPECT_EQ(readFile(target), c.written ? "G1\r\n" : c.targetExists ? "old" : "");
    EXPECT_EQ(f.app->buffer.modified, !c.written);
    EXPECT_EQ(f.port.beeps, c.written ? 1 : 0);
    EXPECT_EQ(f.port.lastCaption(WindowId::Plot), c.written ? "Saved & Archive bit set: " + target : "");
  }
}

TEST(DocumentSave, SaveAsSetsNameAndTitleButDxfKeepsThem) {
  AppFixture f;
  f.app->buffer.lines = {"G1 X1"};
  f.app->currentFileName = "old.nc";
  f.app->title = "old.nc";
  SaveAs1Click(*f.app);  // cancelled
  ASSERT_EQ(f.port.dialogs.size(), 1u);
  EXPECT_EQ(f.port.dialogs[0].title, "Save As old.nc");
  EXPECT_EQ(f.port.dialogs[0].filters,
            (std::vector<std::string>{"All Files (*.*)", "Dxf Files(*.dxf)", "Text Files (*.txt)"}));
  // A DXF name writes the plot as a drawing; the document keeps its name and title.
  EXPECT_TRUE(saveAsTo(*f.app, f.dir.file("part.DXF")));
  EXPECT_TRUE(fileExists(f.dir.file("part.DXF")));
  EXPECT_EQ(f.app->currentFileName, "old.nc");
  EXPECT_EQ(f.app->title, "old.nc");

  EXPECT_TRUE(saveAsTo(*f.app, f.dir.file("sub.nc")));
  EXPECT_EQ(f.app->currentFileName, f.dir.file("sub.nc"));
  EXPECT_EQ(f.app->title, "sub.nc");
  EXPECT_EQ(readFile(f.dir.file("sub.nc")), "G1 X1\r\n");
}

TEST(DocumentQuestions, AskedOnlyForModifiedWorkOfMoreThanOneLine) {
  struct Case {
    std::vector<std::string> lines;
    bool modified;
    int arguments;
    bool asked;
  };
  const Case cases[] = {
      {{"G1"}, true, 0, false},
      {{"G1", "G2"}, true, 0, true},
      {{"G1", "G2"}, false, 0, false},
      {{"G1", "G2"}, true, 2, true},  // batch arguments: closing does not ask
  };
  for (const auto& c : cases) {
    for (int command = 0; command < 3; ++command) {
      SCOPED_TRACE(std::to_string(c.lines.size()) + " lines, arguments " + std::to_string(c.arguments) + ", command " +
                   std::to_string(command));
      AppFixture f;
      f.app->buffer.lines = c.lines;
      f.app->buffer.modified = c.modified;
      f.app->argumentCount = c.arguments;
      bool asksHere = c.asked && !(command == 2 && c.arguments >= 2);
      if (command == 0) New1Click(*f.app);
      if (command == 1) FileOpenClick(*f.app);
      if (command == 2) {
        EXPECT_TRUE(FormCloseQuery(*f.app));  // answered No, or not asked
      }
      EXPECT_EQ(f.port.questions,
                asksHere ? std::vector<std::string>{"File has been modified. Save file?"} : std::vector<std::string>{});
      if (command < 2 && asksHere) {
        EXPECT_EQ(f.port.hidden, (std::vector<WindowId>{WindowId::Offset, WindowId::Array}));
      }
    }
  }
}

TEST(DocumentNew, KeepsTheFileNameSoSaveAsksAboutOverwriting) {
  AppFixture f;
  std::string path = f.dir.write("part.nc", "G1\r\nG2\r\n");
  ASSERT_TRUE(Load_file(*f.app, path));
  New1Click(*f.app);
  EXPECT_TRUE(f.app->buffer.lines.empty());
  EXPECT_EQ(f.app->title, "Kerfwerk - [Untitled]");
  EXPECT_EQ(f.app->openDialogFileName, "");
  EXPECT_EQ(f.app->currentFileName, path);
  f.port.answers = {Answer::No};
  Save1Click(*f.app);
  EXPECT_EQ(f.port.questions, (std::vector<std::string>{"Overwrite " + path + " "}));
  EXPECT_EQ(readFile(path), "G1\r\nG2\r\n");
}

TEST(DocumentOpen, ClearsModifiedEvenWhenCancelledAndRemembersTheFolder) {
  AppFixture f;
  f.app->buffer.lines = {"G1"};
  f.app->buffer.modified = true;
  f.port.picks = {std::nullopt};
  FileOpenClick(*f.app);
  EXPECT_FALSE(f.app->buffer.modified);
  EXPECT_EQ(f.app->buffer.lines, (std::vector<std::string>{"G1"}));
  ASSERT_EQ(f.port.dialogs.size(), 1u);
  EXPECT_EQ(f.port.dialogs[0].filters,
            (std::vector<std::string>{"All Files (*.*)", "Autocad Dxf files (*.DXF)", "Text files (*.TXT)"}));

  f.port.picks = {f.dir.write("b.nc", "G2\n")};
  FileOpenClick(*f.app);
  EXPECT_EQ(f.app->buffer.lines, (std::vector<std::string>{"G2"}));
  // A file opened otherwise (the command line, a drop) sets where the next Open starts.
  std::filesystem::create_directories(f.dir.file("parts"));
  Load_file(*f.app, f.dir.write("parts/c.nc", "G3\n"));
  FileOpenClick(*f.app);
  ASSERT_EQ(f.port.dialogs.size(), 3u);
  EXPECT_EQ(f.port.dialogs[2].folder, f.dir.file("parts"));
}

TEST(DocumentTempFiles, SetupMyFileChainsThePasses) {
  AppFixture f;
  f.writeHome("NEWFILE.$$$", "pass one\n");
  f.writeHome("DXF1.$$$", "stale\n");
  PassFiles files;
  ASSERT_TRUE(SetupMyFile(f.app->folder, f.app->ui, files));
  char line[64] = {};
  ASSERT_NE(std::fgets(line, sizeof line, files.input), nullptr);
  EXPECT_STREQ(line, "pass one\n");
  std::fputs("pass two\n", files.output);
  files.close();
  EXPECT_EQ(readFile(f.home("NEWFILE.$$$")), "pass two\n");
  EXPECT_TRUE(f.port.messages.empty());

  // Nothing to rename: the problem is reported and the pass goes on with an empty input.
  std::filesystem::remove(f.home("NEWFILE.$$$"));
  PassFiles again;
  EXPECT_FALSE(SetupMyFile(f.app->folder, f.app->ui, again));
  EXPECT_EQ(f.port.messages.front(), "Rename File problem ! ");
}

}  // namespace
}  // namespace kw
