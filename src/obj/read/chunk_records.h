#pragma once
// What the line parser (line_parser.h) makes of one chunk of a file: its
// records, in arrays of its own, and the lines that need the lines before
// the chunk, kept as events in file order for the join (model_joiner.h):
// every line other than a coordinate or face line ("g", "s", "usemtl",
// "mtllib", lines of no known kind) and every face line with a fault. A
// fault that ends the read ends the chunk's reading too: nothing after it
// can count. Faces get their smoothing group and material at the join, and
// their corner runs their place in the model's _corners.
//
// Every index is checked against the counts at its own line: those before
// the chunk, given when it is read, and those of the chunk's own lines
// before it. So a chunk can be read before the chunks before it are joined,
// by any thread, and gives the records the one-thread read gives.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/always_inline.h"
#include "obj/read/line_parser.h"
#include "obj/model/obj_records.h"
#include "obj/read/read_status.h"
#include "obj/model/scratch_array.h"

namespace tollgram::obj {

// Records of each kind: positions, texture coordinates, normals, faces.
struct RecordCounts {
    uint32_t coordinates[3] = {0, 0, 0};
    uint32_t faces = 0;
};

// Checks an index as written against the count of its array at this line:
// 1..count count from the front, -1..-count back from the newest.
struct ExactIndices {
    uint32_t counts[3];

    template <Coordinates kKind>
    TOLLGRAM_ALWAYS_INLINE LineFault resolve(int32_t written, int32_t& index) const {
        const uint32_t count = counts[kKind];
        if (written > 0) {  // the common case, first
            index = written - 1;
            return uint32_t(written) <= count ? LineFault::None : kBeyondFault[kKind];
        }
        if (written == 0) return kZeroFault[kKind];
        const int64_t back = -int64_t(written);
        if (back > int64_t(count)) return kBeyondFault[kKind];
        index = int32_t(int64_t(count) - back);
        return LineFault::None;
    }
};

// A line for the join: another line (fault None) or a face line with its
// fault, and the chunk's records before it.
struct ChunkEvent {
    size_t offset;  // of the line's start in the chunk
    RecordCounts before;
    LineFault fault;
};

// A chunk's records; kept by its reader from chunk to chunk, so that their
// memory is had once.
struct ChunkRecords {
    ScratchArray<Vec3> coordinates[3];
    ScratchArray<OBJFace> faces;  // _firstCorner indexes corners
    ScratchArray<int32_t> corners;
    ScratchArray<ChunkEvent> events;

    void clear() {
        for (ScratchArray<Vec3>& array : coordinates) array.clear();
        faces.clear();
        corners.clear();
        events.clear();
    }
    RecordCounts counts() const {
        return {{uint32_t(coordinates[0].size()), uint32_t(coordinates[1].size()), uint32_t(coordinates[2].size())},
                uint32_t(faces.size())};
    }
};

// The line parser's store for one chunk.
class ChunkStore {
public:
    // start: the counts before the chunk; text: the chunk's first byte.
    ChunkStore(const RecordCounts& start, ChunkRecords& records, const char* text)
        : start_(start), records_(records), text_(text) {}

    template <Coordinates kKind>
    TOLLGRAM_ALWAYS_INLINE ReadStatus append(const Vec3& value) {
        Vec3* slot = records_.coordinates[kKind].slot(4096);
        if (!slot) return ReadStatus::OutOfMemory;
        *slot = value;
        records_.coordinates[kKind].commit();
        return ReadStatus::Ok;
    }

    ExactIndices indices() const {
        return {{start_.coordinates[0] + uint32_t(records_.coordinates[0].size()),
                 start_.coordinates[1] + uint32_t(records_.coordinates[1].size()),
                 start_.coordinates[2] + uint32_t(records_.coordinates[2].size())}};
    }

    TOLLGRAM_ALWAYS_INLINE LineFault commitFace(const FaceBuild& built, bool hasTexture, bool hasNormal) {
        OBJFace* face = records_.faces.slot(4096);
        int32_t* run = records_.corners.room(size_t{3} * kMaxFaceCorners, 16384);
        if (!face || !run) return LineFault::OutOfMemory;
        *face = OBJFace{};
        face->_firstCorner = uint32_t(records_.corners.size());
        const uint32_t length = packCorners(*face, built.count, built.vertices, hasTexture ? built.textures : nullptr,
                                            hasNormal ? built.normals : nullptr, run);
        records_.corners.resize(records_.corners.size() + length);
        records_.faces.commit();
        return LineFault::None;
    }

    ReadStatus faceFault(LineFault fault, const char*& line, const char* end) {
        if (fault == LineFault::OutOfMemory) return ReadStatus::OutOfMemory;
        if (!note(line, fault)) return ReadStatus::OutOfMemory;
        if (fault != LineFault::InvalidCorner) return ReadStatus::Ended;
        line = lineAfter(line, end);
        return ReadStatus::Ok;
    }
    ReadStatus otherLine(const char*& line, const char* end) {
        if (!note(line, LineFault::None)) return ReadStatus::OutOfMemory;
        line = lineAfter(line, end);
        return ReadStatus::Ok;
    }

private:
    bool note(const char* line, LineFault fault) {
        ChunkEvent* event = records_.events.slot(64);
        if (!event) return false;
        *event = {size_t(line - text_), records_.counts(), fault};
        records_.events.commit();
        return true;
    }

    const RecordCounts start_;
    ChunkRecords& records_;
    const char* const text_;
};

// Reads the chunk's lines, text up to end (where a NUL follows), into
// records, cleared first; start: the counts before the chunk. Ok when every
// line was read; otherwise the status of the line that stopped it.
ReadStatus readChunk(const RecordCounts& start, ChunkRecords& records, const char* text, const char* end);

}  // namespace tollgram::obj
