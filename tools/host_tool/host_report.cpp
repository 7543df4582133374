#include "host_tool/host_report.h"

#include <map>

#include "host/records.h"
#include "host_tool/counted.h"
#include "host_tool/scene.h"

namespace tollgram::host_tool {

using substitute::SubstituteHost;

namespace {
std::vector<uint8_t> flagBytes(SubstituteHost& host, uint32_t arrayOffset, uint32_t entrySize, uint32_t byte) {
    std::vector<uint8_t> bytes;
    const uint8_t* array = host::pointerAt(host::pointerAt(host.context(), host::context::kMeshRecord), arrayOffset);
    if (array == nullptr) return bytes;
    const host::HostArray flags = host::readHostArray(array);
    if (flags.elements == nullptr || flags.count <= 0) return bytes;
    bytes.resize(static_cast<size_t>(flags.count));
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = flags.elements[i * entrySize + byte];
    return bytes;
}

std::string recordName(SubstituteHost& host, uint32_t recordOffset, uint32_t nameOffset) {
    const uint8_t* record = host::pointerAt(host.context(), recordOffset);
    return SubstituteHost::nameOf(host::pointerAt(record, nameOffset));
}

void printNameChange(const char* what, const std::string& before, const std::string& after, std::FILE* out,
                     bool& any) {
    if (before == after) return;
    std::fprintf(out, "  %s renamed: \"%s\" -> \"%s\"\n", what, before.c_str(), after.c_str());
    any = true;
}
}  // namespace

HostSnapshot takeSnapshot(SubstituteHost& host) {
    HostSnapshot snapshot;
    snapshot.maskBytes = flagBytes(host, host::mesh::kVertexFlags, host::mesh::kVertexEntrySize, host::mesh::kVertexMaskByte);
    snapshot.creaseBytes =
        flagBytes(host, host::mesh::kPolygonFlags, host::mesh::kPolygonEntrySize, host::mesh::kPolygonCreaseByte);
    const uint8_t* mesh = host::pointerAt(host.context(), host::context::kMeshRecord);
    if (mesh != nullptr) {
        for (uint32_t axis = 0; axis < 3; ++axis) {
            snapshot.importScale[axis] = host::readFloat(mesh, host::mesh::kImportScaleX + 4 * axis);
            snapshot.importOffset[axis] = host::readFloat(mesh, host::mesh::kImportOffsetX + 4 * axis);
        }
        const uint8_t* names = host::pointerAt(mesh, host::mesh::kGroupNames);
        if (names != nullptr) {
            const host::HostArray array = host::readHostArray(names);
            for (int32_t i = 0; array.elements && i < array.count && array.elementSize > 0; ++i) {
                const char* name = reinterpret_cast<const char*>(array.elements) + static_cast<size_t>(i) * array.elementSize;
                snapshot.groupNames.emplace_back(name, strnlen(name, static_cast<size_t>(array.elementSize)));
            }
        }
    }
    snapshot.alphaName = recordName(host, host::context::kAlphaRecord, host::alpha::kName);
    snapshot.textureName = recordName(host, host::context::kTextureRecord, host::texture::kName);
    snapshot.interfaceTree = describeInterface(host);
    return snapshot;
}

int creaseEdgesIn(uint8_t creaseByte) {
    int edges = 0;
    for (int edge = 0; edge < 4; ++edge) edges += (creaseByte >> (2 * edge)) & 3u ? 1 : 0;
    return edges;
}

void reportChanges(const HostSnapshot& before, const HostSnapshot& after, std::FILE* out) {
    bool any = false;
    std::fprintf(out, "What changed in the host's records:\n");

    std::map<int, size_t> maskValues;  // new mask value -> vertices given it
    for (size_t v = 0; v < after.maskBytes.size() && v < before.maskBytes.size(); ++v) {
        if (after.maskBytes[v] != before.maskBytes[v]) ++maskValues[after.maskBytes[v]];
    }
    for (const auto& [value, count] : maskValues) {
        std::fprintf(out, "  mask: %s now %d\n", counted(count, "vertex", "vertices").c_str(), value);
        any = true;
    }
    size_t edgesBefore = 0, edgesAfter = 0, polygonsChanged = 0;
    for (size_t p = 0; p < after.creaseBytes.size() && p < before.creaseBytes.size(); ++p) {
        edgesBefore += static_cast<size_t>(creaseEdgesIn(before.creaseBytes[p]));
        edgesAfter += static_cast<size_t>(creaseEdgesIn(after.creaseBytes[p]));
        if (after.creaseBytes[p] != before.creaseBytes[p]) ++polygonsChanged;
    }
    if (polygonsChanged != 0) {
        std::fprintf(out, "  creases: %s changed, crease edges %zu -> %zu\n",
                     counted(polygonsChanged, "polygon", "polygons").c_str(), edgesBefore, edgesAfter);
        any = true;
    }
    if (before.groupNames != after.groupNames) {
        std::fprintf(out, "  group names now:");
        for (const std::string& name : after.groupNames) std::fprintf(out, " \"%s\"", name.c_str());
        std::fprintf(out, "\n");
        any = true;
    }
    printNameChange("alpha", before.alphaName, after.alphaName, out, any);
    printNameChange("texture", before.textureName, after.textureName, out, any);
    static const char* const kAxes[] = {"X", "Y", "Z"};
    for (int axis = 0; axis < 3; ++axis) {
        if (before.importScale[axis] != after.importScale[axis]) {
            std::fprintf(out, "  import scale %s: %.9g -> %.9g\n", kAxes[axis], static_cast<double>(before.importScale[axis]),
                         static_cast<double>(after.importScale[axis]));
            any = true;
        }
        if (before.importOffset[axis] != after.importOffset[axis]) {
            std::fprintf(out, "  import offset %s: %.9g -> %.9g\n", kAxes[axis],
                         static_cast<double>(before.importOffset[axis]), static_cast<double>(after.importOffset[axis]));
            any = true;
        }
    }
    if (before.interfaceTree != after.interfaceTree) {
        std::fprintf(out, "  interface tree now:\n");
        size_t start = 0;
        while (start < after.interfaceTree.size()) {
            const size_t end = after.interfaceTree.find('\n', start);
            std::fprintf(out, "    %s\n", after.interfaceTree.substr(start, end - start).c_str());
            if (end == std::string::npos) break;
            start = end + 1;
        }
        any = true;
    }
    if (!any) std::fprintf(out, "  nothing changed\n");
}

}  // namespace tollgram::host_tool
