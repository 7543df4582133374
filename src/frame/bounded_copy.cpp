#include "frame/bounded_copy.h"

#include <cstring>

namespace tollgram {

namespace {
// Length of text within the first limit bytes; limit when no terminator.
size_t boundedLength(const char* text, size_t limit) {
    const void* end = std::memchr(text, '\0', limit);
    return end ? static_cast<size_t>(static_cast<const char*>(end) - text) : limit;
}
}  // namespace

int boundedCopy(char* destination, size_t capacity, const char* source) {
    if (destination == nullptr || capacity == 0) return kCopyInvalid;
    if (source == nullptr) {
        destination[0] = '\0';
        return kCopyInvalid;
    }
    const size_t length = boundedLength(source, capacity);
    if (length >= capacity) {
        destination[0] = '\0';
        return kCopyTooLong;
    }
    std::memmove(destination, source, length + 1);
    return kCopyOk;
}

int boundedAppend(char* destination, size_t capacity, const char* source) {
    if (destination == nullptr || capacity == 0) return kCopyInvalid;
    if (source == nullptr) {
        destination[0] = '\0';
        return kCopyInvalid;
    }
    const size_t used = boundedLength(destination, capacity);
    if (used == capacity) {  // the destination itself is not terminated
        destination[0] = '\0';
        return kCopyInvalid;
    }
    const size_t room = capacity - used;
    const size_t length = boundedLength(source, room);
    if (length >= room) {
        destination[0] = '\0';
        return kCopyTooLong;
    }
    std::memmove(destination + used, source, length + 1);
    return kCopyOk;
}

}  // namespace tollgram
