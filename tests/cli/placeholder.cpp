#include "core/app/UiPort.h"
