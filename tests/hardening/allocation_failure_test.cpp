#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "frame/tracked_alloc.h"
#include "hardening/allocation_failures.h"
#include "support/captured_notes.h"

namespace tollgram {
namespace {

// The injector itself: exactly the n-th allocation fails, through either path.
TEST(AllocationFailures, FailExactlyTheArmedAllocation) {
    test::CapturedNotes notes;
    for (long n = 1; n <= 3; ++n) {
        std::vector<void*> blocks;
        blocks.reserve(3);  // the test's own storage stays out of the count
        bool threw = false;
        {
            test::AllocationFailures failures(n);
            for (int i = 0; i < 3; ++i) {
                if (i % 2 == 0) {
                    blocks.push_back(trackedAlloc(32, "caller"));
                } else {
                    try {
                        blocks.push_back(new char[32]);
                    } catch (const std::bad_alloc&) {
                        threw = true;
                        blocks.push_back(nullptr);
                    }
                }
            }
            EXPECT_TRUE(failures.failed()) << n;
            EXPECT_GE(failures.counted(), 3) << n;  // a captured note allocates too
        }
        for (size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ(blocks[i] == nullptr, static_cast<long>(i) + 1 == n) << "n " << n << " allocation " << i + 1;
        }
        EXPECT_EQ(threw, n == 2);
        for (size_t i = 0; i < blocks.size(); ++i) {
            if (i % 2 == 0) std::free(blocks[i]);
            else delete[] static_cast<char*>(blocks[i]);
        }
    }
    EXPECT_EQ(notes.count(), 2u);  // the tracked failures told the user, n = 1 and n = 3
}

}  // namespace
}  // namespace tollgram
