#pragma once
// "1 vertex", "2 vertices": a count with its noun, as the tool's lines read.
#include <cstddef>
#include <string>

namespace tollgram::host_tool {

inline std::string counted(size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace tollgram::host_tool
