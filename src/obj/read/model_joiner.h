#pragma once
// The model's side of a read: the statements in force (groups, smoothing
// group, material), every line other than a plain coordinate or face line,
// and the diagnostics. It joins chunks to the model in file order
// (chunk_records.h): each chunk's records up to each of its events, then
// the event, read here as the one-thread read would read it.
//
// Group and material lists are filled run by run: the faces that follow one
// "g" line (or "usemtl" line) are appended to their lists together, when the
// next such line comes or the read ends.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "obj/read/chunk_records.h"
#include "obj/model/obj_model.h"
#include "obj/read/read_status.h"

namespace tollgram::obj {

class ModelJoiner {
public:
    // Every member that can run out of memory throws std::bad_alloc when it
    // does (read_status.h).
    ModelJoiner(OBJModel& model, const std::string& path);
    ~ModelJoiner();
    ModelJoiner(const ModelJoiner&) = delete;
    ModelJoiner& operator=(const ModelJoiner&) = delete;

    // The model's records of each kind.
    RecordCounts counts() const {
        return {{model_._vertices._count, model_._textureCoords._count, model_._normals._count}, model_._faces._count};
    }

    // Appends the chunk's records to the model, with the events between
    // them; the chunk's text is text up to end. Ok when every event was;
    // otherwise the status of the first that was not, the records before it
    // appended. OutOfMemory also when an array would pass the 2^31 - 1
    // records that indices can name.
    ReadStatus join(const ChunkRecords& records, const char* text, const char* end);

    // Lists the faces of the runs still open; at the end of the read, and
    // when a fault ended it (the faces read so far stay in the model).
    ReadStatus endRuns();

private:
    // The chunk's records from those counted in appended up to upTo.
    ReadStatus appendRecords(const ChunkRecords& records, RecordCounts& appended, const RecordCounts& upTo);
    ReadStatus faceFault(LineFault fault, const char*& line, const char* end);
    ReadStatus otherLine(const char*& line, const char* end);

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
    const std::string_view directory_;  // of path_, separator included
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

}  // namespace tollgram::obj
