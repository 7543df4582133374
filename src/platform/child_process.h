#pragma once
// Starting other programs on POSIX, always directly (argument vectors, no
// shell), so that no text the library passes on is ever read as a command.
// Used by the zenity dialog and the shell launch; Windows has neither.
#include <cstddef>
#include <string>
#include <vector>

namespace tollgram::platform {

// The program's path: name itself when it contains a slash, else the first
// executable of that name in PATH. Empty when there is none.
std::string findProgram(const std::string& name);

// Runs program (a path) with arguments, standard input from /dev/null,
// collects at most outputLimit bytes of its standard output and waits for
// it. False when it could not be started, did not exit normally, or wrote
// more than outputLimit; otherwise true with its exit status.
bool runForOutput(const std::string& program, const std::vector<std::string>& arguments, size_t outputLimit,
                  std::string& output, int& exitStatus);

// Starts program (a path) with arguments and does not wait for it: it runs
// in a session of its own and is never left behind as a zombie. 0 once the
// program is running, else the errno of the failed start.
int startDetached(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace tollgram::platform
