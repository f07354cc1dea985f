#include "gui/ProgramEditor.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTest>
#include <map>
#include <random>

using kw::ProgramEditor;
using kw::TextPos;

namespace kw {
char* toString(const TextPos& p) { return QTest::toString(QString("%1:%2").arg(p.line).arg(p.column)); }
}  // namespace kw

namespace {

// A text with its selection drawn in: '|' is the caret, '[' the anchor when something is selected.
struct Marked {
  std::string text;
  TextPos anchor, caret;
};

Marked parse(std::string_view marked) {
  Marked m;
  TextPos at;
  bool anchored = false;
  for (char c : marked) {
    if (c == '|') {
      m.caret = at;
    } else if (c == '[') {
      m.anchor = at;
      anchored = true;
    } else {
      m.text += c;
      at = c == '\n' ? TextPos{at.line + 1, 0} : TextPos{at.line, at.column + 1};
    }
  }
  if (!anchored) m.anchor = m.caret;
  return m;
}

QString marked(const ProgramEditor& e) {
  std::string out;
  for (int l = 0; l < e.lineCount(); ++l) {
    const std::string& line = e.lines()[l];
    if (l > 0) out += '\n';
    for (int c = 0; c <= int(line.size()); ++c) {
      if (e.hasSelection() && e.anchor() == TextPos{l, c}) out += '[';
      if (e.caret() == TextPos{l, c}) out += '|';
      if (c < int(line.size())) out += line[c];
    }
  }
  return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

QStringList rows(const ProgramEditor& e) {
  QStringList out;
  for (const std::string& line : e.lines()) out << QString::fromLatin1(line.data(), qsizetype(line.size()));
  return out;
}

// Presses `keys` in the editor: a plain character is typed, <Name> is a key (S- and C- before
// the name hold Shift and Control), and <Undo>, <Cut>, <Copy> and <Paste> run those commands.
void press(ProgramEditor& e, std::string_view keys) {
  static const std::map<std::string_view, Qt::Key> named = {
      {"Left", Qt::Key_Left}, {"Right", Qt::Key_Right}, {"Up", Qt::Key_Up},         {"Down", Qt::Key_Down},
      {"Home", Qt::Key_Home}, {"End", Qt::Key_End},     {"PgUp", Qt::Key_PageUp},   {"PgDn", Qt::Key_PageDown},
      {"Ret", Qt::Key_Return}, {"BS", Qt::Key_Backspace}, {"Del", Qt::Key_Delete}};
  static const std::map<std::string_view, void (ProgramEditor::*)()> commands = {
      {"Undo", &ProgramEditor::undo}, {"Cut", &ProgramEditor::cut}, {"Copy", &ProgramEditor::copy},
      {"Paste", &ProgramEditor::paste}};
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] != '<') {  // typed as the Latin-1 character of its byte
      const auto byte = static_cast<unsigned char>(keys[i]);
      QTest::sendKeyEvent(QTest::Click, &e, Qt::Key(byte), QString(QChar(byte)), {});
      continue;
    }
    const size_t end = keys.find('>', i);
    std::string_view name = keys.substr(i + 1, end - i - 1);
    i = end;
    if (auto command = commands.find(name); command != commands.end()) {
      (e.*command->second)();
      continue;
    }
    Qt::KeyboardModifiers modifiers;
    for (; name.size() > 2 && name[1] == '-'; name.remove_prefix(2))
      modifiers |= name[0] == 'S' ? Qt::ShiftModifier : Qt::ControlModifier;
    QTest::keyClick(&e, named.at(name), modifiers);
  }
}

void show(ProgramEditor& e) {
  e.resize(320, 240);
  e.show();
  QVERIFY(QTest::qWaitForWindowExposed(&e));
}

bool hasInk(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != image.pixel(image.width() - 1, image.height() - 1)) return true;
  return false;
}

struct KeyCase {
  const char* start;  // the text with its selection marked
  const char* keys;
  const char* expected;
  const char* clipboard = nullptr;  // what the clipboard holds afterwards, where checked; "P\nQ" before
};
// Columns kept by Up and Down are checked between lines that start alike, so that the font's
// widths do not matter.
const KeyCase kKeyCases[] = {
    {"G01 X|1", "25", "G01 X25|1"},
    {"G01 [X1|", "Y2", "G01 Y2|"},
    {"G|1", "\xe9", "G\xe9|1"},
    {"G01 X1| Y2", "<Ret>", "G01 X1\n| Y2"},
    {"G01\n|X1", "<BS>", "G01|X1"},
    {"G01|\nX1", "<Del>", "G01|X1"},
    {"|G01", "<BS>", "|G01"},
    {"G01|", "<Del>", "G01|"},
    {"G0[1\nX|1", "<BS>", "G0|1"},
    {"G0|1\nX[1", "<Del>", "G0|1"},
    {"ab|\ncd", "<Right>", "ab\n|cd"},
    {"ab\n|cd", "<Left>", "ab|\ncd"},
    {"G01 X1|0\nG0\nG01 X10", "<Down>", "G01 X10\nG0|\nG01 X10"},
    {"G01 X1|0\nG0\nG01 X10", "<Down><Down>", "G01 X10\nG0\nG01 X1|0"},
    {"G01 X10\nG0\nG01 X1|0", "<Up><Up>", "G01 X1|0\nG0\nG01 X10"},
    {"G01 X|1", "<End>", "G01 X1|"},
    {"G01 X|1", "<Home>", "|G01 X1"},
    {"G01\nX|1\nY2", "<C-End>", "G01\nX1\nY2|"},
    {"G01\nX|1\nY2", "<C-Home>", "|G01\nX1\nY2"},
    {"G01 X|1\nY2", "<S-Down>", "G01 X[1\nY2|"},
    {"G01 X|1\nY2", "<S-Home>", "|G01 X[1\nY2"},
    {"G01 X|1\nY2", "<S-Right><S-Right><S-Right>", "G01 X[1\nY|2"},
    {"G01 X|1\nY2", "<S-Right><S-Left>", "G01 X|1\nY2"},
    {"G01 X|1\nY2", "<S-C-End>", "G01 X[1\nY2|"},
    {"|G01 X1 Y2", "<C-Right><C-Right>", "G01 X1 |Y2"},
    {"G01 X1 Y|2", "<C-Left><C-Left>", "G01 |X1 Y2"},
    {"G0|1 X1", "<S-C-Right>", "G0[1 |X1"},
    {"G01|\nX1", "<C-Right>", "G01\n|X1"},
    {"G01 X|1", "25<Undo>", "G01 X|1"},
    {"G01 X|1", "2<Left>5<Undo>", "G01 X|21"},
    {"G01 X|1", "2<Left>5<Undo><Undo>", "G01 X|1"},
    {"G01 [X1|", "Y<Undo>", "G01 [X1|"},
    {"G01 |X1\nY[2", "5<Undo>", "G01 |X1\nY[2"},
    {"G01\n|X1", "<BS><Undo>", "G01\n|X1"},
    {"G0|1", "<Del><Undo>", "G0|1"},
    {"G01 X|1", "<Ret><Undo>", "G01 X|1"},
    {"G0[1\nX|1", "<Copy>", "G0[1\nX|1", "1\nX"},
    {"G0[1\nX|1", "<Cut>", "G0|1", "1\nX"},
    {"G0[1\nX|1", "<Cut><Undo>", "G0[1\nX|1", "1\nX"},
    {"G0[1\nX|1", "<Copy><End><Paste>", "G01\nX11\nX|", "1\nX"},
    {"G0|1", "<Paste>", "G0P\nQ|1", "P\nQ"},
    {"G0[1\nX|1", "<Paste>", "G0P\nQ|1"},
};

}  // namespace

class ProgramEditorTest : public QObject {
  Q_OBJECT
 private slots:
  void keys_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(kKeyCases)); ++i)
      QTest::addRow("%d %s", i, QString::fromLatin1(kKeyCases[i].keys).toUtf8().constData()) << i;
  }
  void keys() {
    QFETCH(int, row);
    const KeyCase& c = kKeyCases[row];
    QGuiApplication::clipboard()->setText("P\nQ");
    ProgramEditor e;
    show(e);
    const Marked start = parse(c.start);
    e.setText(start.text);
    e.setSelection(start.anchor, start.caret);
    QCOMPARE(marked(e), QString::fromLatin1(c.start));
    press(e, c.keys);
    QCOMPARE(marked(e), QString::fromLatin1(c.expected));
    if (c.clipboard) QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromLatin1(c.clipboard));
  }

  void undoHistoryAndModifiedFlag() {
    ProgramEditor e;
    show(e);
    e.setLines({"G01", "X12"});
    QVERIFY(!e.isModified() && !e.isUndoAvailable());
    unsigned revision = e.revision();
    press(e, "<Down><End>");
    QCOMPARE(e.revision(), revision);
    press(e, "3");
    QCOMPARE(marked(e), QString("G01\nX123|"));
    QVERIFY(e.isModified() && e.isUndoAvailable() && e.revision() != revision);
    e.setModified(false);
    QVERIFY(!e.isModified());
    revision = e.revision();
    e.replaceLines({"N1 G01", "N2"});  // the caret stays, within the shorter line
    QCOMPARE(marked(e), QString("N1 G01\nN2|"));
    QVERIFY(e.isModified() && e.revision() != revision);
    revision = e.revision();
    e.undo();
    QCOMPARE(marked(e), QString("G01\nX123|"));
    QVERIFY(!e.isModified() && e.isUndoAvailable() && e.revision() != revision);
    e.undo();
    QCOMPARE(marked(e), QString("G01\nX12|"));
    QVERIFY(e.isModified() && !e.isUndoAvailable());
    press(e, "4");
    e.setLines({"Y"});
    QCOMPARE(marked(e), QString("|Y"));
    QVERIFY(!e.isModified() && !e.isUndoAvailable());
  }

  // Every byte is one character, and carriage returns and line feeds inside a line stay bytes
  // through a copy and paste.
  void bytesSurviveCopyAndPaste() {
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    const QString allBytes = QString::fromLatin1(all.data(), 256);
    ProgramEditor e;
    show(e);
    e.setLines({all, "G01\rX1", "Y\n2"});
    QCOMPARE(e.text(), all + "\nG01\rX1\nY\n2");
    press(e, "<End>");
    QCOMPARE(e.caret(), (TextPos{0, 256}));
    e.setSelection({1, 0}, {2, 3});
    QCOMPARE(QByteArray::fromStdString(e.selectedText()), QByteArray("G01\rX1\nY\n2"));
    e.selectAll();
    e.copy();
    press(e, "<C-End><Ret><Paste>");
    QCOMPARE(rows(e), QStringList({allBytes, "G01\rX1", "Y\n2", allBytes, "G01\rX1", "Y\n2"}));
  }

  void offsetsAndClamping() {
    ProgramEditor e;
    const QString text = "G01\n\nX12";
    e.setText(text.toStdString());
    for (int offset = 0; offset <= text.size(); ++offset) {
      e.setCaret(e.positionAt(size_t(offset)));
      QCOMPARE(marked(e), QString(text).insert(offset, '|'));
      QCOMPARE(e.offsetOf(e.caret()), size_t(offset));
    }
    const struct {
      TextPos anchor, caret;
      const char* expected;
    } clamps[] = {{{-1, -5}, {9, 9}, "[G01\n\nX12|"}, {{0, 99}, {1, -3}, "G01[\n|\nX12"}, {{2, 7}, {0, 0}, "|G01\n\nX12["}};
    for (const auto& c : clamps) {
      e.setSelection(c.anchor, c.caret);
      QCOMPARE(marked(e), QString(c.expected));
    }
  }

  void pagesAndClicks() {
    ProgramEditor e;
    show(e);
    e.setLines(std::vector<std::string>(100, "G01 X1"));
    e.setCaret({0, 3});
    const int inView = e.lastVisibleLine() - e.firstVisibleLine() + 1;
    QVERIFY(inView > 2 && inView < 100);
    press(e, "<PgDn>");
    const int page = e.caret().line;  // the last line in view may be shown only in part
    QVERIFY2(page == inView || page == inView - 1, qPrintable(QString("%1 in view").arg(inView)));
    QCOMPARE(e.caret().column, 3);
    QVERIFY(e.firstVisibleLine() <= page && page <= e.lastVisibleLine());
    press(e, "<S-PgDn>");
    QCOMPARE(e.anchor(), (TextPos{page, 3}));
    QCOMPARE(e.caret(), (TextPos{2 * page, 3}));
    press(e, "<PgUp><PgUp>");
    QCOMPARE(marked(e).left(8), QString("G01| X1\n"));
    QCOMPARE(e.firstVisibleLine(), 0);

    e.setLines({"G01 X1", "G02"});
    QWidget* view = e.viewport();
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(view->width() - 2, 2));
    QCOMPARE(marked(e), QString("G01 X1|\nG02"));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(1, view->height() - 2));
    QCOMPARE(marked(e), QString("G01 X1\n|G02"));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, QPoint(view->width() - 2, 2));
    QCOMPARE(marked(e), QString("G01 X1|\n[G02"));
  }

  // Random keys, clicks and clipboard commands, then Undo until there is nothing left to undo:
  // the text is the one set, and every place stayed within it.
  void undoingEverythingGivesTheTextBack() {
    ProgramEditor e;
    show(e);
    const std::vector<std::string> start = {"G01 X1 Y2", "", "M07", "G02 X3 Y4 I1 J0", "M30"};
    const std::string_view pieces[] = {"a", "7", " ", "<Ret>", "<BS>", "<Del>", "<Left>", "<Right>", "<Up>", "<Down>",
                                       "<S-Right>", "<S-Down>", "<S-C-Left>", "<End>", "<C-Home>", "<C-End>", "<PgDn>",
                                       "<Cut>", "<Copy>", "<Paste>", "<C-BS>", "\t"};
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
      e.setLines(start);
      for (int key = 0; key < 60; ++key) {
        press(e, pieces[random() % std::size(pieces)]);
        QVERIFY(e.caret().line < e.lineCount() &&
                e.caret().column <= int(e.lines()[size_t(e.caret().line)].size()));
      }
      for (int undo = 0; e.isUndoAvailable() && undo < 100; ++undo) e.undo();
      QCOMPARE(e.lines(), start);
      QVERIFY(!e.isModified());
    }
  }

  void millionLines() {
    std::vector<std::string> lines(1000000);
    for (size_t i = 0; i < lines.size(); ++i) lines[i] = "N" + std::to_string(i + 1) + " G01 X1";
    ProgramEditor e;
    show(e);
    e.setLines(std::move(lines));
    QCOMPARE(e.lineCount(), 1000000);
    QCOMPARE(e.firstVisibleLine(), 0);
    const int inView = e.lastVisibleLine() + 1;
    QVERIFY(inView > 2 && inView < 100);
    const QImage top = e.viewport()->grab().toImage();
    QVERIFY(hasInk(top));
    press(e, "<C-End>");
    QCOMPARE(e.caret(), (TextPos{999999, 15}));
    QCOMPARE(e.lastVisibleLine(), 999999);
    QVERIFY(e.firstVisibleLine() >= 1000000 - inView);
    e.verticalScrollBar()->setValue(0);
    QCOMPARE(e.firstVisibleLine(), 0);
    e.setCaret({500000, 0});
    e.verticalScrollBar()->setValue(0);
    e.ensureCaretVisible();
    QVERIFY(e.firstVisibleLine() <= 500000 && 500000 <= e.lastVisibleLine());
    const QImage middle = e.viewport()->grab().toImage();
    QVERIFY(hasInk(middle) && middle != top);

    // A line of a million characters: its end is scrolled into view and drawn, and a click at
    // the view's left edge lands on the column there.
    e.setLines({"G01", std::string(1000000, 'X') + "Y"});
    press(e, "<Down><End>");
    QCOMPARE(e.caret(), (TextPos{1, 1000001}));
    QVERIFY(e.horizontalScrollBar()->value() > 0);
    QVERIFY(hasInk(e.viewport()->grab().toImage()));
    QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, QPoint(1, e.fontMetrics().lineSpacing() * 3 / 2));
    QVERIFY(e.caret().line == 1 && e.caret().column > 990000 && e.caret().column < 1000001);
  }
};

QTEST_MAIN(ProgramEditorTest)
#include "ProgramEditorTest.moc"
