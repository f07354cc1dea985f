#include "core/comm/Transmit.h"

#include "core/comm/PaperTape.h"
#include "core/profile/Dialect.h"
#include "core/profile/MachineProfile.h"
#include "core/profile/Translate.h"
#include "core/text/BlockScanner.h"
#include "core/text/LenientInt.h"

namespace kw {

namespace {

constexpr std::size_t kMaxLine = 255;

void appendWithin(std::string& text, char c) {
  if (text.size() < kMaxLine) text += c;
}

// One transmit: the bytes it will send worked out first (for the progress display), then
// sent one at a time.
class Transmitter {
 public:
  Transmitter(const TransmitOptions& o, const MachineProfile& profile, CommLine& line, CommClock& clock, UiPort& ui,
              TransmitView& view)
      : o_(o), profile_(profile), line_(line), clock_(clock), ui_(ui), view_(view) {}

  TransmitResult run(const std::vector<std::string>& program, std::string_view title);

 private:
  std::string lineEnd(std::string text) const {
    appendWithin(text, '\r');
    if (o_.crLf) appendWithin(text, '\n');
    return text;
  }
  // The program line as the window shows it and as it goes out.
  void rewrite(const std::string& editorLine, std::size_t index, std::string_view title, std::string& shown,
               std::string& sent) const;
  bool send(unsigned char c, bool charDelay = true);
  bool sendText(const std::string& text);
  bool punchLeader();
  bool stop() {
    if (result_.end == TransmitEnd::Done && view_.stopRequested()) {
      result_.end = TransmitEnd::Stopped;
      line_.PurgeBuffers(false, true);
    }
    return result_.end != TransmitEnd::Done;
  }

  const TransmitOptions& o_;
  const MachineProfile& profile_;
  CommLine& line_;
  CommClock& clock_;
  UiPort& ui_;
  TransmitView& view_;
  TransmitResult result_;
  TransmitProgress progress_;
};

void Transmitter::rewrite(const std::string& editorLine, std::size_t index, std::string_view title, std::string& shown,
                          std::string& sent) const {
  std::string text = editorLine.substr(0, kMaxLine);
  if (o_.fileNameLine && index == 0) text = fileNameLine(title);
  if (o_.translate) text = translateRows(profile_, kTranslateFirstRow, kTranslateLastRow, text);
  shown = text;
  if (!text.empty() && o_.stripSpaces) text = StripChar('A', ' ', text);
  if (o_.tape && o_.parity) text = Strip(o_.parity, ' ', text);
  sent = lineEnd(std::move(text));
}

bool Transmitter::send(unsigned char c, bool charDelay) {
  if (!o_.dontTransmit) {
    const std::int32_t r = line_.SendBytes(&c, 1);
    if (r < 0 || r > 1000 || (r == 0 && line_.lastFault() != SendFault::None)) {
      ui_.beep();
      ui_.setCaption(WindowId::Comm, kTimeOutCaption);
      result_.end = line_.lastFault() == SendFault::HungUp ? TransmitEnd::HungUp : TransmitEnd::TimedOut;
      line_.ClosePort();
      return false;
    }
    if (r == 1) {
      ++result_.bytesSent;
      if (o_.sevenDataBits && c > 127) ++result_.eighthBitLost;
    }
  }
  ++progress_.bytes;
  if (charDelay) Delay(clock_, o_.charDelay, [this] { return view_.stopRequested(); });
  return !stop();
}

bool Transmitter::sendText(const std::string& text) {
  for (char c : text)
    if (!send(static_cast<unsigned char>(c))) return false;
  return true;
}

bool Transmitter::punchLeader() {
  for (int n = 0; n < o_.headLength; ++n) {
    if (!send(static_cast<unsigned char>(o_.headChar))) return false;
    view_.addTapeRow(tapeRow(static_cast<unsigned char>(o_.headChar)));
  }
  return true;
}

TransmitResult Transmitter::run(const std::vector<std::string>& program, std::string_view title) {
  view_.clearWindows();
  const int head = o_.tape ? o_.headLength : 0;
  const std::string start = o_.firstChar >= 0 ? lineEnd(std::string(1, static_cast<char>(o_.firstChar))) : "";
  const std::string end = o_.lastChar >= 0 ? lineEnd(std::string(1, static_cast<char>(o_.lastChar))) : "";
  const std::string header = o_.tape && o_.readableHeader ? readableHeaderBytes(title) : "";
  std::vector<std::string> shown(program.size()), sent(program.size());
  progress_.totalLines = program.size();
  progress_.totalBytes = start.size() + header.size() + 2 * static_cast<std::size_t>(head) + end.size();
  for (std::size_t i = 0; i < program.size(); ++i) {
    rewrite(program[i], i, title, shown[i], sent[i]);
    progress_.totalBytes += sent[i].size();
  }
  auto delayLine = [this] { Delay(clock_, o_.lineDelay, [this] { return view_.stopRequested(); }); };

  if (!start.empty()) {
    if (o_.dontTransmit) view_.addTransmitLine(start.substr(0, 1));
    if (!sendText(start)) return result_;
    delayLine();
    if (stop()) return result_;
  }
  if (o_.tape) {
    for (char c : header) {
      if (!send(static_cast<unsigned char>(c), false)) return result_;
      view_.addTapeRow(headerRow(static_cast<unsigned char>(c)));
    }
    if (!punchLeader()) return result_;
  }
  for (std::size_t i = 0; i < program.size(); ++i) {
    progress_.lines = i;
    if (!o_.dontTransmit) view_.showProgress(std::to_string(i) + " " + program[i], progress_);
    if (o_.dontTransmit) view_.addTransmitLine(shown[i]);
    for (char c : sent[i]) {
      if (o_.tape) view_.addTapeRow(tapeRow(static_cast<unsigned char>(c)));
      if (!send(static_cast<unsigned char>(c))) return result_;
    }
    delayLine();
    if (stop()) return result_;
  }
  progress_.lines = program.size();
  if (!end.empty()) {
    if (o_.dontTransmit) view_.addTransmitLine(end.substr(0, 1));
    if (!sendText(end)) return result_;
  }
  if (o_.tape) punchLeader();
  if (!o_.dontTransmit) view_.showProgress({}, progress_);
  return result_;
}

}  // namespace

TransmitOptions transmitOptions(const MachineProfile& p, bool dontTransmit) {
  TransmitOptions o;
  o.lineDelay = strictInt(p.text("Edit3")).value_or(0);
  o.charDelay = strictInt(p.text("Edit4")).value_or(0);
  o.firstChar = p.number("FileStartSpinEdit");
  o.lastChar = p.number("FileEndSpinEdit");
  o.crLf = p.flag("RadioButton17");
  o.stripSpaces = p.flag("CheckBox4");
  o.translate = p.flag("TranslateCheckBox");
  o.fileNameLine = p.flag("TransFileCheckBox");
  o.tape = p.flag("TapeCheckBox");
  o.readableHeader = p.flag("ReadableCheckBox");
  o.headLength = p.number("HeaderLenSpinEdit");
  o.headChar = p.number("HeaderCharSpinEdit");
  o.parity = p.flag("TapeRadioButtonEven") ? 'E' : p.flag("TapeRadioButtonOdd") ? 'O' : 0;
  o.sevenDataBits = p.flag("RadioButton19");
  o.dontTransmit = dontTransmit;
  return o;
}

std::string fileNameLine(std::string_view title) {
  std::string name(title);
  for (char c : {' ', '-', '_', '.'}) name = StripChar('A', c, name);
  return "(" + name.substr(0, 8) + ")";
}

std::string transmitReport(const TransmitResult& r) {
  std::string text;
  switch (r.end) {
    case TransmitEnd::Done: break;
    case TransmitEnd::TimedOut:
      text = "Transmit stopped after " + std::to_string(r.bytesSent) +
             " bytes: the line took no character within the output time-out.";
      break;
    case TransmitEnd::HungUp:
      text = "Transmit stopped after " + std::to_string(r.bytesSent) + " bytes: the line was closed at the other end.";
      break;
    case TransmitEnd::Stopped: text = "Transmit stopped by the user after " + std::to_string(r.bytesSent) + " bytes."; break;
  }
  if (r.eighthBitLost > 0) {
    if (!text.empty()) text += "\n";
    text += "7 data bits: " + std::to_string(r.eighthBitLost) + " characters above 127 went out without their eighth bit.";
  }
  return text;
}

TransmitResult Send1Click(const TransmitOptions& options, const MachineProfile& profile,
                          const std::vector<std::string>& program, std::string_view title, CommLine& line,
                          CommClock& clock, UiPort& ui, TransmitView& view) {
  return Transmitter(options, profile, line, clock, ui, view).run(program, title);
}

std::vector<std::string> programFromLine(const MachineProfile& profile, const std::vector<std::string>& program,
                                         std::size_t from, UiPort& ui) {
  const Dialect dialect(profile);
  if (programContains(program, dialect.row(LabelRow::Incremental))) {
    ui.message(kSendFromLineIncremental);
    return {};
  }
  const BlockLetters letters = dialect.lettersWithoutBlanks();
  std::size_t opening = 0;
  while (opening < program.size() && opening < from) {
    const BlockWords words = SplitBlockWords(program[opening], letters);
    if (!words.x.empty() || !words.y.empty() || !words.z.empty()) break;
    ++opening;
  }
  std::vector<std::string> resumed(program.begin(), program.begin() + static_cast<std::ptrdiff_t>(opening));
  if (from < program.size()) resumed.insert(resumed.end(), program.begin() + static_cast<std::ptrdiff_t>(from), program.end());
  return resumed;
}

}  // namespace kw
