#pragma once
// Paths as the library builds and takes them apart: the separator between a
// directory and a name (a backslash on Windows, a slash elsewhere), and the
// directory part of a path.
#include <string_view>

namespace tollgram::platform {

#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Paths that files name (an OBJ file's material libraries, their texture
// maps) may have been written on either system.
inline constexpr std::string_view kEitherSeparator = "/\\";

// The path up to and including its last separator (any character of
// separators), or empty when it has none.
constexpr std::string_view directoryOf(std::string_view path, std::string_view separators) {
    const size_t last = path.find_last_of(separators);
    return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

}  // namespace tollgram::platform
