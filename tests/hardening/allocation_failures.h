#pragma once
// Makes one chosen allocation of the process fail: the n-th counted from
// arming, whether it comes through operator new, the library's tracked
// allocation or the model's block memory (blocks, index lists, chunks).
// Later allocations succeed again, so a test can walk n = 1, 2, ... until
// the work under test no longer meets the failure.
#include <cstddef>

namespace tollgram::test {

class AllocationFailures {
public:
    // Arms the n-th allocation (n >= 1) to fail.
    explicit AllocationFailures(long n);
    ~AllocationFailures();
    AllocationFailures(const AllocationFailures&) = delete;
    AllocationFailures& operator=(const AllocationFailures&) = delete;

    // Whether the armed allocation was reached.
    bool failed() const;
    // Allocations counted since arming.
    long counted() const;
};

// Called by every allocation path while armed: true when this allocation is
// the one to fail.
bool allocationShouldFail();

// The most bytes that blocks of operator new of at least minimumBytes each
// held at once while the object lived (blocks made before it are not
// counted). At most kMostTracked such blocks are followed at a time; more
// makes overflowed() true.
class LargeBlockPeak {
public:
    static constexpr size_t kMostTracked = 256;
    explicit LargeBlockPeak(size_t minimumBytes);
    ~LargeBlockPeak();
    LargeBlockPeak(const LargeBlockPeak&) = delete;
    LargeBlockPeak& operator=(const LargeBlockPeak&) = delete;

    size_t peakBytes() const;
    bool overflowed() const;
};

}  // namespace tollgram::test
