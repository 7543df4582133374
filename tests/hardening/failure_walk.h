#pragma once
// Shared by the allocation-failure walks: the walk itself and file contents
// for before/after checks. Notes are caught by CapturedNotes, which allocates
// nothing while catching.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "support/captured_notes.h"

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

// The bytes of a file, or "(missing)" when it can't be read.
inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "(missing)";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tollgram::test
