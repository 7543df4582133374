#pragma once
// A command line split into arguments the way the Microsoft C runtime splits
// a Windows program's command line: blanks and tabs separate, double quotes
// group (and are dropped), 2n backslashes before a quote give n backslashes
// and a grouping quote, 2n+1 give n backslashes and a literal quote, other
// backslashes are literal, and "" inside a group is a literal quote. Used on
// POSIX so that a linked program gets the arguments it would on Windows.
#include <string>
#include <string_view>
#include <vector>

namespace tollgram::platform {

std::vector<std::string> splitCommandLine(std::string_view line);

}  // namespace tollgram::platform
