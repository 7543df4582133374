#pragma once
// Makes the model's block and list allocations fail from the n-th one on, for
// as long as the object lives.
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/system.h"
#include "support/scoped_system.h"

namespace tollgram::obj::test {

class FailingBlocks {
public:
    // failFrom 1 fails the first allocation; 0 fails none but still counts.
    explicit FailingBlocks(uint32_t failFrom) {
        state().failFrom = failFrom;
        state().calls = 0;
        system_.calls().memory.resizeBlock = &resize;
    }
    FailingBlocks(const FailingBlocks&) = delete;
    FailingBlocks& operator=(const FailingBlocks&) = delete;

    uint32_t calls() const { return state().calls; }

private:
    struct State {  // atomic: a read may allocate on several threads
        std::atomic<uint32_t> failFrom{0};
        std::atomic<uint32_t> calls{0};
    };
    static State& state() {
        static State s;
        return s;
    }
    static void* resize(void* block, size_t bytes, platform::BlockPlace place) {
        const uint32_t call = ++state().calls;
        const uint32_t failFrom = state().failFrom;
        if (failFrom != 0 && call >= failFrom) return nullptr;
        return platform::platformSystem().memory.resizeBlock(block, bytes, place);
    }

    tollgram::test::ScopedSystem system_;
};

}  // namespace tollgram::obj::test
