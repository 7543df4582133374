#pragma once
// The separator between a directory and a name in the paths the library
// builds and takes apart: a backslash on Windows, a slash elsewhere.

namespace tollgram::platform {

#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace tollgram::platform
