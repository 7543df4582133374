#include "host/mesh_arrays.h"

namespace tollgram::host {

namespace {
std::optional<FlagEntries> entriesOf(const uint8_t* array) {
    if (array == nullptr) return std::nullopt;
    const HostArray view = readHostArray(array);
    if (!view.hasBuffer || view.elements == nullptr || view.count < 0) return std::nullopt;
    return FlagEntries{view.elements, static_cast<uint32_t>(view.count)};
}
}  // namespace

std::optional<FlagEntries> vertexFlagsOf(const uint8_t* mesh) {
    return entriesOf(pointerAt(mesh, mesh::kVertexFlags));
}

std::optional<FlagEntries> polygonFlagsOf(const uint8_t* mesh) {
    const uint8_t* array = pointerAt(mesh, mesh::kPolygonFlags);
    if (array == nullptr || readI32(array, host_array::kElementSize) != static_cast<int32_t>(mesh::kPolygonEntrySize)) {
        return std::nullopt;
    }
    return entriesOf(array);
}

int32_t hostVertexCount(const uint8_t* mesh) {
    const uint8_t* array = pointerAt(mesh, mesh::kVertexFlags);
    return array == nullptr ? 0 : readI32(array, host_array::kCount);
}

std::optional<uint32_t> clearAllCreases(uint8_t* mesh) {
    const std::optional<FlagEntries> polygons = polygonFlagsOf(mesh);
    if (!polygons) return std::nullopt;
    uint8_t* crease = polygons->entries + mesh::kPolygonCreaseByte;
    for (uint32_t i = 0; i < polygons->count; ++i, crease += mesh::kPolygonEntrySize) *crease = 0;
    return polygons->count;
}

}  // namespace tollgram::host
