#pragma once
// The hint after a call whose bare result says nothing of why: the counts
// behind a -3, the groups there are, why there is no current model, where
// relative paths start, a file that is not the OBJ text the library took it
// for, a thumbnail larger than the process can hold. The tool asks the
// library (queries that change nothing) and reads the files itself; a hint
// never changes the call or its result.
#include <filesystem>
#include <string>
#include <utility>

#include "host_tool/hints.h"
#include "host_tool/plugin_library.h"
#include "host_tool/script.h"

namespace tollgram::host_tool {

class CallHints {
public:
    // scriptFolder: the folder of the script file, empty for standard input.
    CallHints(const PluginLibrary& library, void* context, const SceneParts& scene, size_t hostVertexCount,
              std::filesystem::path scriptFolder)
        : library_(library), context_(context), scene_(scene), hostVertexCount_(hostVertexCount),
          scriptFolder_(std::move(scriptFolder)) {}

    // The hint for the call on line `line` that ran with this result, one
    // line; empty when there is none.
    std::string after(const ScriptCall& call, float result, int line);

private:
    std::string modelHint(const ScriptCall& call, float result) const;
    std::string loadHint(const ScriptCall& call) const;
    std::string thumbnailHint(const ScriptCall& call, float result) const;
    bool hasCurrentModel() const;
    float query(const char* exportName, const char* key, double value = 0.0) const;

    const PluginLibrary& library_;
    void* context_;
    SceneParts scene_;
    size_t hostVertexCount_;
    std::filesystem::path scriptFolder_;
    // Which call left no current model: "LoadOBJFile "a.obj" (line 3) made
    // none"; empty before the first.
    std::string whyNoModel_;
    int thumbnailWidth_ = 0, thumbnailHeight_ = 0;
};

}  // namespace tollgram::host_tool
