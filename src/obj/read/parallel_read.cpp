#include "obj/read/parallel_read.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "obj/read/chunk_records.h"
#include "obj/read/line_count.h"

namespace tollgram::obj {

namespace {

// Indices are 32-bit and signed: no array may hold more records.
constexpr uint64_t kMostRecords = INT32_MAX;

// Nothing in a worker's steps is meant to throw but the model's side of the
// read running out of memory; whatever throws counts as that, and the turns
// go on.
template <typename Work>
ReadStatus guarded(Work work) noexcept {
    try {
        return work();
    } catch (...) {
        return ReadStatus::OutOfMemory;
    }
}

// A chunk on its way through the steps (see parallel_read.h), with the
// memory its thread keeps from chunk to chunk.
struct Chunk {
    TextBuffer text;
    ReadStatus status = ReadStatus::Ok;  // of taking and placing it
    LineCounts lines;
    RecordCounts start;  // the records of the chunks before it
    ChunkRecords records;
    ReadStatus readStatus = ReadStatus::Ok;  // of reading it
    size_t textHeld = 0;                     // its text's bytes counted in hand
};

class ParallelRead {
public:
    ParallelRead(ModelJoiner& state, TextChunks& chunks, const ReadPlan& plan)
        : state_(state),
          chunks_(chunks),
          plan_(plan),
          textBudget_(2 * size_t(plan.threads) * plan.chunkBytes) {}

    ReadStatus run() {
        // Two chunks in hand per thread: one being read while the one read
        // before waits for its turn to be joined.
        try {
            for (unsigned i = 0; i < 2 * plan_.threads; ++i) {
                chunkPool_.push_back(std::make_unique<Chunk>());
                freeChunks_.push_back(chunkPool_.back().get());
            }
            waiting_.resize(chunkPool_.size(), nullptr);
        } catch (...) {
            return ReadStatus::OutOfMemory;
        }
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
    // A thread never waits for its chunk's turn to be joined: it leaves
    // the chunk read, and whichever thread finds the chunks before it
    // joined joins it; the thread goes on with the next chunk meanwhile.
    void work() noexcept {
        for (;;) {
            uint32_t index;
            Chunk* chunk = takeChunk(index);
            if (!chunk) return;
            if (chunk->status == ReadStatus::Ok) count(*chunk);
            if (!waitForPlacement(index)) return giveBack(chunk);
            if (chunk->status == ReadStatus::Ok) chunk->status = guarded([&] { return place(*chunk); });
            endPlacement(index);
            if (chunk->status == ReadStatus::Ok) {
                chunk->readStatus = readChunk(chunk->start, chunk->records, chunk->text.data(), textEnd(chunk->text));
            }
            joinWhatIsRead(index, chunk);
        }
    }

    // Under sourceMutex_: a free chunk's memory to read the next chunk
    // with, once the chunks in hand hold no more text than two chunks a
    // thread; null when the read was stopped. Without that wait, lines far
    // longer than a chunk would each be a chunk, held two by every thread.
    // The chunks in hand are joined without sourceMutex_, so the wait ends.
    // Free chunks are taken last freed first, and only by the thread about
    // to fill one: the few chunks grown for long lines are the ones used
    // again, and the others stay a chunk's size.
    Chunk* freeChunkWithRoom() {
        std::unique_lock<std::mutex> lock(turnMutex_);
        turnChanged_.wait(lock, [&] {
            return (!freeChunks_.empty() && textInHand_ <= textBudget_) || stopped_.load(std::memory_order_acquire);
        });
        if (stopped_.load(std::memory_order_acquire)) return nullptr;
        Chunk* chunk = freeChunks_.back();
        freeChunks_.pop_back();
        return chunk;
    }

    void giveBack(Chunk* chunk) {
        {
            std::lock_guard<std::mutex> lock(turnMutex_);
            makeFree(chunk);
        }
        turnChanged_.notify_all();
    }

    // Under turnMutex_: the chunk's text is no longer in hand.
    void makeFree(Chunk* chunk) {
        textInHand_ -= chunk->textHeld;
        chunk->textHeld = 0;
        freeChunks_.push_back(chunk);
    }

    // Under sourceMutex_: the chunk's text is in hand.
    void holdText(Chunk& chunk) {
        std::lock_guard<std::mutex> lock(turnMutex_);
        chunk.textHeld = chunk.text.capacity();  // bytes: the text is chars
        textInHand_ += chunk.textHeld;
    }

    // Leaves the chunk read, then joins every chunk read whose turn has
    // come, in file order, unless another thread is doing so: that one then
    // finds this chunk too, since both look under the same lock.
    void joinWhatIsRead(uint32_t index, Chunk* chunk) {
        std::unique_lock<std::mutex> lock(turnMutex_);
        waiting_[index % waiting_.size()] = chunk;
        if (joining_) return;
        joining_ = true;
        for (;;) {
            Chunk*& next = waiting_[joinTurn_ % waiting_.size()];
            if (!next || stopped_.load(std::memory_order_acquire)) break;
            Chunk* joined = next;
            next = nullptr;
            lock.unlock();
            const ReadStatus status = guarded([&] { return join(*joined); });
            lock.lock();
            if (status != ReadStatus::Ok) {
                outcome_ = status;
                stopped_.store(true, std::memory_order_release);
            }
            ++joinTurn_;
            makeFree(joined);
            turnChanged_.notify_all();
        }
        joining_ = false;
    }

    // The next chunk of the file, and its place in file order; null when
    // there is none (the file's end, or the read was stopped).
    Chunk* takeChunk(uint32_t& index) {
        std::lock_guard<std::mutex> lock(sourceMutex_);
        if (sourceDone_ || stopped_.load(std::memory_order_acquire)) return nullptr;
        Chunk* chunk = freeChunkWithRoom();
        if (!chunk) return nullptr;
        chunk->status = guarded([&] { return chunks_.next(chunk->text, plan_.chunkBytes); });
        holdText(*chunk);
        if (chunk->status == ReadStatus::Ok && chunk->text.size() == 0) {
            sourceDone_ = true;
            giveBack(chunk);
            return nullptr;
        }
        if (chunk->status != ReadStatus::Ok) sourceDone_ = true;  // its turn will end the read
        chunk->records.clear();
        chunk->readStatus = ReadStatus::Ok;
        index = nextChunk_++;
        return chunk;
    }

    // The chunk's lines by kind, and room for as many records: the arrays are
    // had at their size, not doubled up to it.
    static void count(Chunk& chunk) {
        chunk.lines = countLines(chunk.text.data(), textEnd(chunk.text));
        ChunkRecords& records = chunk.records;
        bool room = records.faces.reserve(chunk.lines.faceLines);
        for (int kind = 0; kind < 3; ++kind) room = room && records.coordinates[kind].reserve(chunk.lines.coordinates[kind]);
        if (!room) chunk.status = ReadStatus::OutOfMemory;
    }

    // In file order: the chunk's records come after those of the chunks
    // placed before it.
    ReadStatus place(Chunk& chunk) {
        chunk.start = placed_;
        for (int kind = 0; kind < 3; ++kind) {
            const uint64_t total = uint64_t(placed_.coordinates[kind]) + chunk.lines.coordinates[kind];
            if (total > kMostRecords) return ReadStatus::OutOfMemory;
            placed_.coordinates[kind] = uint32_t(total);
        }
        return ReadStatus::Ok;
    }

    // False when the read was stopped before the chunk's turn to be placed
    // came.
    bool waitForPlacement(uint32_t index) {
        std::unique_lock<std::mutex> lock(turnMutex_);
        turnChanged_.wait(lock, [&] { return placeTurn_ == index || stopped_.load(std::memory_order_acquire); });
        return !stopped_.load(std::memory_order_acquire);
    }

    // The next chunk's turn to be placed.
    void endPlacement(uint32_t index) {
        {
            std::lock_guard<std::mutex> lock(turnMutex_);
            placeTurn_ = index + 1;
        }
        turnChanged_.notify_all();
    }

    // In file order: the chunk's records and the lines that need what came
    // before (see parallel_read.h).
    ReadStatus join(const Chunk& chunk) {
        if (chunk.status != ReadStatus::Ok) return chunk.status;
        const ReadStatus joined = state_.join(chunk.records, chunk.text.data(), textEnd(chunk.text));
        if (joined != ReadStatus::Ok) return joined;
        if (chunk.readStatus != ReadStatus::Ok) return chunk.readStatus;
        const RecordCounts read = chunk.records.counts();
        for (int kind = 0; kind < 3; ++kind) {
            // A whole chunk has as many coordinates as were counted, which the
            // chunks after it were read with.
            if (read.coordinates[kind] != chunk.lines.coordinates[kind]) return ReadStatus::OutOfMemory;
        }
        return ReadStatus::Ok;
    }

    ModelJoiner& state_;
    TextChunks& chunks_;
    const ReadPlan plan_;

    std::mutex sourceMutex_;  // the file and the chunks' order
    uint32_t nextChunk_ = 0;
    bool sourceDone_ = false;

    RecordCounts placed_;  // of the chunks placed so far; their turns keep it

    // The turns: a mutex and a condition rather than an atomic's wait, whose
    // fallback where the system has no futex (the Windows build's runtime)
    // can miss a wake-up and leave a worker waiting for ever.
    std::mutex turnMutex_;
    std::condition_variable turnChanged_;
    uint32_t placeTurn_ = 0;  // the chunk to be placed next
    uint32_t joinTurn_ = 0;   // the chunk to be joined next
    bool joining_ = false;    // a thread is joining chunks
    // The bytes of the texts of the chunks taken and not yet free again,
    // and how many a thread may take the next chunk beside.
    size_t textInHand_ = 0;
    const size_t textBudget_;
    std::vector<std::unique_ptr<Chunk>> chunkPool_;
    std::vector<Chunk*> freeChunks_;
    // The chunks read and not yet joined, by index modulo their number: no
    // more chunks than that are ever in hand.
    std::vector<Chunk*> waiting_;
    std::atomic<bool> stopped_{false};
    ReadStatus outcome_ = ReadStatus::Ok;  // what stopped the read
};

}  // namespace

ReadStatus readInParallel(ModelJoiner& state, TextChunks& chunks, const ReadPlan& plan) {
    ParallelRead read(state, chunks, plan);
    return read.run();
}

}  // namespace tollgram::obj
