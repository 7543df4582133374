#pragma once
// Why an input file of the tool (a script, --mesh, --texture, --ui) cannot
// be used, in words a script author can act on.
#include <cstdio>
#include <string>

namespace tollgram::host_tool {

// "there is no such file (relative paths start in FOLDER)", "it is a
// folder", or "it cannot be opened"; for a path that cannot be read.
std::string whyUnreadable(const std::string& path);

// Whether path names a folder (or a link to one).
bool isFolder(const std::string& path);

// The whole of a file's bytes; false with the reason (as whyUnreadable
// gives it, or "it could not be read to its end") when there are none to
// take. A folder is refused on every system: POSIX opens one as a file
// whose every read fails.
bool readInputFile(const std::string& path, std::string& bytes, std::string& why);

// The rest of an open stream's bytes; false when a read failed.
bool readWholeStream(std::FILE* stream, std::string& bytes);

// Whether the file's first bytes hold a zero byte, as pictures and other
// binary files do and text files do not.
bool holdsBinaryData(const std::string& path);

}  // namespace tollgram::host_tool
