#pragma once
// Shared by the allocation-failure walks: the walk itself, and file contents
// (support/temp_folder.h) for before/after checks. Notes are caught by CapturedNotes, which allocates
// nothing while catching.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/captured_notes.h"
#include "support/temp_folder.h"

namespace tollgram::test {

// Calls attempt(n) for n = 1, 2, ... while it reports that its n-th
// allocation was reached (attempt arms the failure around the work under
// test only). Returns the number of failure points tried; the last
// attempt, which met no failure, is not one of them.
template <typename Attempt>
long walkFailurePoints(const char* what, Attempt attempt, long limit = 100000) {
    long n = 1;
    for (;; ++n) {
        SCOPED_TRACE(std::string(what) + ", allocation " + std::to_string(n));
        if (!attempt(n)) break;
        if (n >= limit) {
            ADD_FAILURE() << what << ": still failing after " << limit << " allocations";
            break;
        }
    }
    std::printf("%s: %ld allocation failure points tried\n", what, n - 1);
    return n - 1;
}

}  // namespace tollgram::test
