#pragma once
// How an OBJ file is read: by one thread, a block at a time, or cut into
// chunks read by several threads at once (parallel_read.h). Small files are
// read by one thread; larger ones by as many threads as the process has
// processors to run on (its affinity, not the machine's count: a thread
// without a processor of its own only waits its turn), at most
// kMaxReadThreads, never more than the file has chunks. The environment
// variable TOLLGRAM_READ_THREADS=N sets the number of threads (1: the
// one-thread read).
#include <cstddef>
#include <cstdint>

namespace tollgram::obj {

inline constexpr unsigned kMaxReadThreads = 8;
// Measured on sculpt files with two cores, two threads against one, ratio
// of medians of 15 to 21 pairs of fresh processes, natively / the 32-bit
// DLL under Wine: 15 MB 1.02x / 1.21x, 31 MB 0.85x to 1.07x / 1.00x,
// 37 MB 0.76x / 0.79x, 46 MB 0.67x / 0.80x, 62 MB 0.61x / 0.78x. Below
// this a second thread gains nothing (it starts, faults its own pages and
// waits for its turns), and where the other cores are busy it loses.
inline constexpr size_t kParallelMinimumBytes = size_t{32} << 20;
// The one-thread read's block.
inline constexpr size_t kAloneChunkBytes = size_t{256} << 10;
// A chunk of the parallel read.
inline constexpr size_t kParallelChunkBytes = size_t{256} << 10;

struct ReadPlan {
    unsigned threads = 1;
    size_t chunkBytes = kAloneChunkBytes;
};

// The plan for a file of about fileBytes, which may be past what a 32-bit
// size holds.
ReadPlan planRead(uint64_t fileBytes);

// For tests: every read is cut this way, whatever the file's size (a
// setting of 0 keeps the usual choice), until reset with null.
struct ForcedReading {
    unsigned threads = 0;
    size_t chunkBytes = 0;
};
void forceReading(const ForcedReading* forced);

}  // namespace tollgram::obj
