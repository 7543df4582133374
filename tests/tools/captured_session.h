#pragma once
// A session of the tool run on a script given as text, with what it
// printed on each of its two streams.
#include <cstdio>
#include <sstream>
#include <string>

#include "host_tool/session.h"

namespace tollgram::host_tool::test_support {

inline std::string readAll(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
    return text;
}

struct CapturedSession {
    int exitCode;
    std::string out, err;
};

// Runs script with options on the library under test.
inline CapturedSession runCaptured(SessionOptions options, const std::string& script) {
    options.library = TOLLGRAM_LIBRARY_FILE;
    std::istringstream lines(script);
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    CapturedSession result{runSession(options, lines, out, err), readAll(out), readAll(err)};
    std::fclose(out);
    std::fclose(err);
    return result;
}

}  // namespace tollgram::host_tool::test_support
