#pragma once
// Which groups the run's mask and crease calls shaped, so that the mesh
// picture's legend can name them: the tool follows the mask value the
// script sets and asks the library the name of each group a call shaped.
#include "host_tool/mesh_picture.h"
#include "host_tool/plugin_library.h"
#include "host_tool/script.h"

namespace tollgram::host_tool {

class ShapingCalls {
public:
    ShapingCalls(const PluginLibrary& library, void* context) : library_(library), context_(context) {}

    // Takes note of a call that ran with this result.
    void note(const ScriptCall& call, float result);

    const ShapedGroups& groups() const { return groups_; }

private:
    std::string groupName(const ScriptCall& call) const;

    const PluginLibrary& library_;
    void* context_;
    int maskValue_ = 0;  // the library's until a script sets it
    ShapedGroups groups_;
};

}  // namespace tollgram::host_tool
