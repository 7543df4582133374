#pragma once
// The seven arguments every export receives from Kavrex, in call order, and
// the shape of the function a subsystem provides for each export: it reads
// the frame and returns its outcome, which the shim turns into the float.
//
// Kavrex passes them on the stack with the cdecl convention of 32-bit x86:
// text +4, value +8 (a double), buffer +16, bufferSize +20, spare1 +24,
// spare2 +28, context +32; the float result comes back in st0.
#include <cstdint>

#include "frame/outcome.h"

namespace tollgram {

struct CallFrame {
    const char* text;      // key, path, name or filter; may be null
    double value;          // index, flag, size or new field value
    char* buffer;          // caller-owned text buffer; may be null
    int32_t bufferSize;    // capacity of buffer, terminator included
    uint32_t spare1;       // read by no export
    uint32_t spare2;       // read by no export
    void* context;         // the host's HostContext; may be null
};

using ExportWork = Outcome (*)(const CallFrame&);

// The work behind each export, defined in the exports.cpp of the subsystem
// that owns it.
namespace exports {
#define TOLLGRAM_EXPORT(name, failure) Outcome name(const CallFrame& frame);
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
}  // namespace exports

}  // namespace tollgram
