#pragma once
// Gives an open terminal device any rate, also those without a standard constant (14400,
// 56000). Kept apart because the kernel's termios2 header cannot live beside <termios.h>.
namespace kw {
// True when the device took the rate.
bool setLineRate(int fd, int rate);
}  // namespace kw
