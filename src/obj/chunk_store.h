#pragma once
// What one chunk of a file holds, read apart from the model by a worker of
// the parallel read (parallel_read.h), as the line parser's store.
//
// A worker knows nothing of the lines before its chunk: not how many
// positions, texture coordinates and normals came before, nor the groups,
// smoothing group or material in force, nor the materials read. So:
// - records are kept here, in file order, until the chunk is joined;
// - an index counted from the front is taken as written, and the chunk
//   notes the least count its array must have reached at the chunk's start
//   for every such index to be valid (need); an index counted back is kept
//   relative to the chunk's start and noted with its face;
// - every other line ("g", "s", "usemtl", "mtllib", lines of no known kind,
//   invalid faces, faces whose indices are counted both ways) is deferred:
//   noted with the records before it, and read in file order at the join;
// - a line after which nothing of the chunk can count (a fault that ends
//   the read, records beyond the chunk's bound) stops the worker: the rest
//   of the chunk is read in file order at the join.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "obj/line_parser.h"
#include "obj/obj_records.h"
#include "obj/read_status.h"
#include "obj/scratch_array.h"

namespace tollgram::obj {

// Records of each kind: positions, texture coordinates, normals, faces.
struct RecordCounts {
    uint32_t coordinates[3] = {0, 0, 0};
    uint32_t faces = 0;
};

// A line read in file order at the join, after the records counted.
struct DeferredLine {
    size_t offset;  // of the line's start in the chunk
    RecordCounts before;
};

// A face with indices counted back from the chunk's start, of the kinds
// whose bits (1 << Coordinates) are set.
struct RelativeFace {
    uint32_t face;
    uint32_t kinds;
};

struct ChunkRecords {
    ScratchArray<Vec4> coordinates[3];
    ScratchArray<OBJFace> faces;
    ScratchArray<DeferredLine> deferred;
    ScratchArray<RelativeFace> relative;
    // The least count of each array at the chunk's start for its indices
    // counted from the front to be valid (and those counted back).
    int64_t need[3] = {INT64_MIN, INT64_MIN, INT64_MIN};
    // Where the worker stopped: Ok (the chunk's end), LeftToModel or
    // OutOfMemory at stopOffset.
    ReadStatus stop = ReadStatus::Ok;
    size_t stopOffset = 0;

    void clear() {
        for (auto& array : coordinates) array.clear();
        faces.clear();
        deferred.clear();
        relative.clear();
        std::fill(std::begin(need), std::end(need), INT64_MIN);
        stop = ReadStatus::Ok;
        stopOffset = 0;
    }

    RecordCounts counts() const {
        return {{uint32_t(coordinates[0].size()), uint32_t(coordinates[1].size()), uint32_t(coordinates[2].size())},
                uint32_t(faces.size())};
    }

    size_t bytes() const {
        return coordinates[0].bytes() + coordinates[1].bytes() + coordinates[2].bytes() + faces.bytes() +
               deferred.bytes() + relative.bytes();
    }
};

// Indices as a worker can place them (see above).
struct ChunkIndices {
    int64_t local[3];  // records of each array read so far in the chunk
    int64_t need[3];
    uint8_t signs[3] = {0, 0, 0};  // of this face: 1 from the front, 2 counted back

    template <Coordinates kKind>
    TOLLGRAM_ALWAYS_INLINE LineFault resolve(int32_t written, int32_t& index) {
        if (written > 0) {
            index = written - 1;
            need[kKind] = std::max(need[kKind], int64_t(written) - local[kKind]);
            signs[kKind] |= 1;
        } else if (written == 0) {
            return kZeroFault[kKind];
        } else {
            const int64_t back = -int64_t(written);
            index = int32_t(local[kKind] - back);
            need[kKind] = std::max(need[kKind], back - local[kKind]);
            signs[kKind] |= 2;
        }
        // Corners of one face counted both ways can't be told apart here.
        return signs[kKind] == 3 ? LineFault::NeedsModel : LineFault::None;
    }
};

class ChunkStore {
public:
    // Records may take up to recordBytes in all.
    ChunkStore(ChunkRecords& records, const char* text, size_t recordBytes)
        : records_(records), text_(text), recordBytes_(recordBytes) {}

    template <Coordinates kKind>
    TOLLGRAM_ALWAYS_INLINE ReadStatus append(const Vec4& value) {
        Vec4* slot = slotIn(records_.coordinates[kKind]);
        if (!slot) return full_ ? ReadStatus::LeftToModel : ReadStatus::OutOfMemory;
        *slot = value;
        records_.coordinates[kKind].commit();
        return ReadStatus::Ok;
    }
    OBJFace* faceSlot() { return slotIn(records_.faces); }
    ChunkIndices indices() const {
        const RecordCounts c = records_.counts();
        return {{c.coordinates[0], c.coordinates[1], c.coordinates[2]},
                {records_.need[0], records_.need[1], records_.need[2]}};
    }
    LineFault commitFace(OBJFace&, const ChunkIndices& indices) {
        const uint32_t kinds = (indices.signs[0] & 2 ? 1u : 0u) | (indices.signs[1] & 2 ? 2u : 0u) |
                               (indices.signs[2] & 2 ? 4u : 0u);
        if (kinds != 0) {
            RelativeFace* relative = slotIn(records_.relative);
            if (!relative) return LineFault::OutOfMemory;
            *relative = {uint32_t(records_.faces.size()), kinds};
            records_.relative.commit();
        }
        std::copy(std::begin(indices.need), std::end(indices.need), std::begin(records_.need));
        records_.faces.commit();
        return LineFault::None;
    }
    ReadStatus faceFault(LineFault fault, const char*& line, const char* end) {
        switch (fault) {
            case LineFault::InvalidCorner:
            case LineFault::NeedsModel:
                return defer(line, end);
            case LineFault::OutOfMemory:
                return full_ ? ReadStatus::LeftToModel : ReadStatus::OutOfMemory;
            default:  // a fault that ends the read, unless an earlier one does
                return ReadStatus::LeftToModel;
        }
    }
    ReadStatus otherLine(const char*& line, const char* end) { return defer(line, end); }

private:
    ReadStatus defer(const char*& line, const char* end) {
        DeferredLine* deferred = slotIn(records_.deferred);
        if (!deferred) return full_ ? ReadStatus::LeftToModel : ReadStatus::OutOfMemory;
        *deferred = {size_t(line - text_), records_.counts()};
        records_.deferred.commit();
        line = lineAfter(line, end);
        return ReadStatus::Ok;
    }

    // The next slot of array, which grows while the records stay within
    // their bound; null when full (full_ tells) or out of memory.
    template <typename T>
    T* slotIn(ScratchArray<T>& array) {
        if (array.size() == array.capacity()) {
            const size_t grown = array.capacity() == 0 ? 1024 : 2 * array.capacity();
            if (records_.bytes() + (grown - array.capacity()) * sizeof(T) > recordBytes_) {
                full_ = true;
                return nullptr;
            }
            if (!array.reserve(grown)) return nullptr;
        }
        return array.data() + array.size();
    }

    ChunkRecords& records_;
    const char* const text_;
    const size_t recordBytes_;
    bool full_ = false;
};

}  // namespace tollgram::obj
