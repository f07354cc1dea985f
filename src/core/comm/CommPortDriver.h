#pragma once
// TCommPortDriver: owns one serial line, "Com 1" to "Com 4", each a device path
// (/dev/ttyS0 to /dev/ttyS3 unless the profile names others). Opens it exclusively with its
// line settings, writes with an output time-out, reads what has arrived without waiting and
// hands it to OnReceiveData, and drives DTR and RTS. The window calls poll() from a timer
// every ComPortPollingDelay milliseconds while the port is open.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/comm/CommLine.h"

namespace kw {

enum TComPortNumber { pnCOM1, pnCOM2, pnCOM3, pnCOM4 };
enum TComPortBaudRate {
  br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400, br56000, br57600, br115200
};
enum TComPortDataBits { db5BITS, db6BITS, db7BITS, db8BITS };
enum TComPortStopBits { sb1BITS, sb1HALFBITS, sb2BITS };
enum TComPortParity { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum TComPortHwHandshaking { hhNONE, hhRTSCTS };
enum TComPortSwHandshaking { shNONE, shXONXOFF };

// The rate of each speed ordinal.
int baudRateOf(TComPortBaudRate speed);
// The device path "Com N" stands for when the profile names none.
std::string defaultDevicePath(int portIndex);
// Serial devices this system has: the stable names under /dev/serial/by-id first, then
// /dev/ttyUSB*, /dev/ttyACM* and /dev/ttyS0 to /dev/ttyS3.
std::vector<std::string> serialDevices();

class TCommPortDriver : public CommLine {
 public:
  using ReceiveDataEvent = std::function<void(TCommPortDriver& sender, const unsigned char* data, std::uint32_t size)>;

  explicit TCommPortDriver(CommClock& clock);
  ~TCommPortDriver() override;
  TCommPortDriver(const TCommPortDriver&) = delete;
  TCommPortDriver& operator=(const TCommPortDriver&) = delete;

  // Properties. ComPort and ComPortInBufSize change only while closed; the line settings
  // take effect at once while open.
  TComPortNumber ComPort() const { return port_; }
  void setComPort(TComPortNumber port);
  TComPortBaudRate ComPortSpeed() const { return speed_; }
  void setComPortSpeed(TComPortBaudRate speed);
  TComPortDataBits ComPortDataBits() const { return dataBits_; }
  void setComPortDataBits(TComPortDataBits bits);
  TComPortStopBits ComPortStopBits() const { return stopBits_; }
  void setComPortStopBits(TComPortStopBits bits);
  TComPortParity ComPortParity() const { return parity_; }
  void setComPortParity(TComPortParity parity);
  TComPortHwHandshaking ComPortHwHandshaking() const { return hw_; }
  void setComPortHwHandshaking(TComPortHwHandshaking hw);
  TComPortSwHandshaking ComPortSwHandshaking() const { return sw_; }
  void setComPortSwHandshaking(TComPortSwHandshaking sw);
  // The receive buffer, in bytes: one poll delivers at most this many. Wider than 16 bits,
  // so every "Com Buffer" of the setup window (up to 999 K) is taken as it is.
  std::uint32_t ComPortInBufSize() const { return static_cast<std::uint32_t>(receiveBuffer_.size()); }
  void setComPortInBufSize(std::uint32_t size);
  std::uint16_t ComPortOutBufSize() const { return 2048; }
  std::uint16_t ComPortPollingDelay() const { return pollingDelay_; }
  void setComPortPollingDelay(std::uint16_t ms) { pollingDelay_ = ms; }
  bool EnableDTROnOpen = true;
  std::uint16_t OutputTimeout = 4000;
  ReceiveDataEvent OnReceiveData;
  // Called when the line goes away under the program (the port is then closed).
  std::function<void()> OnHangUp;
  // The XON limit the line settings ask for: a quarter of the receive buffer.
  std::uint32_t xonLimit() const { return ComPortInBufSize() / 4; }

  // The device path of each port; setDevicePath changes it only while closed.
  const std::string& devicePath(TComPortNumber port) const { return devices_[port]; }
  void setDevicePath(TComPortNumber port, std::string path);
  // Why the last OpenPort failed, as the system said it.
  const std::string& openError() const { return openError_; }

  bool OpenPort();
  void ClosePort() override;
  bool IsOpen() const override { return fd_ >= 0; }
  void ApplyLineSettings();
  void PurgeBuffers(bool input, bool output) override;
  int OutputSpaceFree() override;
  std::int32_t SendBytes(const unsigned char* data, std::uint32_t count) override;
  void SetDtrLine(bool on) override;
  void SetRtsLine(bool on) override;
  SendFault lastFault() const override { return fault_; }

  // One tick of the polling timer: reads what has arrived and hands it to OnReceiveData.
  void poll();

 private:
  void setLine(int bit, bool on);
  void hangUp();
  CommClock& clock_;
  int fd_ = -1;
  TComPortNumber port_ = pnCOM2;
  TComPortBaudRate speed_ = br9600;
  TComPortDataBits dataBits_ = db8BITS;
  TComPortStopBits stopBits_ = sb1BITS;
  TComPortParity parity_ = ptNONE;
  TComPortHwHandshaking hw_ = hhNONE;
  TComPortSwHandshaking sw_ = shNONE;
  std::uint16_t pollingDelay_ = 50;
  std::vector<unsigned char> receiveBuffer_;
  std::array<std::string, 4> devices_;
  std::string openError_;
  SendFault fault_ = SendFault::None;
  bool hungUp_ = false;  // the line went away since it was last opened
};

}  // namespace kw
