#pragma once
// An append-only array of fixed-size blocks. A block is one allocation of
// _blockSize elements that is never moved, grown or released before the array
// itself, so the address of a stored element stays valid for the array's life
// and appending never copies earlier elements.
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "frame/always_inline.h"
#include "obj/model/block_memory.h"

namespace tollgram::obj {

template <typename T>
struct PagedArray {
    static_assert(std::is_trivially_copyable_v<T>, "blocks hold elements as raw bytes");

    uint32_t _blockSize;
    uint32_t _count = 0;
    int32_t _lastBlock = -1;
    std::vector<T*> _blocks;

    explicit PagedArray(uint32_t blockSize) : _blockSize(blockSize) {}
    ~PagedArray() { release(); }

    PagedArray(const PagedArray&) = delete;
    PagedArray& operator=(const PagedArray&) = delete;
    PagedArray(PagedArray&& other) noexcept
        : _blockSize(other._blockSize), _count(other._count), _lastBlock(other._lastBlock),
          _blocks(std::move(other._blocks)) {
        other.forget();
    }
    PagedArray& operator=(PagedArray&& other) noexcept {
        if (this != &other) {
            release();
            _blockSize = other._blockSize;
            _count = other._count;
            _lastBlock = other._lastBlock;
            _blocks = std::move(other._blocks);
            other.forget();
        }
        return *this;
    }

    // False, with nothing stored, when a new block can't be had. Always
    // inline: the reader appends a coordinate per line, and through a call
    // the element it just built would be stored and loaded again.
    TOLLGRAM_ALWAYS_INLINE bool append(const T& element) {
        // The slot is _count modulo _blockSize, found without a division: the
        // newest block is full exactly when _count reaches its end.
        const uint32_t filled = static_cast<uint32_t>(_lastBlock + 1) * _blockSize;
        if (_count == filled && !addBlock()) return false;
        const uint32_t slot = _count - static_cast<uint32_t>(_lastBlock) * _blockSize;
        std::memcpy(static_cast<void*>(&_blocks[static_cast<size_t>(_lastBlock)][slot]), &element, sizeof(T));
        ++_count;
        return true;
    }

    // Appends count elements in order, block by block. False when a new
    // block can't be had; the elements before it are then stored.
    bool appendRange(const T* elements, size_t count) {
        while (count > 0) {
            const uint32_t filled = static_cast<uint32_t>(_lastBlock + 1) * _blockSize;
            if (_count == filled && !addBlock()) return false;
            const uint32_t slot = _count - static_cast<uint32_t>(_lastBlock) * _blockSize;
            const size_t room = _blockSize - slot;
            const size_t taken = count < room ? count : room;
            std::memcpy(static_cast<void*>(&_blocks[static_cast<size_t>(_lastBlock)][slot]), elements, taken * sizeof(T));
            _count += static_cast<uint32_t>(taken);
            elements += taken;
            count -= taken;
        }
        return true;
    }

    // Room for length elements (1.._blockSize) in a row within one block,
    // after the stored ones, counted as stored; first is the index of the
    // first. When the newest block has less room, its rest is left unused
    // (zero) and the run starts a new block. Null, with nothing changed,
    // when a block can't be had or _count would pass 2^32 - 1.
    TOLLGRAM_ALWAYS_INLINE T* appendRun(uint32_t length, uint32_t& first) {
        uint64_t at = _count;
        const uint64_t blockEnd = uint64_t(_lastBlock + 1) * _blockSize;
        if (at + length > blockEnd) {
            if (blockEnd + length > UINT32_MAX || !addBlock()) return nullptr;
            T* newest = _blocks[static_cast<size_t>(_lastBlock)];
            if (at < blockEnd) {
                T* previous = _blocks[static_cast<size_t>(_lastBlock) - 1];
                std::memset(static_cast<void*>(previous + (at - (blockEnd - _blockSize))), 0,
                            size_t(blockEnd - at) * sizeof(T));
            }
            at = blockEnd;
            first = static_cast<uint32_t>(at);
            _count = static_cast<uint32_t>(at + length);
            return newest;
        }
        first = static_cast<uint32_t>(at);
        _count = static_cast<uint32_t>(at + length);
        return &_blocks[static_cast<size_t>(_lastBlock)][at - (blockEnd - _blockSize)];
    }

    // Gives back the run appendRun gave last, at first.
    void dropRun(uint32_t first) { _count = first; }

    // Copies the elements of other, which holds as many in blocks of the same
    // size, over this array's, block by block, allocating nothing. False,
    // changing nothing, when the two differ in either.
    bool overwriteWith(const PagedArray& other) noexcept {
        if (other._count != _count || other._blockSize != _blockSize) return false;
        size_t block = 0;
        for (size_t first = 0; first < _count; first += _blockSize, ++block) {
            const size_t left = _count - first;
            const size_t elements = left < _blockSize ? left : _blockSize;
            std::memcpy(static_cast<void*>(_blocks[block]), other._blocks[block], elements * sizeof(T));
        }
        return true;
    }

    // The stored element, or T's default value for an index beyond _count.
    T at(uint32_t index) const {
        const T* element = find(index);
        return element ? *element : T{};
    }

    // The stored element in place, or null beyond _count.
    T* find(uint32_t index) {
        return index < _count ? &_blocks[index / _blockSize][index % _blockSize] : nullptr;
    }
    const T* find(uint32_t index) const {
        return index < _count ? &_blocks[index / _blockSize][index % _blockSize] : nullptr;
    }

    // Adds one block after the newest; _count is not changed. False when it can't be allocated. The first
    // block comes from the runtime heap, the later ones from slabs: a small
    // model takes no slab at all, and only an array that outgrows one block
    // gets slab pages.
    bool addBlock() {
        const size_t bytes = sizeof(T) * static_cast<size_t>(_blockSize);
        T* block = static_cast<T*>(_lastBlock < 0 ? allocateBlock(bytes) : allocateSlabBlock(bytes));
        if (!block) return false;
        try {
            _blocks.push_back(block);
        } catch (const std::bad_alloc&) {
            releaseBlock(block);
            return false;
        }
        ++_lastBlock;
        return true;
    }

private:
    void release() {
        for (T* block : _blocks) releaseBlock(block);
        _blocks.clear();
        _count = 0;
        _lastBlock = -1;
    }
    void forget() {
        _blocks.clear();
        _count = 0;
        _lastBlock = -1;
    }
};

}  // namespace tollgram::obj
