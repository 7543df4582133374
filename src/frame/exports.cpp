// The shims: one per line of the export table, each only packing the
// arguments and running the work under the guard, which turns its outcome
// into the float with the table's failure result.
#include "frame/exports.h"

#include "frame/call_frame.h"
#include "frame/guarded_call.h"

extern "C" {
#define TOLLGRAM_EXPORT(name, failure)                                                           \
    float TOLLGRAM_CALL name(const char* text, double value, char* buffer, int32_t bufferSize,     \
                             uint32_t spare1, uint32_t spare2, void* context) {                    \
        const tollgram::CallFrame frame{text, value, buffer, bufferSize, spare1, spare2, context}; \
        return tollgram::guardedCall(&tollgram::exports::name, frame, failure);                     \
    }
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
}
