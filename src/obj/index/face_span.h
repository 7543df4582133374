#pragma once
// Face indices held by one of the model's indexes, in ascending order.
#include <cstddef>
#include <cstdint>

namespace tollgram::obj {

struct FaceSpan {
    const uint32_t* first = nullptr;
    const uint32_t* last = nullptr;  // one past the final face
    const uint32_t* begin() const { return first; }
    const uint32_t* end() const { return last; }
    size_t size() const { return size_t(last - first); }
};

}  // namespace tollgram::obj
