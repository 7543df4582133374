#pragma once
// The vertex-to-faces index read entry by entry, for checking it: the
// library itself walks the chains (vertexFaceChain).
#include <cstdint>

#include "obj/vertex_faces.h"

namespace tollgram::test {

// The number of entries in the vertex's chain; -1 without an index or for a
// vertex beyond it.
inline int64_t vertexFaceCount(const obj::OBJModel& model, uint32_t vertex) {
    const obj::FaceRefChunk* chunk = obj::vertexFaceChain(model, vertex);
    if (chunk == nullptr) return -1;
    int64_t count = 0;
    for (; chunk != nullptr; chunk = chunk->_next) count += chunk->_count;
    return count;
}

// Entry position of the vertex's chain; 0 without an index, for a vertex
// beyond it or a position beyond the chain.
inline int32_t vertexFaceAt(const obj::OBJModel& model, uint32_t vertex, uint32_t position) {
    const obj::FaceRefChunk* chunk = obj::vertexFaceChain(model, vertex);
    for (uint32_t skip = position / obj::kFaceRefChunkCapacity; chunk != nullptr && skip > 0; --skip) {
        chunk = chunk->_next;
    }
    const uint32_t slot = position % obj::kFaceRefChunkCapacity;
    return chunk != nullptr && slot < chunk->_count ? chunk->_faceIndices[slot] : 0;
}

}  // namespace tollgram::test
