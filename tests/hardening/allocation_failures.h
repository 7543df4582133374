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

}  // namespace tollgram::test
