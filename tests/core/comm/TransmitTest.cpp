#include "core/comm/Transmit.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/comm/PaperTape.h"
#include "core/comm/Receive.h"
#include "core/profile/MachineProfile.h"
#include "support/RecordingLine.h"
#include "support/RecordingPort.h"

namespace kw {
namespace {

struct RecordingView : TransmitView {
  std::vector<std::string> shown, tape, progress;
  void addTransmitLine(const std::string& text) override { shown.push_back(text); }
  void addTapeRow(const std::string& row) override { tape.push_back(row); }
  void showProgress(const std::string& line, const TransmitProgress& p) override {
    progress.push_back(line + "|" + std::to_string(p.lines) + "/" + std::to_string(p.totalLines) + " " +
                       std::to_string(p.bytes) + "/" + std::to_string(p.totalBytes));
  }
};

std::string bytes(std::initializer_list<int> codes) {
  std::string s;
  for (int c : codes) s += static_cast<char>(c);
  return s;
}

TEST(Transmit, SendsTheBytesOfEveryVariant) {
  struct Case {
    const char* name;
    std::function<void(TransmitOptions&, MachineProfile&)> set;
    std::vector<std::string> program;
    std::string title, expected;
    std::vector<std::string> tape = {};  // newest last
  };
  const std::string long255(255, 'X'), long254(254, 'Y');
  const Case cases[] = {
      {"start and end characters with CR LF",
       [](auto& o, auto&) { o.firstChar = 2, o.lastChar = 4, o.crLf = true; }, {"N10 G00 X1", "M30"}, "",
       "\x02\r\nN10 G00 X1\r\nM30\r\n\x04\r\n"},
      {"no options: each line and CR", [](auto&, auto&) {}, {"N10 G00 X1", "", "M30"}, "", "N10 G00 X1\r\rM30\r"},
      {"stripping spares the start text", [](auto& o, auto&) { o.stripSpaces = true, o.firstChar = ' '; },
       {"G01 X1 Y2"}, "", " \rG01X1Y2\r"},
      {"file name in parentheses", [](auto& o, auto&) { o.fileNameLine = true; }, {"N1", "N2"}, "my-part_1.nc",
       "(mypart1n)\rN2\r"},
      {"translate rows chain", [](auto& o, auto& p) { o.translate = true, p.setCell(29, 0, "X"), p.setCell(29, 1, "U"),
                                                      p.setCell(30, 0, "U"), p.setCell(30, 1, "W"); },
       {"X1 X2"}, "", "W1 X2\r"},
      {"a 255-character line goes without line end", [](auto& o, auto&) { o.crLf = true; }, {long255 + "Z", long254},
       "", long255 + long254 + "\r"},
      {"even parity marks the program, not the line end",
       [](auto& o, auto&) { o.tape = true, o.parity = 'E', o.crLf = true; }, {"01G"}, "", bytes({176, 49, 71, 13, 10}),
       {"# ** .   ", "  ** .  *", " *   .***", "    *.* *", "    *. * "}},
      {"odd parity", [](auto& o, auto&) { o.tape = true, o.parity = 'O'; }, {"GX"}, "", bytes({199, 88, 13})},
      {"parity is for the punch only", [](auto& o, auto&) { o.parity = 'E'; }, {"X"}, "", "X\r"},
      {"leader, trailer and readable header", [](auto& o, auto&) {
         o.tape = true, o.readableHeader = true, o.headLength = 2, o.headChar = 255, o.firstChar = 1, o.lastChar = 3;
       },
       {"M"}, "AB",
       bytes({1, 13, 0, 0x36, 0x49, 0x49, 0x49, 0x7F, 0, 0x7C, 0x12, 0x11, 0x12, 0x7C, 255, 255, 'M', 13, 3, 13,
              255, 255}),
       {"    .   ", " ** .** ", "*  *.  *", "*  *.  *", "*  *.  *", "****.***", "    .   ", "****.*  ", "  * . * ",
        "  * .  *", "  * . * ", "****.*  ", "#****.***", "#****.***", " *  *.* *", "    *.* *", "#****.***",
        "#****.***"}},
      {"lower case and signs in the header", [](auto& o, auto&) { o.tape = true, o.readableHeader = true; }, {},
       "a-1", bytes({0, 0x00, 0x40, 0x7F, 0x42, 0x00, 0, 0, 0x7C, 0x12, 0x11, 0x12, 0x7C})},
      {"no header for an empty title", [](auto& o, auto&) { o.tape = true, o.readableHeader = true; }, {"M"}, "",
       "M\r"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TransmitOptions o;
    MachineProfile profile;
    c.set(o, profile);
    RecordingLine line;
    CountingClock clock;
    RecordingPort ui;
    RecordingView view;
    const TransmitResult r = Send1Click(o, profile, c.program, c.title, line, clock, ui, view);
    EXPECT_EQ(line.written, c.expected);
    EXPECT_EQ(r.end, TransmitEnd::Done);
    EXPECT_EQ(r.bytesSent, c.expected.size());
    if (!c.tape.empty()) {
      EXPECT_EQ(view.tape, c.tape);
    }
    EXPECT_EQ(clock.now, 0u);
  }
}

TEST(Transmit, DontTransmitShowsTheOutputAndWritesNothing) {
  MachineProfile profile;
  profile.setCell(29, 0, "X");
  profile.setCell(29, 1, "U");
  profile.setText("Edit3", "3");
  profile.setText("Edit4", "x1");  // not a number: no character delay
  for (auto [control, on] : {std::pair{"TranslateCheckBox", true}, {"CheckBox4", true}, {"TapeCheckBox", true},
                             {"TapeRadioButtonEven", true}})
    profile.setFlag(control, on);
  profile.setNumber("FileStartSpinEdit", 37);
  profile.setNumber("FileEndSpinEdit", 37);
  profile.setNumber("HeaderLenSpinEdit", 1);
  TransmitOptions o = transmitOptions(profile, true);
  EXPECT_EQ(o.lineDelay, 3);
  EXPECT_EQ(o.charDelay, 0);
  RecordingLine line;
  CountingClock clock;
  RecordingPort ui;
  RecordingView view;
  Send1Click(o, profile, {"G1 X1", "M2"}, "", line, clock, ui, view);
  EXPECT_EQ(line.written, "");
  EXPECT_EQ(view.shown, (std::vector<std::string>{"%", "G1 U1", "M2", "%"}));
  EXPECT_EQ(view.tape.size(), 1u + 5u + 3u + 1u);
  EXPECT_EQ(view.progress.size(), 0u);
  EXPECT_EQ(clock.now, 3u * 3u);  // after the start text and each line
}

TEST(Transmit, ACharacterTheLineDoesNotTakeEndsTheTransmitVisibly) {
  struct Case {
    int refuseAfter;
    SendFault fault;
    TransmitEnd end;
    std::string written, report;
  };
  const Case cases[] = {
      {4, SendFault::TimedOut, TransmitEnd::TimedOut, "N1\rN",
       "Transmit stopped after 4 bytes: the line took no character within the output time-out."},
      {0, SendFault::HungUp, TransmitEnd::HungUp, "",
       "Transmit stopped after 0 bytes: the line was closed at the other end."},
  };
  for (const auto& c : cases) {
    struct FaultLine : RecordingLine {
      SendFault kind;
      std::int32_t SendBytes(const unsigned char* d, std::uint32_t n) override {
        std::int32_t r = RecordingLine::SendBytes(d, n);
        if (fault != SendFault::None) fault = kind;
        return r;
      }
    } line;
    line.kind = c.fault;
    line.refuseAfter = c.refuseAfter;
    CountingClock clock;
    RecordingPort ui;
    RecordingView view;
    MachineProfile profile;
    const TransmitResult r = Send1Click(transmitOptions(profile, false), profile, {"N1", "N2", "N3"}, "", line, clock,
                                        ui, view);
    EXPECT_EQ(r.end, c.end);
    EXPECT_EQ(line.written, c.written);
    EXPECT_FALSE(line.open);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(ui.lastCaption(WindowId::Comm), kTimeOutCaption);
    EXPECT_EQ(transmitReport(r), c.report);
  }
}

TEST(Transmit, ProgressDelaysStopAndSevenBits) {
  MachineProfile profile;
  profile.setText("Edit3", "10");
  profile.setText("Edit4", "2");
  profile.setFlag("RadioButton19", true);
  RecordingLine line;
  CountingClock clock;
  RecordingPort ui;
  struct StoppingView : RecordingView {
    const RecordingLine* line;
    bool stopRequested() override { return line->written.size() >= 5; }
  } view;
  view.line = &line;
  const TransmitResult r = Send1Click(transmitOptions(profile, false), profile, {"A\xC9", "B", "C"}, "", line, clock,
                                      ui, view);
  EXPECT_EQ(view.progress, (std::vector<std::string>{"0 A\xC9|0/3 0/7", "1 B|1/3 3/7"}));
  EXPECT_EQ(line.written, "A\xC9\rB\r");
  EXPECT_EQ(clock.now, 2u * 3 + 10 + 2);
  EXPECT_EQ(r.end, TransmitEnd::Stopped);
  EXPECT_TRUE(line.open);
  EXPECT_EQ(transmitReport(r), "Transmit stopped by the user after 5 bytes.\n"
                               "7 data bits: 1 characters above 127 went out without their eighth bit.");
}

TEST(Receive, BytesBecomeLinesAndTheTerminalSendsTheLastLine) {
  struct Case {
    std::vector<std::string> before;
    std::string arriving;
    std::vector<std::string> after;
    std::size_t firstChanged;
  };
  const Case cases[] = {
      {{}, "N10\r\nN20", {"N10", "N20"}, 0},
      {{"N10", "N20"}, "X1\r", {"N10", "N20X1", ""}, 1},
      {{"AB"}, "\b", {"A"}, 0},
      {{"A"}, std::string("\0\n\bZ\xFF", 5), {"Z\xFF"}, 0},
      {{}, "\b\r\r", {"", "", ""}, 0},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines = c.before;
    EXPECT_EQ(receiveBytes(lines, reinterpret_cast<const unsigned char*>(c.arriving.data()), c.arriving.size()),
              c.firstChanged);
    EXPECT_EQ(lines, c.after) << c.arriving;
  }
  RecordingLine line;
  EXPECT_EQ(TxRichEdit1KeyPress(line, {}, 13), 1u);
  EXPECT_EQ(TxRichEdit1KeyPress(line, {"first", "G0 X1"}, 13), 6u);
  EXPECT_EQ(TxRichEdit1KeyPress(line, {"G0"}, 'a'), 0u);
  line.open = false;
  EXPECT_EQ(TxRichEdit1KeyPress(line, {"G0"}, 13), 0u);
  EXPECT_EQ(line.written, "\rG0 X1\r");
}

TEST(PaperTape, RowsAndGlyphs) {
  EXPECT_EQ(tapeRow(0), "     .   ");
  EXPECT_EQ(tapeRow(255), "#****.***");
  EXPECT_EQ(headerRow(0xA5), " *  .* *");
  EXPECT_EQ(glyphColumns('q'), (std::vector<unsigned char>{0x3E, 0x41, 0x41, 0x61, 0x7E, 0}));
  for (char c : {'!', '/', ';', '@', '[', ']', '~'}) EXPECT_EQ(glyphColumns(c), std::vector<unsigned char>{0}) << c;
  EXPECT_EQ(Strip('E', 0, "\x01\x02\xFE"), "\x01\x82\x7E");
  EXPECT_EQ(Strip('B', ' ', "  G1  "), "G1");
}

}  // namespace
}  // namespace kw
