#pragma once
// An export's work called in-process, its outcome turned into the float the
// export returns, but without the shim's guard: an exception reaches the
// test.
#include <gtest/gtest.h>

#include <limits>

#include "frame/call_frame.h"

namespace tollgram::test {

inline float failureResultOf(ExportWork work) {
    struct Entry {
        ExportWork work;
        float failure;
    };
    static const Entry entries[] = {
#define TOLLGRAM_EXPORT(name, failure) {&exports::name, failure},
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
    };
    for (const Entry& entry : entries) {
        if (entry.work == work) return entry.failure;
    }
    ADD_FAILURE() << "no export has this work";
    return std::numeric_limits<float>::quiet_NaN();
}

inline float resultOfWork(ExportWork work, const CallFrame& frame) {
    return resultOf(work(frame), failureResultOf(work));
}

}  // namespace tollgram::test
