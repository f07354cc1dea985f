#include "core/comm/CommPortDriver.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/comm/LineRate.h"

namespace kw {

namespace {

constexpr int kRates[] = {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200};

speed_t standardSpeed(int rate) {
  switch (rate) {
    case 110: return B110;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
  }
}

}  // namespace

int baudRateOf(TComPortBaudRate speed) { return kRates[speed]; }

std::string defaultDevicePath(int portIndex) { return "/dev/ttyS" + std::to_string(portIndex); }

std::vector<std::string> serialDevices() {
  namespace fs = std::filesystem;
  std::vector<std::string> found, numbered;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/dev/serial/by-id", ec)) found.push_back(entry.path().string());
  std::sort(found.begin(), found.end());
  for (const auto& entry : fs::directory_iterator("/dev", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0) numbered.push_back(entry.path().string());
  }
  std::sort(numbered.begin(), numbered.end());
  found.insert(found.end(), numbered.begin(), numbered.end());
  for (int i = 0; i < 4; ++i)
    if (fs::exists(defaultDevicePath(i), ec)) found.push_back(defaultDevicePath(i));
  return found;
}

TCommPortDriver::TCommPortDriver(CommClock& clock) : clock_(clock), receiveBuffer_(2048) {
  for (int i = 0; i < 4; ++i) devices_[static_cast<size_t>(i)] = defaultDevicePath(i);
}

TCommPortDriver::~TCommPortDriver() { ClosePort(); }

void TCommPortDriver::setComPort(TComPortNumber port) {
  if (!IsOpen()) port_ = port;
}

void TCommPortDriver::setDevicePath(TComPortNumber port, std::string path) {
  if (!IsOpen()) devices_[port] = std::move(path);
}

void TCommPortDriver::setComPortInBufSize(std::uint32_t size) {
  if (IsOpen()) return;
  receiveBuffer_ = std::vector<unsigned char>(std::max<std::uint32_t>(size, 1));
}

#define KW_LINE_SETTER(setter, member, type) \
  void TCommPortDriver::setter(type value) { \
    member = value;                          \
    if (IsOpen()) ApplyLineSettings();       \
  }
KW_LINE_SETTER(setComPortSpeed, speed_, TComPortBaudRate)
KW_LINE_SETTER(setComPortDataBits, dataBits_, TComPortDataBits)
KW_LINE_SETTER(setComPortStopBits, stopBits_, TComPortStopBits)
KW_LINE_SETTER(setComPortParity, parity_, TComPortParity)
KW_LINE_SETTER(setComPortHwHandshaking, hw_, TComPortHwHandshaking)
KW_LINE_SETTER(setComPortSwHandshaking, sw_, TComPortSwHandshaking)
#undef KW_LINE_SETTER

bool TCommPortDriver::OpenPort() {
  if (IsOpen()) return true;
  const std::string& path = devices_[port_];
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    openError_ = path + ": " + std::strerror(errno);
    return false;
  }
  // Exclusive: the line's own lock against other programs (which root passes), and an
  // advisory lock every copy of this program honours.
  if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0) {
    openError_ = path + ": " + (isatty(fd) ? "in use by another program" : "not a serial line");
    ::close(fd);
    return false;
  }
  ioctl(fd, TIOCEXCL);
  fd_ = fd;
  hungUp_ = false;
  openError_.clear();
  ApplyLineSettings();
  return true;
}

void TCommPortDriver::ClosePort() {
  if (!IsOpen()) return;
  ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

void TCommPortDriver::ApplyLineSettings() {
  if (!IsOpen()) return;
  termios t{};
  tcgetattr(fd_, &t);
  cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
  t.c_cflag |= kSizes[dataBits_];
  if (parity_ != ptNONE) t.c_cflag |= PARENB;
  if (parity_ == ptODD || parity_ == ptMARK) t.c_cflag |= PARODD;
  if (parity_ == ptMARK || parity_ == ptSPACE) t.c_cflag |= CMSPAR;
  // Linux has no one and a half stop bits: it takes two.
  if (stopBits_ != sb1BITS) t.c_cflag |= CSTOPB;
  if (hw_ == hhRTSCTS) t.c_cflag |= CRTSCTS;
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  if (sw_ == shXONXOFF) t.c_iflag |= IXON | IXOFF;
  t.c_cc[VSTART] = 17;
  t.c_cc[VSTOP] = 19;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  const int rate = baudRateOf(speed_);
  const speed_t standard = standardSpeed(rate);
  if (standard != B0) cfsetspeed(&t, standard);
  tcsetattr(fd_, TCSANOW, &t);
  if (standard == B0) setLineRate(fd_, rate);
  setLine(TIOCM_DTR, EnableDTROnOpen);
  PurgeBuffers(true, true);
}

void TCommPortDriver::PurgeBuffers(bool input, bool output) {
  if (!IsOpen() || (!input && !output)) return;
  tcflush(fd_, input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH);
}

int TCommPortDriver::OutputSpaceFree() {
  if (!IsOpen()) return -1;
  int waiting = 0;
  if (ioctl(fd_, TIOCOUTQ, &waiting) != 0) waiting = 0;
  return std::max(0, ComPortOutBufSize() - waiting);
}

std::int32_t TCommPortDriver::SendBytes(const unsigned char* data, std::uint32_t count) {
  // A line that went away while nothing was being sent (found by poll) stays a hang-up: the
  // bytes asked for now go nowhere.
  fault_ = !IsOpen() && hungUp_ ? SendFault::HungUp : SendFault::None;
  if (!IsOpen() || count == 0) return 0;
  std::int32_t total = 0;
  std::uint32_t lastProgress = clock_.ticks();
  while (count > 0) {
    ssize_t written = 0;
    if (OutputSpaceFree() != 0) {
      written = ::write(fd_, data, count);
      if (written < 0 && errno != EAGAIN && errno != EINTR) {
        fault_ = SendFault::HungUp;
        hangUp();
        return -total;
      }
    }
    if (written > 0) {
      total += static_cast<std::int32_t>(written);
      count -= static_cast<std::uint32_t>(written);
      data += written;
      lastProgress = clock_.ticks();
      continue;
    }
    if (clock_.ticks() - lastProgress > OutputTimeout) {
      fault_ = SendFault::TimedOut;
      return -total;
    }
    clock_.idle();
    if (!IsOpen()) {  // the line went away while waiting
      fault_ = SendFault::HungUp;
      return -total;
    }
  }
  return total;
}

void TCommPortDriver::setLine(int bit, bool on) {
  if (IsOpen()) ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bit);
}

void TCommPortDriver::SetDtrLine(bool on) { setLine(TIOCM_DTR, on); }
void TCommPortDriver::SetRtsLine(bool on) { setLine(TIOCM_RTS, on); }

void TCommPortDriver::hangUp() {
  ClosePort();
  hungUp_ = true;
  if (OnHangUp) OnHangUp();
}

void TCommPortDriver::poll() {
  if (!IsOpen()) return;
  // A line that went away (an adapter pulled out, the other end of a pseudo-terminal
  // closed) reads as empty; poll tells it hung up. What came before is delivered first.
  pollfd state{fd_, POLLIN, 0};
  const bool gone = ::poll(&state, 1, 0) > 0 && (state.revents & (POLLHUP | POLLERR | POLLNVAL));
  const ssize_t n = ::read(fd_, receiveBuffer_.data(), receiveBuffer_.size());
  if (n > 0) {
    if (OnReceiveData) OnReceiveData(*this, receiveBuffer_.data(), static_cast<std::uint32_t>(n));
  } else if (gone || (n < 0 && errno != EAGAIN && errno != EINTR)) {
    hangUp();
  }
}

}  // namespace kw
