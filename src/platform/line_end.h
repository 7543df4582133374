#pragma once
// The line end of a text file on this platform, as a text-mode stream of
// the platform's runtime writes it.

namespace tollgram::platform {

#if defined(_WIN32)
inline constexpr char kLineEnd[] = "\r\n";
#else
inline constexpr char kLineEnd[] = "\n";
#endif
inline constexpr unsigned kLineEndLength = sizeof kLineEnd - 1;

}  // namespace tollgram::platform
