#pragma once
// Every export runs its work through here, so that no exception ever crosses
// into Kavrex, and so that every outcome becomes its float in one way: a
// throw, like a failure, becomes the export's failure result.
#include "frame/call_frame.h"

namespace tollgram {

inline float guardedCall(ExportWork work, const CallFrame& frame, float failure) noexcept {
    try {
        return resultOf(work(frame), failure);
    } catch (...) {
        return failure;
    }
}

}  // namespace tollgram
