#pragma once
// Shared by the fuzzers: the input read as a stream of bytes, and a check
// that names the broken invariant before the fuzzer records the crash.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tollgram::fuzz {

inline void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// The fuzzer's bytes in order; zeros once they run out, so that every
// input, however short, builds a whole case.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t next16() { return static_cast<uint16_t>(next() | next() << 8); }
    // Up to length bytes as a text (shorter when the input ends).
    std::string text(size_t length) {
        std::string t;
        while (t.size() < length && at_ < size_) t.push_back(static_cast<char>(data_[at_++]));
        return t;
    }
    // The bytes not read yet, without consuming them; never empty.
    std::vector<uint8_t> rest() const {
        std::vector<uint8_t> r(data_ + at_, data_ + size_);
        if (r.empty()) r.push_back(0x5A);
        return r;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace tollgram::fuzz
