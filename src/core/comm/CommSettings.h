#pragma once
// How the communication window sets up its port from the machine profile each time it
// becomes active, and what it tells the user about the result.
#include <string>
#include <string_view>

#include "core/comm/CommPortDriver.h"

namespace kw {

class MachineProfile;

inline constexpr std::string_view kConnectedStatus = "Connected to Comm Port ";
inline constexpr std::string_view kConnectErrorStatus =
    "Error: could not connect. Check COM port settings in \"Setup\" and try again.";
inline constexpr std::string_view kConnectErrorTransmit = "Error: Usually the selected port is in use by another program  ";
inline constexpr std::string_view kConnectErrorReceive = "Error: You may have selected the same port as the Mouse ";

// Gives the closed driver the profile's buffer size, port, device paths, rate, parity, flow
// control, data and stop bits. A group with no button checked leaves its property as it was.
void applyProfileSettings(TCommPortDriver& driver, const MachineProfile& profile);

// The status bar's text after OpenPort: connected to port 1 to 4, or the error.
std::string connectStatus(const TCommPortDriver& driver, bool opened);

}  // namespace kw
