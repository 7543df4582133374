#pragma once
// Catches what the library would show in message boxes, for as long as the
// object lives, so that in-process tests run without windows.
#include <string>
#include <vector>

#include "support/scoped_system.h"

namespace tollgram::test {

struct Note {
    std::string caption;
    std::string text;
    unsigned style;
};

class CapturedNotes {
public:
    CapturedNotes() {
        active() = this;
        system_.calls().messageBoxes.show = &record;
    }
    ~CapturedNotes() { active() = nullptr; }
    CapturedNotes(const CapturedNotes&) = delete;
    CapturedNotes& operator=(const CapturedNotes&) = delete;

    size_t count() const { return notes_.size(); }
    const Note& at(size_t i) const { return notes_.at(i); }
    void clear() { notes_.clear(); }

private:
    static CapturedNotes*& active() {
        static CapturedNotes* current = nullptr;
        return current;
    }
    static int record(const char* caption, const char* text, unsigned style) {
        active()->notes_.push_back({caption ? caption : "", text ? text : "", style});
        return 1;  // IDOK
    }

    ScopedSystem system_;
    std::vector<Note> notes_;
};

}  // namespace tollgram::test
