// GetMesh3DInfo and SetMesh3DInfo: the current mesh's group names, import
// scale and offset, crease clearing, and the mask value later transfers use.
#include <optional>
#include <string>

#include "frame/bounded_copy.h"
#include "frame/call_frame.h"
#include "frame/keys.h"
#include "frame/numbers.h"
#include "frame/results.h"
#include "host/host_state.h"
#include "host/mesh_arrays.h"
#include "host/records.h"

namespace tollgram {

namespace {

struct FloatKey {
    const char* key;
    uint32_t offset;
};

constexpr FloatKey kFloatKeys[] = {
    {"importScaleX", host::mesh::kImportScaleX},   {"importScaleY", host::mesh::kImportScaleY},
    {"importScaleZ", host::mesh::kImportScaleZ},   {"importOffsetX", host::mesh::kImportOffsetX},
    {"importOffsetY", host::mesh::kImportOffsetY}, {"importOffsetZ", host::mesh::kImportOffsetZ},
};

std::optional<uint32_t> floatFieldOf(const char* text) {
    for (const FloatKey& entry : kFloatKeys) {
        if (keyIs(text, entry.key)) return entry.offset;
    }
    return std::nullopt;
}

float groupCount(const uint8_t* mesh) {
    const uint8_t* names = host::pointerAt(mesh, host::mesh::kGroupNames);
    if (names == nullptr) return kFailure;
    return intResult(host::readI32(names, host::host_array::kCount));
}

// The entry is read no further than its own element, so a host name that
// fills its entry without a terminator does not run into the next one.
float groupName(const uint8_t* mesh, double value, char* buffer, int32_t bufferSize) {
    const uint8_t* names = host::pointerAt(mesh, host::mesh::kGroupNames);
    if (buffer == nullptr || names == nullptr) return kFailure;
    const host::HostArray array = host::readHostArray(names);
    const int32_t index = truncToInt32(value);
    if (!array.hasBuffer || array.elements == nullptr || array.elementSize <= 0 || index < 0 || index >= array.count) {
        return kFailure;
    }
    const char* entry =
        reinterpret_cast<const char*>(array.elements) + static_cast<size_t>(index) * static_cast<size_t>(array.elementSize);
    const std::string name(host::textWithin(entry, static_cast<size_t>(array.elementSize)));
    return intResult(boundedCopy(buffer, capacityOf(bufferSize), name.c_str()));
}

}  // namespace

namespace work {

float GetMesh3DInfo(const CallFrame& frame) {
    const uint8_t* mesh = host::pointerAt(frame.context, host::context::kMeshRecord);
    if (mesh == nullptr || frame.text == nullptr) return kFailure;
    if (keyIs(frame.text, "groupCount")) return groupCount(mesh);
    if (keyIs(frame.text, "groupName")) return groupName(mesh, frame.value, frame.buffer, frame.bufferSize);
    if (const std::optional<uint32_t> field = floatFieldOf(frame.text)) return host::readFloat(mesh, *field);
    return kFailure;
}

float SetMesh3DInfo(const CallFrame& frame) {
    uint8_t* mesh = host::pointerAt(frame.context, host::context::kMeshRecord);
    if (mesh == nullptr || frame.text == nullptr) return kFailure;
    if (keyIs(frame.text, "maskValue")) {
        host::hostState().maskValue = lowByteOf(frame.value);
        return kSuccess;
    }
    if (keyIs(frame.text, "smoothAll")) {
        const std::optional<uint32_t> polygons = host::clearAllCreases(mesh);
        return polygons ? unsignedResult(*polygons) : kFailure;
    }
    if (const std::optional<uint32_t> field = floatFieldOf(frame.text)) {
        host::writeFloat(mesh, *field, nearestFloat(frame.value));
        return kSuccess;
    }
    return kFailure;
}

}  // namespace work
}  // namespace tollgram
