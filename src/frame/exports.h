#pragma once
// The exported functions as the library defines them: the public header's
// declarations, marked for export. Windows exports them through the generated
// module-definition file, which pins the undecorated names.
#if !defined(_WIN32)
#define TOLLGRAM_API __attribute__((visibility("default")))
#endif
#include "tollgram.h"
