#pragma once
// What a worker of the parallel read (parallel_read.h) does with the lines
// of its chunk, as the line parser's store. Before the worker reads a
// number, the chunk has been given its place: the counts of positions,
// texture coordinates, normals and face lines before it, and the model's
// slots for its own (SlotRuns). So records are written once, straight into
// the model, and every index is checked against the counts at its own line,
// counted back or not, exactly as the one-thread read checks it.
//
// What needs the lines before the chunk is kept as events, in file order,
// for the join: every line other than a coordinate or face line ("g", "s",
// "usemtl", "mtllib", lines of no known kind) and every face line with a
// fault. A fault that ends the read ends the worker's reading too: nothing
// after it can count. Faces get their smoothing group and material at the
// join; here every face gets none of either.
#include <cstddef>
#include <cstdint>

#include "obj/line_parser.h"
#include "obj/obj_records.h"
#include "obj/read_state.h"
#include "obj/read_status.h"
#include "obj/scratch_array.h"

namespace tollgram::obj {

// Records of each kind: positions, texture coordinates, normals, faces.
struct RecordCounts {
    uint32_t coordinates[3] = {0, 0, 0};
    uint32_t faces = 0;
};

// A run of the model's slots within one block.
template <typename T>
struct SlotRun {
    T* begin;
    uint32_t count;
};

// The model's slots given to one chunk for one kind of record, filled in
// order; as many as the chunk has lines of that kind.
template <typename T>
class SlotRuns {
public:
    ScratchArray<SlotRun<T>>& runs() { return runs_; }

    void restart() {
        next_ = 0;
        at_ = end_ = nullptr;
    }

    // The next slot, or null past the last one.
    TOLLGRAM_ALWAYS_INLINE T* slot() {
        if (at_ == end_) {
            if (next_ == runs_.size()) return nullptr;
            at_ = runs_[next_].begin;
            end_ = at_ + runs_[next_].count;
            ++next_;
        }
        return at_;
    }
    void commit() { ++at_; }

private:
    ScratchArray<SlotRun<T>> runs_;
    size_t next_ = 0;
    T* at_ = nullptr;
    T* end_ = nullptr;
};

// A line for the join: another line (fault None) or a face line with its
// fault, and the records of the chunk before it.
struct ChunkEvent {
    size_t offset;  // of the line's start in the chunk
    RecordCounts before;
    LineFault fault;
};

class PlacedStore {
public:
    // start: the counts before the chunk; the slots and events are the
    // worker's, kept from chunk to chunk.
    PlacedStore(const RecordCounts& start, SlotRuns<Vec4> (&coordinates)[3], SlotRuns<OBJFace>& faces,
                ScratchArray<ChunkEvent>& events, const char* text)
        : start_(start), coordinates_(coordinates), faces_(faces), events_(events), text_(text) {}

    // The chunk's records so far.
    const RecordCounts& local() const { return local_; }

    template <Coordinates kKind>
    TOLLGRAM_ALWAYS_INLINE ReadStatus append(const Vec4& value) {
        Vec4* slot = coordinates_[kKind].slot();
        if (!slot) return ReadStatus::OutOfMemory;  // more lines than counted: never so
        *slot = value;
        coordinates_[kKind].commit();
        ++local_.coordinates[kKind];
        return ReadStatus::Ok;
    }
    OBJFace* faceSlot() { return faces_.slot(); }
    ExactIndices indices() const {
        return {{start_.coordinates[0] + local_.coordinates[0], start_.coordinates[1] + local_.coordinates[1],
                 start_.coordinates[2] + local_.coordinates[2]}};
    }
    LineFault commitFace(OBJFace& face, const ExactIndices&) {
        face._materialIndex = -1;
        faces_.commit();
        ++local_.faces;
        return LineFault::None;
    }
    ReadStatus faceFault(LineFault fault, const char*& line, const char* end) {
        if (fault == LineFault::OutOfMemory) return ReadStatus::OutOfMemory;  // no slot: never so
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
        ChunkEvent* event = events_.slot(64);
        if (!event) return false;
        *event = {size_t(line - text_), local_, fault};
        events_.commit();
        return true;
    }

    const RecordCounts start_;
    RecordCounts local_;
    SlotRuns<Vec4> (&coordinates_)[3];
    SlotRuns<OBJFace>& faces_;
    ScratchArray<ChunkEvent>& events_;
    const char* const text_;
};

}  // namespace tollgram::obj
