#pragma once
// Calling the files exports in-process with only the arguments a test needs.
#include <string>

#include "frame/call_frame.h"
#include "platform/paths.h"
#include "support/export_work.h"

namespace tollgram::test {

inline float run(ExportWork work, const char* text = nullptr, double value = 0.0, char* buffer = nullptr,
                 int32_t bufferSize = 0) {
    return resultOfWork(work, CallFrame{text, value, buffer, bufferSize, 0, 0, nullptr});
}

// The platform's separator in place of every '\\' of a path written for
// Windows, so that one table serves both builds.
inline std::string native(std::string text) {
    for (char& c : text) {
        if (c == '\\') c = platform::kPathSeparator;
    }
    return text;
}

}  // namespace tollgram::test
