#pragma once
// The model's side of a read: the statements in force (groups, smoothing
// group, material), every line other than a plain coordinate or face line,
// and the diagnostics. As the line parser's store (line_parser.h) it puts
// records straight into the model, checking each index against the counts at
// its own line; that is the one-thread read, and every line the parallel
// read leaves to be read in file order.
//
// Group and material lists are filled run by run: the faces that follow one
// "g" line (or "usemtl" line) are appended to their lists together, when the
// next such line comes or the read ends.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "obj/line_parser.h"
#include "obj/obj_model.h"
#include "obj/read_status.h"

namespace tollgram::obj {

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

class ReadState {
public:
    // Every member that can run out of memory throws std::bad_alloc when it
    // does (read_status.h).
    ReadState(OBJModel& model, const std::string& path);
    ~ReadState();
    ReadState(const ReadState&) = delete;
    ReadState& operator=(const ReadState&) = delete;

    OBJModel& model() { return model_; }
    PagedArray<Vec4>& coordinatesOf(Coordinates kind) {
        return kind == kPositions ? model_._vertices : kind == kNormals ? model_._normals : model_._textureCoords;
    }
    uint32_t count(Coordinates kind) const {
        return (kind == kPositions ? model_._vertices : kind == kNormals ? model_._normals : model_._textureCoords)
            ._count;
    }

    // The store's part for the line parser.
    template <Coordinates kKind>
    TOLLGRAM_ALWAYS_INLINE ReadStatus append(const Vec4& value) {
        return coordinatesOf(kKind).append(value) ? ReadStatus::Ok : ReadStatus::OutOfMemory;
    }
    OBJFace* faceSlot() { return model_._faces.nextSlot(); }
    ExactIndices indices() const { return {{count(kPositions), count(kTextureCoords), count(kNormals)}}; }
    LineFault commitFace(OBJFace& face, const ExactIndices&) {
        stamp(face);
        model_._faces.commitSlot();
        return LineFault::None;
    }
    ReadStatus faceFault(LineFault fault, const char*& line, const char* end);
    ReadStatus otherLine(const char*& line, const char* end);

    // What a face takes from the statements before it.
    void stamp(OBJFace& face) const {
        face._smoothingGroup = smoothingGroup_;
        face._materialIndex = material_;
    }

    // Whether stamp leaves a face with no smoothing group and no material,
    // as the parallel read's workers write it.
    bool stampsNothing() const { return smoothingGroup_ == 0 && material_ == -1; }

    // Lists the faces of the runs still open; at the end of the read, and
    // when a fault ended it (the faces read so far stay in the model).
    ReadStatus endRuns();

private:
    // The line at line as diagnostics quote it: up to its line end or a
    // NUL, every character up to and including the first space lowered.
    // next is the line after it.
    const char* quoted(const char* line, const char* end, const char*& next);

    ReadStatus group(const char* words);
    ReadStatus smoothing(const char* line, const char* words);
    ReadStatus materialLibrary(const char* words);
    ReadStatus selectMaterial(const char* words);
    ReadStatus endGroupRun();
    ReadStatus endMaterialRun();

    OBJModel& model_;
    const std::string& path_;
    const std::string directory_;
    std::vector<std::string> groupNames_;  // may hold a name more than once
    uint32_t groupRunStart_ = 0;           // the first face of the current group line
    uint32_t materialRunStart_ = 0;        // the first face of the current material
    uint32_t smoothingGroup_ = 0;
    int32_t material_ = -1;
    std::string line_;  // the quoted line
    std::string word_;
    // The smoothing-group log, opened at its first line and kept open to the
    // end of the read, since files with a smoothing group per face write it
    // for every face; null before, or when it could not be opened, which is
    // not tried again.
    std::FILE* smoothingLog_ = nullptr;
    bool smoothingLogOpened_ = false;
};

// The path up to and including its last "/" or "\", or empty.
std::string directoryOf(const std::string& path);

}  // namespace tollgram::obj
