/* A DLL with the faults the file check of Tollgram.dll must find: an export
 * that removes its own arguments (stdcall's `ret $32`), a decorated name in
 * place of an export, and an import of a MinGW runtime DLL. It is read, never
 * loaded. */
#include <pthread.h>
#include <stdint.h>

float __stdcall VersionRemovingItsArguments(const char* text, double value, char* buffer, int32_t bufferSize,
                                            uint32_t spare1, uint32_t spare2, void* context) {
    (void)text, (void)buffer, (void)bufferSize, (void)spare1, (void)spare2, (void)context;
    return (float)value + (float)(uintptr_t)pthread_self();
}

float LoadOBJFile(const char* text, double value, char* buffer, int32_t bufferSize, uint32_t spare1,
                  uint32_t spare2, void* context) {
    (void)text, (void)buffer, (void)bufferSize, (void)spare1, (void)spare2, (void)context;
    return (float)value;
}
