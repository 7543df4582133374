#include "obj/model/face_index_list.h"

#include <algorithm>
#include <limits>

#include "obj/model/block_memory.h"

namespace tollgram::obj {

FaceIndexList::~FaceIndexList() { releaseBlock(_entries); }

FaceIndexList::FaceIndexList(FaceIndexList&& other) noexcept
    : _entries(other._entries), _count(other._count), _capacity(other._capacity) {
    other._entries = nullptr;
    other._count = 0;
    other._capacity = 0;
}

FaceIndexList& FaceIndexList::operator=(FaceIndexList&& other) noexcept {
    if (this != &other) {
        releaseBlock(_entries);
        _entries = other._entries;
        _count = other._count;
        _capacity = other._capacity;
        other._entries = nullptr;
        other._count = 0;
        other._capacity = 0;
    }
    return *this;
}

bool FaceIndexList::appendRun(uint32_t first, uint32_t count, uint32_t times) {
    const uint64_t added = uint64_t(count) * times;
    if (added == 0) return true;
    if (!reserve(uint64_t(_count) + added)) return false;
    int32_t* out = _entries + _count;
    for (uint32_t face = first; face != first + count; ++face) {
        for (uint32_t t = 0; t < times; ++t) *out++ = int32_t(face);
    }
    _count += uint32_t(added);
    return true;
}

bool FaceIndexList::reserve(uint64_t entries) {
    if (entries <= _capacity) return true;
    constexpr uint32_t kMostEntries = uint32_t(
        std::min<size_t>(std::numeric_limits<uint32_t>::max(), std::numeric_limits<size_t>::max() / sizeof(int32_t)));
    if (entries > kMostEntries) return false;
    // Doubled as often as it takes: the capacity that appending the entries
    // one by one would reach.
    uint64_t grown = _capacity == 0 ? kFaceIndexListFirstCapacity : _capacity;
    while (grown < entries) grown *= 2;
    if (grown > kMostEntries) grown = kMostEntries;
    void* resized = resizeBlock(_entries, sizeof(int32_t) * static_cast<size_t>(grown));
    if (!resized) return false;
    _entries = static_cast<int32_t*>(resized);
    _capacity = uint32_t(grown);
    return true;
}

}  // namespace tollgram::obj
