#pragma once
// A growing array of plain records for the reader's own use during one read
// (the text of a chunk, what a worker read from it), reused from chunk to
// chunk and released when the read ends. It lives on the runtime heap, not in
// the model's slabs: a slab is given back only when every block carved from
// it is, so scratch memory there would stay with the model.
#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>

namespace tollgram::obj {

template <typename T>
class ScratchArray {
    static_assert(std::is_trivially_copyable_v<T>, "held as raw bytes");

public:
    ScratchArray() = default;
    ~ScratchArray() { ::operator delete(data_); }
    ScratchArray(const ScratchArray&) = delete;
    ScratchArray& operator=(const ScratchArray&) = delete;

    T* data() { return data_; }
    const T* data() const { return data_; }
    size_t size() const { return size_; }
    size_t capacity() const { return capacity_; }
    T& operator[](size_t i) { return data_[i]; }
    const T& operator[](size_t i) const { return data_[i]; }

    void clear() { size_ = 0; }
    void resize(size_t size) { size_ = size; }  // within capacity()

    // Room for count elements, the present ones kept; false when the memory
    // can't be had (the array is then as it was).
    bool reserve(size_t count) {
        if (count <= capacity_) return true;
        if (count > size_t(-1) / sizeof(T)) return false;
        T* grown = static_cast<T*>(::operator new(count * sizeof(T), std::nothrow));
        if (!grown) return false;
        if (size_ > 0) std::memcpy(static_cast<void*>(grown), data_, size_ * sizeof(T));
        ::operator delete(data_);
        data_ = grown;
        capacity_ = count;
        return true;
    }

    // The slot after the last element, growing by doubling when full; null
    // when that can't be had. commit() counts it.
    T* slot(size_t minimumGrowth = 1024) {
        if (size_ == capacity_ && !reserve(capacity_ == 0 ? minimumGrowth : 2 * capacity_)) return nullptr;
        return data_ + size_;
    }
    void commit() { ++size_; }

    // Room for count elements after the last, growing by doubling as
    // needed; null when that can't be had. resize() counts them.
    T* room(size_t count, size_t minimumGrowth = 1024) {
        if (capacity_ - size_ < count) {
            size_t grown = capacity_ == 0 ? minimumGrowth : 2 * capacity_;
            if (grown < size_ + count) grown = size_ + count;
            if (!reserve(grown)) return nullptr;
        }
        return data_ + size_;
    }

private:
    T* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

}  // namespace tollgram::obj
