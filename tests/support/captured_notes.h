#pragma once
// Catches what the library would show in message boxes, for as long as the
// object lives, so that in-process tests run without windows. Catching
// allocates nothing: a note shown while an allocation failure is armed must
// not meet the failure itself.
#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

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

    // Every note shown; the first kKept are kept whole, and the last one.
    size_t count() const { return count_; }
    // A copy of the i-th note, made when asked (never while catching).
    Note at(size_t i) const {
        if (i >= count_ || i >= kKept) throw std::out_of_range("no such note kept");
        const Kept& note = kept_[i];
        return {note.caption, note.text, note.style};
    }
    const char* lastCaption() const { return last_.caption; }
    const char* lastText() const { return last_.text; }
    void clear() {
        count_ = 0;
        last_ = Kept{};
    }

    static constexpr size_t kKept = 4;

private:
    struct Kept {
        char caption[256];
        char text[16384];  // more than the largest note the library makes
        unsigned style;
    };
    static CapturedNotes*& active() {
        static CapturedNotes* current = nullptr;
        return current;
    }
    static void keep(Kept& to, const char* caption, const char* text, unsigned style) {
        copy(to.caption, sizeof to.caption, caption);
        copy(to.text, sizeof to.text, text);
        to.style = style;
    }
    static void copy(char* to, size_t capacity, const char* from) {
        size_t length = 0;
        for (; from != nullptr && length + 1 < capacity && from[length] != '\0'; ++length) to[length] = from[length];
        to[length] = '\0';
    }
    static int record(const char* caption, const char* text, unsigned style) {
        CapturedNotes* notes = active();
        if (notes->count_ < kKept) keep(notes->kept_[notes->count_], caption, text, style);
        keep(notes->last_, caption, text, style);
        ++notes->count_;
        return 1;  // IDOK
    }

    ScopedSystem system_;
    size_t count_ = 0;
    std::array<Kept, kKept> kept_{};
    Kept last_{};
};

}  // namespace tollgram::test
