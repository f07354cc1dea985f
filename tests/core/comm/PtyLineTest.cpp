// The driver on a real line: a pseudo-terminal pair whose other end a child process works as
// the controller does.
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/comm/CommPortDriver.h"
#include "core/comm/Receive.h"
#include "core/comm/Transmit.h"
#include "core/profile/MachineProfile.h"
#include "support/RecordingPort.h"

namespace kw {
namespace {

// Bytes arriving at fd within ms, appended to `into`.
void readFor(int fd, std::string& into, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 10) <= 0) continue;
    char buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) return;
    into.append(buffer, static_cast<size_t>(n));
  }
}

// The controller, on a thread of its own: stops the line with XOFF after the first bytes, checks
// that nothing comes while stopped, lets it go on with XON, takes the rest, sends a program back
// and reports what it received through `report`. With hangUpEarly it closes the line after 5
// bytes. It closes the line and the report when it ends; 0 tells that all went as it should.
int controller(int master, int report, std::size_t expected, bool hangUpEarly) {
  std::string got;
  auto end = [&](int code) {
    ::close(master);
    ::close(report);
    return code;
  };
  while (got.size() < 5) readFor(master, got, 10);
  if (hangUpEarly) return end(0);
  const char xoff = 19, xon = 17;
  if (::write(master, &xoff, 1) != 1) return end(2);
  // The pseudo-terminal hands bytes over through a kernel worker, late on a busy machine: what
  // was under way when XOFF went is taken until the line has been quiet for 200 ms.
  for (std::size_t before = got.size() + 1; got.size() != before;) {
    before = got.size();
    readFor(master, got, 200);
  }
  const std::size_t beforePause = got.size();
  readFor(master, got, 300);
  if (got.size() != beforePause) return end(3);
  if (::write(master, &xon, 1) != 1) return end(2);
  for (int i = 0; i < 300 && got.size() < expected; ++i) readFor(master, got, 10);
  const std::string back = "N10\r\nN20\r\n";
  if (::write(master, back.data(), back.size()) != static_cast<ssize_t>(back.size())) return end(2);
  if (::write(report, got.data(), got.size()) != static_cast<ssize_t>(got.size())) return end(2);
  readFor(master, got, 500);
  return end(0);
}

struct PtyPair {
  int master = -1, slave = -1;
  std::string path;
  PtyPair() {
    char name[128];
    EXPECT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    path = name;
  }
  ~PtyPair() {
    if (master >= 0) ::close(master);
    if (slave >= 0) ::close(slave);
  }
};

TEST(PtyLine, TransmitPausesOnXoffGoesOnAfterXonAndReceives) {
  for (bool hangUp : {false, true}) {
    SCOPED_TRACE(hangUp ? "peer closes mid-transmit" : "XOFF and XON");
    PtyPair pty;
    SteadyClock clock;
    TCommPortDriver driver(clock);
    driver.setComPort(pnCOM3);
    driver.setDevicePath(pnCOM3, pty.path);
    driver.setComPortSwHandshaking(shXONXOFF);
    ASSERT_TRUE(driver.OpenPort()) << driver.openError();
    driver.setComPort(pnCOM1);  // the port stays while open
    EXPECT_EQ(driver.ComPort(), pnCOM3);
    TCommPortDriver second(clock);
    second.setComPort(pnCOM3);
    second.setDevicePath(pnCOM3, pty.path);
    EXPECT_FALSE(second.OpenPort());
    EXPECT_EQ(second.openError(), pty.path + ": in use by another program");

    std::vector<std::string> program, received;
    // The controller that hangs up is sent a program that takes many seconds a character at a
    // time: on a busy machine the pseudo-terminal may hand the first bytes over late, and the
    // line must still be closed long before the program's end.
    const int lines = hangUp ? 1000 : 60;
    for (int i = 1; i <= lines; ++i) program.push_back("N" + std::to_string(i) + " G01 X" + std::to_string(i * 7));
    std::string expected;
    for (const auto& line : program) expected += line + "\r";
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    // A thread, not a forked process: a forked child of a process with threads (the
    // sanitizers' ones) must not allocate, and the controller does.
    int controllerEnd = -1;
    std::thread line([&, master = pty.master, reportEnd = report[1]] {
      controllerEnd = controller(master, reportEnd, expected.size(), hangUp);
    });
    pty.master = -1;

    int hangUps = 0;
    driver.OnHangUp = [&] { ++hangUps; };
    driver.OnReceiveData = [&](TCommPortDriver&, const unsigned char* data, std::uint32_t size) {
      receiveBytes(received, data, size);
    };
    clock.onIdle = [&] { driver.poll(); };
    MachineProfile profile;
    TransmitOptions options = transmitOptions(profile, false);
    options.charDelay = 1;
    RecordingPort ui;
    TransmitView view;
    const TransmitResult r = Send1Click(options, profile, program, "", driver, clock, ui, view);
    for (int i = 0; i < 3000 && received.size() < 3 && driver.IsOpen(); ++i) clock.idle();
    std::string got;
    readFor(report[0], got, hangUp ? 50 : 2000);
    ::close(report[0]);
    line.join();
    EXPECT_EQ(controllerEnd, 0);
    if (hangUp) {
      EXPECT_EQ(r.end, TransmitEnd::HungUp);
      EXPECT_FALSE(driver.IsOpen());
      EXPECT_EQ(ui.lastCaption(WindowId::Comm), kTimeOutCaption);
      // The window connects again on its next activation.
      PtyPair next;
      driver.setDevicePath(pnCOM3, next.path);
      EXPECT_TRUE(driver.OpenPort());
    } else {
      EXPECT_EQ(r.end, TransmitEnd::Done);
      EXPECT_EQ(r.bytesSent, expected.size());
      EXPECT_EQ(got, expected);
      EXPECT_EQ(received, (std::vector<std::string>{"N10", "N20", ""}));
      EXPECT_EQ(hangUps, 0);
    }
  }
}

// A hang-up that poll finds between two bytes (while a character delay runs) must end the next
// send as a hang-up, not as nothing sent: else a transmit would go on to its end and report the
// program sent.
TEST(PtyLine, AHangUpFoundBetweenBytesFailsTheNextSend) {
  PtyPair pty;
  SteadyClock clock;
  TCommPortDriver driver(clock);
  driver.setComPort(pnCOM1);
  driver.setDevicePath(pnCOM1, pty.path);
  ASSERT_TRUE(driver.OpenPort()) << driver.openError();
  const unsigned char byte = 'G';
  EXPECT_EQ(driver.SendBytes(&byte, 1), 1);
  EXPECT_EQ(driver.lastFault(), SendFault::None);
  ::close(pty.master);
  pty.master = -1;
  int hangUps = 0;
  driver.OnHangUp = [&] { ++hangUps; };
  driver.poll();
  EXPECT_EQ(hangUps, 1);
  EXPECT_FALSE(driver.IsOpen());
  EXPECT_EQ(driver.SendBytes(&byte, 1), 0);
  EXPECT_EQ(driver.lastFault(), SendFault::HungUp);
  PtyPair next;  // opened again, the line sends as before
  driver.setDevicePath(pnCOM1, next.path);
  ASSERT_TRUE(driver.OpenPort()) << driver.openError();
  EXPECT_EQ(driver.SendBytes(&byte, 1), 1);
  EXPECT_EQ(driver.lastFault(), SendFault::None);
}

TEST(PtyLine, AnAbsentDeviceSendsNothing) {
  SteadyClock clock;
  TCommPortDriver driver(clock);
  driver.setDevicePath(pnCOM2, "/dev/kerfwerk-absent");
  EXPECT_FALSE(driver.OpenPort());
  EXPECT_EQ(driver.openError(), "/dev/kerfwerk-absent: No such file or directory");
  const unsigned char byte = 'G';
  EXPECT_EQ(driver.SendBytes(&byte, 1), 0);
  EXPECT_EQ(driver.OutputSpaceFree(), -1);
  EXPECT_EQ(driver.xonLimit(), 512u);
  driver.setComPortInBufSize(32 * 1024);
  EXPECT_EQ(driver.xonLimit(), 8192u);
}

}  // namespace
}  // namespace kw
