#pragma once
// Every export runs its work through here, so that no exception ever crosses
// into Kavrex: a throw becomes the export's failure result.
#include "frame/call_frame.h"

namespace tollgram {

inline float guardedCall(ExportWork work, const CallFrame& frame, float failure) noexcept {
    try {
        return work(frame);
    } catch (...) {
        return failure;
    }
}

}  // namespace tollgram
