#pragma once
// What the library asks of its process: the processors it may run on, for
// the parallel read's threads, and the settings of its environment.
// POSIX: sched_getaffinity where the system has it, else sysconf.
// Windows: GetProcessAffinityMask.
#include "platform/system.h"
