#include "obj/read/read_plan.h"

#include <algorithm>
#include <cstdlib>

#include "platform/system.h"

namespace tollgram::obj {

namespace {

// Set by tests only, before the reads it is meant for and never while one
// runs.
bool g_forced = false;
ForcedReading g_forcedReading;

// TOLLGRAM_READ_THREADS, when it holds a whole number from 1 on; 0 otherwise.
unsigned threadsFromEnvironment() {
    const char* text = platform::systemCalls().process.setting("TOLLGRAM_READ_THREADS");
    if (!text || !*text) return 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < 1) return 0;
    return unsigned(std::min<long>(value, kMaxReadThreads));
}

// A thread on a processor the process can't run on only waits its turn.
unsigned usableThreads() {
    return std::clamp(platform::systemCalls().process.usableProcessors(), 1u, kMaxReadThreads);
}

}  // namespace

void forceReading(const ForcedReading* forced) {
    g_forced = forced != nullptr;
    g_forcedReading = forced ? *forced : ForcedReading{};
}

ReadPlan planRead(uint64_t fileBytes) {
    const ForcedReading forced = g_forced ? g_forcedReading : ForcedReading{};
    unsigned threads = forced.threads ? std::min(forced.threads, kMaxReadThreads) : threadsFromEnvironment();
    if (threads == 0) threads = fileBytes < kParallelMinimumBytes && !g_forced ? 1 : usableThreads();
    ReadPlan plan;
    plan.chunkBytes = forced.chunkBytes ? forced.chunkBytes : threads > 1 ? kParallelChunkBytes : kAloneChunkBytes;
    // Never more threads than chunks; counted in 64 bits and clamped before
    // adding the last chunk, so that no size wraps.
    const uint64_t wholeChunks = fileBytes / plan.chunkBytes;
    plan.threads = wholeChunks >= threads ? threads : unsigned(wholeChunks) + 1;
    if (plan.threads == 1 && !forced.chunkBytes) {
        plan.chunkBytes = kAloneChunkBytes;
    }
    return plan;
}

}  // namespace tollgram::obj
