#include "host_tool/shaping_calls.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tollgram::host_tool {

namespace {
void addOnce(std::vector<std::string>& names, const std::string& name) {
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}
}  // namespace

std::string ShapingCalls::groupName(const ScriptCall& call) const {
    if (call.exportName == "SetMesh3DFromOBJSmoothGroup") {
        const ExportFunction value = library_.find("GetOBJSmoothGroupInfo");
        if (value == nullptr) return {};
        const float number = value("value", call.value, nullptr, 0, 0, 0, context_);
        return "smoothing group " + std::to_string(static_cast<long>(number));
    }
    const ExportFunction name = library_.find("GetOBJGroupInfo");
    if (name == nullptr) return {};
    char buffer[512] = {};
    if (name("name", call.value, buffer, sizeof buffer, 0, 0, context_) != 0.0f) return {};
    return std::string("\"") + buffer + "\"";
}

void ShapingCalls::note(const ScriptCall& call, float result) {
    if (call.exportName == "SetMesh3DInfo" && call.text == "maskValue" && result == 0.0f && std::isfinite(call.value) &&
        std::fabs(call.value) < 2147483648.0) {
        // The low 8 bits of the value truncated toward zero, as the library keeps it.
        maskValue_ = static_cast<int>(static_cast<uint32_t>(static_cast<int32_t>(call.value)) & 0xFFu);
        return;
    }
    if (call.exportName == "SetMesh3DInfo" && call.text == "smoothAll" && result >= 0.0f) {
        groups_.creased.clear();  // every crease is gone, whichever group made it
        return;
    }
    if (call.exportName != "SetMesh3DFromOBJGroup" && call.exportName != "SetMesh3DFromOBJSmoothGroup") return;
    if (!call.text || result <= 0.0f) return;
    const std::string name = groupName(call);
    if (name.empty()) return;
    if (*call.text == "mask" && maskValue_ != 0) addOnce(groups_.masked[maskValue_], name);
    if (*call.text == "crease") addOnce(groups_.creased, name);
}

}  // namespace tollgram::host_tool
