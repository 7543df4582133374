#include "host/mesh_info.h"

#include <optional>
#include <string>

#include "frame/bounded_copy.h"
#include "frame/export_keys.h"
#include "frame/keys.h"
#include "frame/numbers.h"
#include "frame/outcome.h"
#include "host/host_state.h"
#include "host/mesh_arrays.h"
#include "host/records.h"

namespace tollgram::host {

namespace {

struct FloatKey {
    const char* key;
    uint32_t offset;
};

constexpr FloatKey kFloatKeys[] = {
    {keys::kImportScaleX, mesh::kImportScaleX},   {keys::kImportScaleY, mesh::kImportScaleY},
    {keys::kImportScaleZ, mesh::kImportScaleZ},   {keys::kImportOffsetX, mesh::kImportOffsetX},
    {keys::kImportOffsetY, mesh::kImportOffsetY}, {keys::kImportOffsetZ, mesh::kImportOffsetZ},
};

std::optional<uint32_t> floatFieldOf(const char* text) {
    for (const FloatKey& entry : kFloatKeys) {
        if (keyIs(text, entry.key)) return entry.offset;
    }
    return std::nullopt;
}

Outcome groupCount(const uint8_t* mesh) {
    const uint8_t* names = pointerAt(mesh, host::mesh::kGroupNames);
    if (names == nullptr) return failed();
    return numbered(readI32(names, host_array::kCount));
}

// The entry is read no further than its own element, so a host name that
// fills its entry without a terminator does not run into the next one.
Outcome groupName(const uint8_t* mesh, double value, char* buffer, int32_t bufferSize) {
    const uint8_t* names = pointerAt(mesh, host::mesh::kGroupNames);
    if (buffer == nullptr || names == nullptr) return failed();
    const HostArray array = readHostArray(names);
    const int32_t index = truncToInt32(value);
    if (!array.hasBuffer || array.elements == nullptr || array.elementSize <= 0 || index < 0 || index >= array.count) {
        return failed();
    }
    const char* entry =
        reinterpret_cast<const char*>(array.elements) + static_cast<size_t>(index) * static_cast<size_t>(array.elementSize);
    const std::string name(textWithin(entry, static_cast<size_t>(array.elementSize)));
    return numbered(boundedCopy(buffer, capacityOf(bufferSize), name.c_str()));
}

}  // namespace

Outcome meshInfo(const void* hostContext, const char* key, double value, char* buffer, int32_t bufferSize) {
    const uint8_t* mesh = pointerAt(hostContext, context::kMeshRecord);
    if (mesh == nullptr || key == nullptr) return failed();
    if (keyIs(key, keys::kGroupCount)) return groupCount(mesh);
    if (keyIs(key, keys::kGroupName)) return groupName(mesh, value, buffer, bufferSize);
    if (const std::optional<uint32_t> field = floatFieldOf(key)) return storedValue(readFloat(mesh, *field));
    return failed();
}

Outcome setMeshInfo(void* hostContext, const char* key, double value) {
    uint8_t* mesh = pointerAt(hostContext, context::kMeshRecord);
    if (mesh == nullptr || key == nullptr) return failed();
    if (keyIs(key, keys::kMaskValue)) {
        hostState().maskValue = lowByteOf(value);
        return succeeded();
    }
    if (keyIs(key, keys::kSmoothAll)) {
        const std::optional<uint32_t> polygons = clearAllCreases(mesh);
        return polygons ? counted(*polygons) : failed();
    }
    if (const std::optional<uint32_t> field = floatFieldOf(key)) {
        writeFloat(mesh, *field, nearestFloat(value));
        return succeeded();
    }
    return failed();
}

}  // namespace tollgram::host
