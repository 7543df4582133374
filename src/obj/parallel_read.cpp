#include "obj/parallel_read.h"

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "obj/chunk_store.h"
#include "obj/line_parser.h"

namespace tollgram::obj {

ReadStatus readWithModel(ReadState& state, const TextBuffer& text, size_t offset) {
    LineParser<ReadState> parser(state, textEnd(text));
    const char* stoppedAt;
    return parser.lines(text.data() + offset, stoppedAt);
}

namespace {

// Nothing in a worker's reading or joining is meant to throw; should
// anything, it counts as memory that ran out, and the turns go on.
template <typename Work>
ReadStatus guarded(Work work) noexcept {
    try {
        return work();
    } catch (...) {
        return ReadStatus::OutOfMemory;
    }
}

struct Worker {
    TextBuffer text;
    ChunkRecords records;
};

// How far a chunk's records have been copied into the model.
struct Joined {
    RecordCounts counts;
    size_t relative = 0;
};

class ParallelRead {
public:
    ParallelRead(ReadState& state, TextChunks& chunks, const ReadPlan& plan)
        : state_(state), chunks_(chunks), plan_(plan) {}

    ReadStatus run() {
        std::vector<std::thread> threads;
        try {
            threads.reserve(plan_.threads - 1);
            for (unsigned i = 1; i < plan_.threads; ++i) threads.emplace_back([this] { work(); });
        } catch (...) {
            // Fewer threads: the ones started and this one read the file.
        }
        work();
        for (std::thread& thread : threads) thread.join();
        return stopped_.load(std::memory_order_acquire) ? outcome_ : ReadStatus::Ok;
    }

private:
    void work() noexcept {
        Worker worker;
        uint32_t index;
        ReadStatus status;
        while (takeChunk(worker, index, status)) {
            if (status == ReadStatus::Ok) status = guarded([&] { return readApart(worker); });
            if (!waitForTurn(index)) return;
            if (status == ReadStatus::Ok) status = guarded([&] { return join(worker); });
            endTurn(index, status);
        }
    }

    // The next chunk of the file, and its place in file order; false when
    // there is none (the file's end, or the read was stopped).
    bool takeChunk(Worker& worker, uint32_t& index, ReadStatus& status) {
        std::lock_guard<std::mutex> lock(sourceMutex_);
        if (sourceDone_ || stopped_.load(std::memory_order_acquire)) return false;
        status = guarded([&] { return chunks_.next(worker.text, plan_.chunkBytes); });
        if (status == ReadStatus::Ok && worker.text.size() == 0) {
            sourceDone_ = true;
            return false;
        }
        if (status != ReadStatus::Ok) sourceDone_ = true;  // its turn will end the read
        index = nextChunk_++;
        return true;
    }

    ReadStatus readApart(Worker& worker) {
        ChunkRecords& records = worker.records;
        records.clear();
        ChunkStore store(records, worker.text.data(), plan_.recordBytes);
        LineParser<ChunkStore> parser(store, textEnd(worker.text));
        const char* stoppedAt;
        records.stop = parser.lines(worker.text.data(), stoppedAt);
        records.stopOffset = size_t(stoppedAt - worker.text.data());
        return ReadStatus::Ok;
    }

    // False when the read was stopped before the chunk's turn came.
    bool waitForTurn(uint32_t index) {
        std::unique_lock<std::mutex> lock(turnMutex_);
        turnChanged_.wait(lock, [&] { return turn_ == index || stopped_.load(std::memory_order_acquire); });
        return !stopped_.load(std::memory_order_acquire);
    }

    void endTurn(uint32_t index, ReadStatus status) {
        {
            std::lock_guard<std::mutex> lock(turnMutex_);
            if (status != ReadStatus::Ok) {
                outcome_ = status;
                stopped_.store(true, std::memory_order_release);
            }
            turn_ = index + 1;
        }
        turnChanged_.notify_all();
    }

    // The chunk, in file order, into the model (see parallel_read.h).
    ReadStatus join(Worker& worker) {
        const ChunkRecords& records = worker.records;
        const uint32_t start[3] = {state_.count(kPositions), state_.count(kTextureCoords), state_.count(kNormals)};
        for (int kind = 0; kind < 3; ++kind) {
            if (records.need[kind] > int64_t(start[kind])) return readWithModel(state_, worker.text, 0);
        }
        Joined joined;
        for (size_t i = 0; i < records.deferred.size(); ++i) {
            const DeferredLine& deferred = records.deferred[i];
            ReadStatus status = copyRecords(records, deferred.before, start, joined);
            if (status != ReadStatus::Ok) return status;
            LineParser<ReadState> parser(state_, textEnd(worker.text));
            const char* line = worker.text.data() + deferred.offset;
            status = parser.line(line);
            if (status != ReadStatus::Ok) return status;
        }
        const ReadStatus status = copyRecords(records, records.counts(), start, joined);
        if (status != ReadStatus::Ok) return status;
        switch (records.stop) {
            case ReadStatus::Ok:
                return ReadStatus::Ok;
            case ReadStatus::LeftToModel:
                return readWithModel(state_, worker.text, records.stopOffset);
            default:
                return records.stop;
        }
    }

    // The chunk's records up to upTo into the model, each face with the
    // smoothing group and material in force and its indices counted back
    // placed against the counts at the chunk's start.
    ReadStatus copyRecords(const ChunkRecords& records, const RecordCounts& upTo, const uint32_t (&start)[3],
                           Joined& joined) {
        for (int kind = 0; kind < 3; ++kind) {
            const uint32_t from = joined.counts.coordinates[kind];
            PagedArray<Vec4>& array = state_.coordinatesOf(Coordinates(kind));
            if (!array.appendRange(records.coordinates[kind].data() + from, upTo.coordinates[kind] - from)) {
                return ReadStatus::OutOfMemory;
            }
            joined.counts.coordinates[kind] = upTo.coordinates[kind];
        }
        PagedArray<OBJFace>& faces = state_.model()._faces;
        for (uint32_t face = joined.counts.faces; face < upTo.faces; ++face) {
            OBJFace* slot = faces.nextSlot();
            if (!slot) return ReadStatus::OutOfMemory;
            std::memcpy(static_cast<void*>(slot), &records.faces[face], sizeof *slot);
            state_.stamp(*slot);
            if (joined.relative < records.relative.size() && records.relative[joined.relative].face == face) {
                placeCountedBack(*slot, records.relative[joined.relative].kinds, start);
                ++joined.relative;
            }
            faces.commitSlot();
            joined.counts.faces = face + 1;
        }
        return ReadStatus::Ok;
    }

    static void placeCountedBack(OBJFace& face, uint32_t kinds, const uint32_t (&start)[3]) {
        int32_t* indices[3] = {face._vertexIndices, face._textureIndices, face._normalIndices};
        for (int kind = 0; kind < 3; ++kind) {
            if (!(kinds & (1u << kind))) continue;
            for (uint32_t c = 0; c < face._cornerCount; ++c) indices[kind][c] += int32_t(start[kind]);
        }
    }

    ReadState& state_;
    TextChunks& chunks_;
    const ReadPlan plan_;

    std::mutex sourceMutex_;  // the file and the chunks' order
    uint32_t nextChunk_ = 0;
    bool sourceDone_ = false;

    // The turns: a mutex and a condition rather than an atomic's wait, whose
    // fallback where the system has no futex (the Windows build's runtime)
    // can miss a wake-up and leave a worker waiting for ever.
    std::mutex turnMutex_;
    std::condition_variable turnChanged_;
    uint32_t turn_ = 0;  // the chunk to be joined next
    std::atomic<bool> stopped_{false};
    ReadStatus outcome_ = ReadStatus::Ok;  // what stopped the read
};

}  // namespace

ReadStatus readInParallel(ReadState& state, TextChunks& chunks, const ReadPlan& plan) {
    ParallelRead read(state, chunks, plan);
    return read.run();
}

}  // namespace tollgram::obj
