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

// The names that hold every word of word (its capitalised parts, "Export"
// and "Group" of ExportGroup), in any order and case, with the fewest
// words more: ExportGroup gives ExportOBJGroup, CopyFile both FileCopyFrom
// and FileCopyTo. Empty when none holds them all.
std::vector<std::string> namesByWords(const std::string& word, const std::vector<std::string>& names);

// What an export reads of a call besides its text: what its number means
// (empty when it reads none) and whether it reads a text in the buffer.
struct ExportArguments {
    const char* value = "";
    bool bufferText = false;
};
const ExportArguments& argumentsOf(const std::string& exportName);

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
