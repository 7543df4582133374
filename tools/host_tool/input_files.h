#pragma once
// Why an input file of the tool (a script, --mesh, --texture, --ui) cannot
// be used, in words a script author can act on.
#include <string>

namespace tollgram::host_tool {

// "there is no such file (relative paths start in FOLDER)", "it is a
// folder", or "it cannot be opened"; for a path that cannot be read.
std::string whyUnreadable(const std::string& path);

// Whether the file's first bytes hold a zero byte, as pictures and other
// binary files do and text files do not.
bool holdsBinaryData(const std::string& path);

}  // namespace tollgram::host_tool
