#pragma once
// A field of the process's status in KiB (Linux: /proc/self/status, such
// as "VmRSS:" or "VmHWM:", the resident peak); -1 when it can't be read.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace tollgram::bench {

inline long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t length = std::strlen(field);
    while (std::getline(status, line)) {
        if (line.compare(0, length, field) == 0) return std::strtol(line.c_str() + length + 1, nullptr, 10);
    }
    return -1;
}

}  // namespace tollgram::bench
