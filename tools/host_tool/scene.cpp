#include "host_tool/scene.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "host/records.h"
#include "host_tool/input_files.h"
#include "stb_image.h"

namespace tollgram::host_tool {

using substitute::SubstituteHost;

void installMesh(SubstituteHost& host, const SceneMesh& mesh) {
    host.setMesh(static_cast<int32_t>(mesh.positions.size() / 3), static_cast<int32_t>(mesh.polygons.size()));
    if (!mesh.groupNames.empty()) host.setGroupNames(mesh.groupNames);
}

bool installTextureFile(SubstituteHost& host, const std::string& path, std::string& error) {
    int width = 0, height = 0, channels = 0;
    unsigned char* rgba = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (rgba == nullptr) {
        const std::string reason = stbi_failure_reason() ? stbi_failure_reason() : "";
        if (isFolder(path) || std::ifstream(path, std::ios::binary).fail()) {
            error = "cannot read " + path + ": " + whyUnreadable(path);
        } else if (reason == "unknown image type") {
            error = path + " is not a picture the tool reads (PNG, JPEG, BMP, TGA, PSD, GIF, HDR, PIC or PNM)";
        } else {
            error = path + " is a damaged picture or one of a kind the tool does not read (" + reason + ")";
        }
        return false;
    }
    // The host keeps blue, green, red, and a fourth byte, in that order.
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < pixels; ++i) std::swap(rgba[4 * i], rgba[4 * i + 2]);
    host.setTexture(width, height, 32, rgba);
    stbi_image_free(rgba);
    return true;
}

namespace {

struct InterfaceLine {
    int depth;
    std::string name;
    bool container = false;
    std::string firstControlName, secondControlName;
};

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool parseInterfaceLine(const std::string& raw, InterfaceLine& line, std::string& error) {
    size_t column = 0;
    int depth = 0;
    while (column < raw.size() && (raw[column] == ' ' || raw[column] == '\t')) {
        if (raw[column] == '\t') {
            ++depth;
            ++column;
        } else if (column + 1 < raw.size() && raw[column + 1] == ' ') {
            ++depth;
            column += 2;
        } else {
            error = "indent by two spaces or a tab a level";
            return false;
        }
    }
    std::string text = trimmed(raw.substr(column));
    line = InterfaceLine{};
    line.depth = depth;
    while (!text.empty() && text.back() == ']') {
        const size_t open = text.rfind('[');
        if (open == std::string::npos) break;
        const std::string mark = text.substr(open + 1, text.size() - open - 2);
        if (mark == "container") {
            line.container = true;
        } else if (mark.rfind("button:", 0) == 0) {
            const std::string names = mark.substr(7);
            const size_t slash = names.find('/');
            line.firstControlName = trimmed(names.substr(0, slash));
            if (slash != std::string::npos) line.secondControlName = trimmed(names.substr(slash + 1));
        } else {
            error = "unknown mark [" + mark + "]: use [container] or [button: First / Second]";
            return false;
        }
        text = trimmed(text.substr(0, open));
    }
    line.name = text;
    return true;
}

}  // namespace

bool installInterfaceText(SubstituteHost& host, const std::string& text, std::string& error) {
    struct Open {
        uint8_t* node;
        bool container;
        std::vector<uint8_t*> children;
    };
    std::vector<Open> open;         // the items whose children are being read, outermost first
    std::vector<uint8_t*> topLevel;
    std::istringstream lines(text);
    std::string raw;
    int lineNumber = 0;

    auto closeDeeperThan = [&](size_t depth) {
        while (open.size() > depth) {
            Open item = std::move(open.back());
            open.pop_back();
            host.linkChildren(item.node, item.children);
            if (item.container) host.setItems(item.node, item.children);
        }
    };

    while (std::getline(lines, raw)) {
        ++lineNumber;
        if (trimmed(raw).empty() || trimmed(raw)[0] == '#') continue;
        InterfaceLine line;
        if (!parseInterfaceLine(raw, line, error)) {
            error = "interface line " + std::to_string(lineNumber) + ": " + error;
            return false;
        }
        if (static_cast<size_t>(line.depth) > open.size()) {
            error = "interface line " + std::to_string(lineNumber) + ": indented deeper than the item above";
            return false;
        }
        closeDeeperThan(static_cast<size_t>(line.depth));
        uint8_t* node = host.makeNode(line.name.c_str());
        if (line.container) {
            host.setControl(node, host::control::kContainerKind, line.name.c_str());
        } else if (!line.firstControlName.empty()) {
            host.setControl(node, 0, line.firstControlName.c_str(),
                            line.secondControlName.empty() ? nullptr : line.secondControlName.c_str());
        }
        (open.empty() ? topLevel : open.back().children).push_back(node);
        open.push_back({node, line.container, {}});
    }
    closeDeeperThan(0);
    if (topLevel.empty()) {
        error = "the interface file names no item";
        return false;
    }
    host.linkChildren(nullptr, topLevel);
    host.setStartNode(topLevel.front());
    return true;
}

bool installInterfaceFile(SubstituteHost& host, const std::string& path, std::string& error) {
    std::ifstream file(path);
    if (isFolder(path) || !file) {
        error = "cannot read " + path + ": " + whyUnreadable(path);
        return false;
    }
    std::stringstream text;
    text << file.rdbuf();
    return installInterfaceText(host, text.str(), error);
}

namespace {
std::string nodeLabel(const uint8_t* node) {
    std::string label = SubstituteHost::nameOf(host::pointerAt(node, host::node::kName));
    const uint8_t* control = host::pointerAt(node, host::node::kControl);
    if (control != nullptr && host::readI16(control, host::control::kKind) == host::control::kContainerKind) {
        label += " [container]";
    }
    return label;
}
}  // namespace

std::string describeInterface(SubstituteHost& host) {
    uint8_t* node = host::pointerAt(host::pointerAt(host.context(), host::context::kInterfaceRecord),
                                    host::interface_record::kStartNode);
    if (node == nullptr) return {};
    std::set<const uint8_t*> visited;
    // The top of the tree, as the library finds it.
    while (visited.insert(node).second) {
        if (uint8_t* parent = SubstituteHost::parentOf(node)) node = parent;
        else if (uint8_t* previous = SubstituteHost::previousOf(node)) node = previous;
        else break;
    }
    visited.clear();
    std::string out;
    struct Step { const uint8_t* node; int depth; };
    std::vector<Step> pending{{node, 0}};
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        if (step.node == nullptr) continue;
        if (!visited.insert(step.node).second) {
            out += std::string(2 * step.depth, ' ') + "(the tree repeats itself here)\n";
            continue;
        }
        out += std::string(2 * step.depth, ' ') + nodeLabel(step.node) + "\n";
        pending.push_back({SubstituteHost::nextOf(step.node), step.depth});
        pending.push_back({SubstituteHost::firstChildOf(step.node), step.depth + 1});
    }
    return out;
}

}  // namespace tollgram::host_tool
