// The substitute host's current mesh: flag arrays, group names, import scale
// and offset at the offsets Kavrex uses.
#include "substitute_host/substitute_host.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "host/records.h"

namespace tollgram::substitute {

namespace {
constexpr uint32_t kScale[3] = {host::mesh::kImportScaleX, host::mesh::kImportScaleY, host::mesh::kImportScaleZ};
constexpr uint32_t kOffset[3] = {host::mesh::kImportOffsetX, host::mesh::kImportOffsetY, host::mesh::kImportOffsetZ};

uint32_t axisField(const uint32_t (&fields)[3], int axis) {
    if (axis < 0 || axis > 2) throw std::out_of_range("axis must be 0, 1 or 2");
    return fields[axis];
}

// Entry index of the mesh's array at offset, checked against its count.
uint8_t* entryOf(const uint8_t* mesh, uint32_t arrayOffset, int32_t index) {
    const uint8_t* array = host::pointerAt(mesh, arrayOffset);
    if (array == nullptr) throw std::out_of_range("the mesh has no such array");
    const int32_t count = host::readI32(array, host::host_array::kCount);
    const int32_t elementSize = host::readI32(array, host::host_array::kElementSize);
    uint8_t* elements = SubstituteHost::elementsOf(array);
    if (elements == nullptr || index < 0 || index >= count || elementSize <= 0) {
        throw std::out_of_range("no such entry");
    }
    return elements + static_cast<size_t>(index) * static_cast<size_t>(elementSize);
}
}  // namespace

uint8_t* SubstituteHost::meshRecord() {
    uint8_t* record = host::pointerAt(context_, host::context::kMeshRecord);
    if (record == nullptr) {
        record = allocate(kMeshRecordSize);
        setPointer(context_, host::context::kMeshRecord, record);
    }
    return record;
}

uint8_t* SubstituteHost::setVertexFlags(int32_t count) {
    uint8_t* array = makeHostArray(count, static_cast<int32_t>(host::mesh::kVertexEntrySize));
    setPointer(meshRecord(), host::mesh::kVertexFlags, array);
    return array;
}

uint8_t* SubstituteHost::setPolygonFlags(int32_t count, int32_t elementSize) {
    uint8_t* array = makeHostArray(count, elementSize);
    setPointer(meshRecord(), host::mesh::kPolygonFlags, array);
    return array;
}

uint8_t* SubstituteHost::setGroupNames(const std::vector<std::string>& names, int32_t elementSize) {
    if (elementSize <= 0) throw std::invalid_argument("group-name entries need at least one byte");
    uint8_t* array = makeHostArray(static_cast<int32_t>(names.size()), elementSize);
    uint8_t* entry = elementsOf(array);
    for (const std::string& name : names) {
        std::memcpy(entry, name.data(), std::min(name.size(), static_cast<size_t>(elementSize) - 1));
        entry += elementSize;  // zero-filled, so the cut name stays terminated
    }
    setPointer(meshRecord(), host::mesh::kGroupNames, array);
    return array;
}

void SubstituteHost::setMesh(int32_t vertexCount, int32_t polygonCount) {
    setVertexFlags(vertexCount);
    setPolygonFlags(polygonCount);
    setPointer(meshRecord(), host::mesh::kGroupNames, nullptr);
    setImportScale(1.0f, 1.0f, 1.0f);
    setImportOffset(0.0f, 0.0f, 0.0f);
}

void SubstituteHost::setImportScale(float x, float y, float z) {
    uint8_t* mesh = meshRecord();
    setFloat(mesh, kScale[0], x);
    setFloat(mesh, kScale[1], y);
    setFloat(mesh, kScale[2], z);
}

void SubstituteHost::setImportOffset(float x, float y, float z) {
    uint8_t* mesh = meshRecord();
    setFloat(mesh, kOffset[0], x);
    setFloat(mesh, kOffset[1], y);
    setFloat(mesh, kOffset[2], z);
}

float SubstituteHost::importScale(int axis) { return host::readFloat(meshRecord(), axisField(kScale, axis)); }

float SubstituteHost::importOffset(int axis) { return host::readFloat(meshRecord(), axisField(kOffset, axis)); }

uint8_t* SubstituteHost::vertexEntry(int32_t vertex) { return entryOf(meshRecord(), host::mesh::kVertexFlags, vertex); }

uint8_t* SubstituteHost::polygonEntry(int32_t polygon) {
    return entryOf(meshRecord(), host::mesh::kPolygonFlags, polygon);
}

uint8_t* SubstituteHost::elementsOf(const void* hostArray) {
    return host::pointerAt(host::pointerAt(hostArray, host::host_array::kBuffer), host::buffer_record::kElements);
}

}  // namespace tollgram::substitute
