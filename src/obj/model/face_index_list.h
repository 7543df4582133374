#pragma once
// A growing list of face indices (the faces of one material or one group).
// It starts small and doubles when full: a file may hold a million groups of
// one face each, and one material may hold millions of faces.
#include <cstddef>
#include <cstdint>

namespace tollgram::obj {

inline constexpr uint32_t kFaceIndexListFirstCapacity = 4;

class FaceIndexList {
public:
    FaceIndexList() = default;
    ~FaceIndexList();
    FaceIndexList(const FaceIndexList&) = delete;
    FaceIndexList& operator=(const FaceIndexList&) = delete;
    FaceIndexList(FaceIndexList&& other) noexcept;
    FaceIndexList& operator=(FaceIndexList&& other) noexcept;

    // Appends first, first + 1, ..., first + count - 1, each one times in a
    // row: the faces of one run of a group or material. False, with nothing
    // stored, when the list can't grow.
    bool appendRun(uint32_t first, uint32_t count, uint32_t times);

    size_t size() const { return _count; }
    bool empty() const { return _count == 0; }
    size_t capacity() const { return _capacity; }
    int32_t operator[](size_t i) const { return _entries[i]; }
    const int32_t* data() const { return _entries; }
    const int32_t* begin() const { return _entries; }
    const int32_t* end() const { return _entries + _count; }

private:
    bool reserve(uint64_t entries);

    int32_t* _entries = nullptr;
    uint32_t _count = 0;
    uint32_t _capacity = 0;
};

}  // namespace tollgram::obj
