#pragma once
// The platform's message box, as the library shows it (through the system
// table, system.h). Windows: MessageBoxA with no owner window. POSIX: the
// caption and text written to standard error.
#include "platform/system.h"

