#pragma once
// The exported functions as Kavrex sees them: undecorated C names, the cdecl
// convention, seven arguments, a float in st0.
#include <cstdint>

#if defined(_WIN32)
// Exported through the generated module-definition file, which pins the
// undecorated names.
#define TOLLGRAM_API
#define TOLLGRAM_CALL __cdecl
#else
#define TOLLGRAM_API __attribute__((visibility("default")))
#define TOLLGRAM_CALL
#endif

extern "C" {
#define TOLLGRAM_EXPORT(name, failure)                                                        \
    TOLLGRAM_API float TOLLGRAM_CALL name(const char* text, double value, char* buffer,      \
                                          int32_t bufferSize, uint32_t spare1, uint32_t spare2, \
                                          void* context);
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
}
