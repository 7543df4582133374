#include "host_tool/call_hints.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "host_tool/counted.h"
#include "host_tool/input_files.h"
#include "host_tool/system_memory.h"

namespace tollgram::host_tool {

namespace fs = std::filesystem;

namespace {

bool takesGroup(const std::string& name) {
    return name == "GetOBJGroupInfo" || name == "ExportOBJGroup" || name == "SetMesh3DFromOBJGroup";
}
bool takesSmoothingGroup(const std::string& name) {
    return name == "GetOBJSmoothGroupInfo" || name == "ExportOBJSmoothGroup" || name == "SetMesh3DFromOBJSmoothGroup";
}
bool needsModel(const std::string& name) {
    return takesGroup(name) || takesSmoothingGroup(name) || name == "GetOBJInfo" || name == "ReplaceOBJVertices";
}

// The value as the library takes a number: truncated toward zero.
long long numberOf(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 9e15) return -1;
    return static_cast<long long>(value);
}

// Paths as the script wrote them, in UTF-8, whatever the system's own
// narrow texts are.
fs::path pathOf(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }
std::string textOf(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The first coordinate line of an OBJ file whose numbers do not read as
// numbers ("v 0,5 0 0", "v 1 0 zz"), as "FILE:LINE: ...", or empty.
std::string unreadableCoordinates(const std::string& path) {
    std::ifstream file(pathOf(path), std::ios::binary);
    std::string line;
    for (long number = 1; std::getline(file, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string keyword, word;
        words >> keyword;
        if (keyword != "v" && keyword != "vt" && keyword != "vn") continue;
        while (words >> word) {
            if (word[0] == '#') break;
            char* end = nullptr;
            std::strtod(word.c_str(), &end);
            if (end == word.c_str() + word.size()) continue;
            const bool comma = word.find(',') != std::string::npos;
            return path + ":" + std::to_string(number) + ": \"" + line + "\": \"" + word + "\" is not a number" +
                   (comma ? " (the decimal point is a full stop, not a comma)" : "") +
                   ": the library loads such lines without a word, and the model's coordinates are not the file's";
        }
    }
    return {};
}

std::string bytesText(double bytes) {
    char text[32];
    if (bytes >= 1024.0 * 1024 * 1024) {
        std::snprintf(text, sizeof text, "%.1f GiB", bytes / (1024.0 * 1024 * 1024));
    } else {
        std::snprintf(text, sizeof text, "%.0f MiB", bytes / (1024.0 * 1024));
    }
    return text;
}

}  // namespace

float CallHints::query(const char* exportName, const char* key, double value) const {
    const ExportFunction function = library_.find(exportName);
    return function ? function(key, value, nullptr, 0, 0, 0, context_) : -1.0f;
}

// The smoothing-group count is -1 only when there is no current model.
bool CallHints::hasCurrentModel() const { return query("GetOBJSmoothGroupInfo", "count") != -1.0f; }

std::string CallHints::after(const ScriptCall& call, float result, int line) {
    std::string hint = hintFor(call, result, scene_);
    if (hint.empty() && needsModel(call.exportName)) hint = modelHint(call, result);
    if (hint.empty() && call.exportName == "LoadOBJFile") hint = loadHint(call);
    if (hint.empty() && call.exportName == "SaveTextureThumbnail") hint = thumbnailHint(call, result);

    const std::string where = describeCall(call) + " (line " + std::to_string(line) + ")";
    if (call.exportName == "LoadOBJFile") whyNoModel_ = hasCurrentModel() ? "" : where + " made none";
    if (call.exportName == "FreeOBJModel") whyNoModel_ = where + " ended it";
    if (call.exportName == "SetThumbnail" && result == 0.0f && call.text) {
        const long long size = numberOf(call.value);
        if (*call.text == "width") thumbnailWidth_ = static_cast<int>(size);
        if (*call.text == "height") thumbnailHeight_ = static_cast<int>(size);
    }
    return hint;
}

std::string CallHints::modelHint(const ScriptCall& call, float result) const {
    const bool failed = result == -1.0f || (call.exportName == "GetOBJInfo" && result == 0.0f);
    if (failed && !hasCurrentModel()) {
        return "no current model: " + (whyNoModel_.empty() ? "load one with LoadOBJFile first" : whyNoModel_);
    }
    if (result == -3.0f && call.exportName.rfind("SetMesh3DFromOBJ", 0) == 0) {
        const auto modelVertices = static_cast<size_t>(query("GetOBJInfo", "vertexCount"));
        return "the model has " + counted(modelVertices, "vertex", "vertices") + " and the host mesh " +
               std::to_string(hostVertexCount_) +
               ": masks and creases take the host's vertices to be the model's, in the same order";
    }
    if (result == -3.0f && call.exportName == "ReplaceOBJVertices") {
        return "the current model has " +
               counted(static_cast<size_t>(query("GetOBJInfo", "vertexCount")), "vertex", "vertices") +
               "; the file's vertex count differs";
    }
    if (result != -1.0f || !call.text) return {};
    const long long n = numberOf(call.value);
    if (takesGroup(call.exportName)) {
        const auto groups = static_cast<long long>(query("GetOBJInfo", "groupCount"));
        const bool whole = call.exportName == "ExportOBJGroup";
        if (n >= (whole ? 0 : 1) && n <= groups) return {};
        return "the model has " + counted(static_cast<size_t>(groups), "group", "groups") +
               (groups == 0 ? std::string(whole ? ": 0 writes the whole model" : "")
                            : std::string(": numbers ") + (whole ? "0 (the whole model) or " : "") + "1 to " +
                                  std::to_string(groups));
    }
    if (takesSmoothingGroup(call.exportName) && (call.exportName != "GetOBJSmoothGroupInfo" || *call.text == "value")) {
        const auto count = static_cast<long long>(query("GetOBJSmoothGroupInfo", "count"));
        if (n >= 1 && n <= count) return {};
        return "the model has " + counted(static_cast<size_t>(count), "smoothing group", "smoothing groups") +
               (count == 0 ? std::string() : ": positions 1 to " + std::to_string(count) +
                                                 " (GetOBJSmoothGroupInfo \"value\" N gives the number at N)");
    }
    return {};
}

std::string CallHints::loadHint(const ScriptCall& call) const {
    if (!call.text || call.text->empty()) return {};
    const fs::path path = pathOf(*call.text);
    std::error_code failure;
    if (!fs::exists(path, failure)) {
        if (path.is_absolute()) return {};
        const fs::path beside = scriptFolder_ / path;
        if (!scriptFolder_.empty() && fs::exists(beside, failure)) {
            return "relative paths start from the folder the tool runs in, not the script's: from here the file is \"" +
                   textOf(fs::relative(beside, failure)) + "\"";
        }
        return "relative paths start from the folder the tool runs in, not from the script's or the model's; a full "
               "path works from anywhere";
    }
    if (!hasCurrentModel() || fs::is_directory(path, failure)) return {};
    if (holdsBinaryData(path.string())) {
        return *call.text + " is not an OBJ file (it holds binary data): the model the library made of it is empty";
    }
    return unreadableCoordinates(*call.text);
}

std::string CallHints::thumbnailHint(const ScriptCall& call, float result) const {
    if (result != -1.0f || !scene_.texture) return {};
    const long long asked = numberOf(call.value);
    const double width = asked > 0 ? static_cast<double>(asked) : thumbnailWidth_;
    const double height = asked > 0 ? static_cast<double>(asked) : thumbnailHeight_;
    if (width < 4 || height < 4) return {};
    // The largest of the pictures the thumbnail is made through: its
    // finished size at 4 bytes a pixel.
    const double bytes = width * height * 4;
    const auto available = static_cast<double>(memoryAvailable());
    if (available >= bytes) return {};
    const auto side = static_cast<long long>(std::sqrt(available / 4));
    return "a " + std::to_string(static_cast<long long>(width)) + " x " + std::to_string(static_cast<long long>(height)) +
           " thumbnail takes " + bytesText(bytes) + " at 4 bytes a pixel, and this process can have " +
           bytesText(available) + " more: about " + std::to_string(side) + " x " + std::to_string(side) + " at most fits";
}

}  // namespace tollgram::host_tool
