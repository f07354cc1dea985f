#include "core/comm/LineRate.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace kw {

bool setLineRate(int fd, int rate) {
  struct termios2 settings {};
  if (ioctl(fd, TCGETS2, &settings) != 0) return false;
  settings.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
  settings.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  settings.c_ispeed = static_cast<speed_t>(rate);
  settings.c_ospeed = static_cast<speed_t>(rate);
  return ioctl(fd, TCSETS2, &settings) == 0;
}

}  // namespace kw
