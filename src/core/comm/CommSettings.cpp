#include "core/comm/CommSettings.h"

#include <utility>

#include "core/profile/MachineProfile.h"

namespace kw {

namespace {

// The first checked control of a group gives its value.
template <typename T>
void pick(const MachineProfile& profile, std::initializer_list<std::pair<const char*, T>> group,
          const std::function<void(T)>& set) {
  for (const auto& [control, value] : group)
    if (profile.flag(control)) {
      set(value);
      return;
    }
}

}  // namespace

void applyProfileSettings(TCommPortDriver& d, const MachineProfile& p) {
  if (p.number("BufferSpinEdit1") > 1)
    d.setComPortInBufSize(static_cast<std::uint32_t>(p.number("BufferSpinEdit1")) * 1024);
  const TComPortNumber ports[] = {pnCOM1, pnCOM2, pnCOM3, pnCOM4};
  for (int i = 0; i < 4; ++i) {
    const std::string& path = p.text("ComDevice" + std::to_string(i + 1));
    d.setDevicePath(ports[i], path.empty() ? defaultDevicePath(i) : path);
  }
  pick<TComPortNumber>(p, {{"RadioButton14", pnCOM1}, {"RadioButton15", pnCOM2}, {"RadioButton22", pnCOM3},
                           {"RadioButton23", pnCOM4}},
                       [&](TComPortNumber v) { d.setComPort(v); });
  pick<TComPortBaudRate>(p, {{"RadioButton1", br300}, {"RadioButton2", br600}, {"RadioButton3", br1200},
                             {"RadioButton4", br2400}, {"RadioButton5", br4800}, {"RadioButton6", br9600},
                             {"RadioButton24", br14400}, {"RadioButton7", br19200}, {"RadioButton25", br38400},
                             {"RadioButton26", br56000}, {"RadioButton29", br57600}, {"RadioButton30", br115200}},
                         [&](TComPortBaudRate v) { d.setComPortSpeed(v); });
  pick<TComPortParity>(p, {{"RadioButton8", ptNONE}, {"RadioButton9", ptEVEN}, {"RadioButton10", ptODD}},
                       [&](TComPortParity v) { d.setComPortParity(v); });
  using Flow = std::pair<TComPortHwHandshaking, TComPortSwHandshaking>;
  pick<Flow>(p, {{"RadioButton11", {hhNONE, shNONE}}, {"RadioButton20", {hhRTSCTS, shNONE}},
                 {"RadioButton21", {hhNONE, shXONXOFF}}, {"RadioButton28", {hhRTSCTS, shXONXOFF}}},
             [&](Flow v) {
               d.setComPortHwHandshaking(v.first);
               d.setComPortSwHandshaking(v.second);
             });
  pick<TComPortDataBits>(p, {{"RadioButton18", db8BITS}, {"RadioButton19", db7BITS}},
                         [&](TComPortDataBits v) { d.setComPortDataBits(v); });
  pick<TComPortStopBits>(p, {{"RadioButton12", sb1BITS}, {"RadioButton13", sb2BITS}, {"RadioButton27", sb1HALFBITS}},
                         [&](TComPortStopBits v) { d.setComPortStopBits(v); });
}

std::string connectStatus(const TCommPortDriver& driver, bool opened) {
  if (!opened) return std::string(kConnectErrorStatus);
  return std::string(kConnectedStatus) + std::to_string(driver.ComPort() + 1);
}

}  // namespace kw
