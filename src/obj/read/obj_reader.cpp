// OBJModel::readOBJ: an OBJ file read chunk by chunk, each chunk's lines
// once, by one thread or by several (parallel_read.h), into the same model.
#include <cstring>
#include <new>

#include "obj/model/block_pool.h"
#include "obj/read/chunk_records.h"
#include "obj/read/line_parser.h"
#include "obj/model/obj_model.h"
#include "obj/read/parallel_read.h"
#include "obj/read/read_plan.h"
#include "obj/read/model_joiner.h"
#include "obj/read/read_texts.h"
#include "obj/read/text_chunks.h"

namespace tollgram::obj {

namespace {

// Each chunk read and joined before the next is taken.
ReadStatus readAlone(ModelJoiner& state, TextChunks& chunks, size_t chunkBytes) {
    TextBuffer text;
    ChunkRecords records;
    for (;;) {
        const ReadStatus got = chunks.next(text, chunkBytes);
        if (got != ReadStatus::Ok) return got;
        if (text.size() == 0) return ReadStatus::Ok;
        const ReadStatus read = readChunk(state.counts(), records, text.data(), textEnd(text));
        const ReadStatus joined = state.join(records, text.data(), textEnd(text));
        if (joined != ReadStatus::Ok) return joined;
        if (read != ReadStatus::Ok) return read;
    }
}

ReadStatus readFile(OBJModel& model, const std::string& path) {
    TextChunks chunks;
    if (!chunks.open(path)) {
        clearDiagnostics(model._errorText, model._errorBound);
        appendDiagnostic(model._errorText, model._errorBound, {texts::kFileNotFound, path});
        return ReadStatus::Ended;
    }
    if (chunks.isUtf16()) {
        clearDiagnostics(model._errorText, model._errorBound);
        appendDiagnostic(model._errorText, model._errorBound, {texts::kUtf16, path});
        return ReadStatus::Ended;
    }
    ModelJoiner state(model, path);
    const ReadPlan plan = planRead(chunks.sizeHint());
    ReadStatus status =
        plan.threads > 1 ? readInParallel(state, chunks, plan) : readAlone(state, chunks, plan.chunkBytes);
    if (chunks.readFailed()) appendDiagnostic(model._errorText, model._errorBound, {texts::kReadFailed, path, "\n"});
    // The faces read before a fault stay in the model, listed in their groups.
    if (status == ReadStatus::Ok || status == ReadStatus::Ended) {
        const ReadStatus listed = state.endRuns();
        if (status == ReadStatus::Ok) status = listed;
    }
    return status;
}

}  // namespace

ReadStatus readChunk(const RecordCounts& start, ChunkRecords& records, const char* text, const char* end) {
    records.clear();
    ChunkStore store(start, records, text);
    LineParser<ChunkStore> parser(store, end);
    const char* stoppedAt;
    return parser.lines(text, stoppedAt);
}

bool OBJModel::readOBJ(const std::string& path) {
    // Another model may be held while this one is read (ReplaceOBJVertices):
    // the slab it was carved from last must not keep blocks of this one.
    poolStartNewSlab();
    clearDiagnostics(_errorText, _errorBound);
    ReadStatus status;
    try {
        status = readFile(*this, path);
    } catch (const std::bad_alloc&) {
        status = ReadStatus::OutOfMemory;  // thrown anywhere in the read (read_status.h)
    }
    if (status == ReadStatus::OutOfMemory) {
        try {
            appendDiagnostic(_errorText, _errorBound, {texts::kOutOfMemory, path, "\n"});
        } catch (const std::bad_alloc&) {
        }
    }
    return status == ReadStatus::Ok;
}

}  // namespace tollgram::obj
