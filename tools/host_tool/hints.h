#pragma once
// Lines that tell a script author what to do where the library's result
// alone says nothing: a key in the wrong case, a misspelt export, a call
// that needs a part of the scene the run was not given. The library's
// results stay as they are; a hint only follows them.
#include <string>
#include <vector>

#include "host_tool/script.h"

namespace tollgram::host_tool {

// The keys an export takes in its text; empty for one that takes none.
const std::vector<std::string>& keysOf(const std::string& exportName);

// The name among names that word most likely meant: the same but for case,
// or a letter or two away; empty when none is that close.
std::string nearestName(const std::string& word, const std::vector<std::string>& names);

// Every export's name, in the library's order.
const std::vector<std::string>& exportNames();

// What the run was given besides the calls.
struct SceneParts {
    bool mesh = false, texture = false, alpha = false;
};

// The hint for a call that ran with this result; empty when there is none.
std::string hintFor(const ScriptCall& call, float result, const SceneParts& scene);

// "NAME is not an export of Tollgram", with the export it may have meant.
std::string notAnExport(const std::string& name);

}  // namespace tollgram::host_tool
