#include "obj/vertex_faces.h"

#include <new>
#include <unordered_map>

#include "obj/block_memory.h"

namespace tollgram::obj {

namespace {

// Zero-filled blocks enough for one chunk per vertex: each starts an empty
// chain.
PagedArray<FaceRefChunk>* makeEmptyIndex(uint32_t vertexCount, uint32_t blockSize) {
    auto* index = new (std::nothrow) PagedArray<FaceRefChunk>(blockSize);
    if (index == nullptr) return nullptr;
    const uint32_t blocks = vertexCount / blockSize + (vertexCount % blockSize != 0 ? 1 : 0);
    for (uint32_t b = 0; b < blocks; ++b) {
        if (!index->addBlock(true)) {
            delete index;
            return nullptr;
        }
    }
    index->_count = vertexCount;
    return index;
}

// Chains fill front to back, so the only link with room is the last one.
// The last link of every chain longer than one is remembered, so that a
// vertex shared by very many faces is not walked again for each of them.
bool listAllCorners(const OBJModel& model, PagedArray<FaceRefChunk>& index) {
    std::unordered_map<uint32_t, FaceRefChunk*> tails;
    try {
        for (uint32_t i = 0; i < model._faces._count; ++i) {
            const OBJFace* face = model._faces.find(i);
            const uint32_t corners = cornerCountOf(*face);
            for (uint32_t c = 0; c < corners; ++c) {
                const auto v = static_cast<uint32_t>(face->_vertexIndices[c]);
                if (v >= index._count) continue;
                FaceRefChunk* chunk = index.find(v);
                if (chunk->_count == kFaceRefChunkCapacity) {
                    const auto tail = tails.find(v);
                    chunk = tail != tails.end() ? tail->second : chunk;
                }
                if (chunk->_count == kFaceRefChunkCapacity) {
                    void* block = allocateBlock(sizeof(FaceRefChunk));
                    if (block == nullptr) return false;
                    chunk->_next = new (block) FaceRefChunk{};
                    chunk = chunk->_next;
                    tails[v] = chunk;  // linked first: released with the chain if this throws
                }
                chunk->_faceIndices[chunk->_count++] = static_cast<int32_t>(i);
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace

bool buildVertexFaces(OBJModel& model) {
    if (model._vertexFaces != nullptr) return true;
    model._vertexFaces = makeEmptyIndex(model._vertices._count, model._vertices._blockSize);
    if (model._vertexFaces == nullptr) return false;
    if (!listAllCorners(model, *model._vertexFaces)) {
        model.releaseVertexFaces();
        return false;
    }
    return true;
}

const FaceRefChunk* vertexFaceChain(const OBJModel& model, uint32_t vertex) {
    return model._vertexFaces == nullptr ? nullptr : model._vertexFaces->find(vertex);
}

}  // namespace tollgram::obj
