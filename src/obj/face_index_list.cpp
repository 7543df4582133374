#include "obj/face_index_list.h"

#include <algorithm>
#include <limits>

#include "obj/block_memory.h"

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

bool FaceIndexList::append(int32_t faceIndex) {
    if (_count == _capacity) {
        constexpr uint32_t kMostEntries = uint32_t(std::min<size_t>(std::numeric_limits<uint32_t>::max(),
                                                                      std::numeric_limits<size_t>::max() / sizeof(int32_t)));
        if (_capacity == kMostEntries) return false;
        const uint32_t grown = _capacity == 0                 ? kFaceIndexListFirstCapacity
                               : _capacity > kMostEntries / 2 ? kMostEntries
                                                              : 2 * _capacity;
        void* entries = resizeBlock(_entries, sizeof(int32_t) * static_cast<size_t>(grown));
        if (!entries) return false;
        _entries = static_cast<int32_t*>(entries);
        _capacity = grown;
    }
    _entries[_count++] = faceIndex;
    return true;
}

}  // namespace tollgram::obj
