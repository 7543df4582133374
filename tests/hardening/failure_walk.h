#pragma once
// Shared by the allocation-failure walks: the walk itself, a note catcher
// that allocates nothing (a note shown while an allocation is armed must
// not meet the failure itself), and file contents for before/after checks.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "support/scoped_system.h"

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

// Counts notes and keeps the caption and text of the last one, in fixed
// storage.
class QuietNotes {
public:
    QuietNotes() {
        active() = this;
        system_.calls().messageBoxes.show = &record;
    }
    ~QuietNotes() { active() = nullptr; }
    QuietNotes(const QuietNotes&) = delete;
    QuietNotes& operator=(const QuietNotes&) = delete;

    unsigned count() const { return count_; }
    const char* lastCaption() const { return caption_; }
    const char* lastText() const { return text_; }
    void clear() {
        count_ = 0;
        caption_[0] = text_[0] = '\0';
    }

private:
    static QuietNotes*& active() {
        static QuietNotes* current = nullptr;
        return current;
    }
    static void keep(char* to, size_t capacity, const char* from) {
        size_t length = 0;
        for (; from != nullptr && length + 1 < capacity && from[length] != '\0'; ++length) to[length] = from[length];
        to[length] = '\0';
    }
    static int record(const char* caption, const char* text, unsigned) {
        QuietNotes* notes = active();
        ++notes->count_;
        keep(notes->caption_, sizeof notes->caption_, caption);
        keep(notes->text_, sizeof notes->text_, text);
        return 1;  // IDOK
    }

    ScopedSystem system_;
    unsigned count_ = 0;
    char caption_[128] = {};
    char text_[128] = {};
};

// The bytes of a file, or "(missing)" when it can't be read.
inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "(missing)";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tollgram::test
