#include "obj/model/block_pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "obj/model/block_memory.h"
#include "obj/model/obj_model.h"
#include "obj/model/paged_array.h"

#include "frame/sanitizers.h"
#ifdef TOLLGRAM_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#endif

namespace tollgram::obj {
namespace {

void fill(void* block, size_t bytes, uint8_t seed) {
    auto* p = static_cast<uint8_t*>(block);
    for (size_t i = 0; i < bytes; ++i) p[i] = uint8_t(seed + i * 31);
}

bool holds(const void* block, size_t bytes, uint8_t seed) {
    const auto* p = static_cast<const uint8_t*>(block);
    for (size_t i = 0; i < bytes; ++i) {
        if (p[i] != uint8_t(seed + i * 31)) return false;
    }
    return true;
}

// Slab blocks of the middle sizes come from slabs; every block is whole,
// aligned and apart from the others, whichever way it came.
TEST(BlockPool, BlocksComeFromSlabsOrTheHeapBySize) {
    struct Case {
        size_t bytes;
        bool pooled;
    };
    const Case cases[] = {{16, false},
                          {kPooledMinimum - 1, false},
                          {kPooledMinimum, true},
                          {sizeof(OBJFace) * kFaceBlockSize, true},
                          {kPooledMaximum, true},
                          {kPooledMaximum + 1, false}};
    std::vector<void*> blocks;
    for (size_t i = 0; i < std::size(cases); ++i) {
        void* block = allocateSlabBlock(cases[i].bytes);
        ASSERT_NE(block, nullptr);
        // The heap aligns as the runtime does (8 on 32-bit Windows); slabs to 16.
        const uintptr_t alignment = cases[i].pooled ? 16 : alignof(double);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % alignment, 0u) << cases[i].bytes;
        EXPECT_EQ(pooledSize(block), cases[i].pooled ? cases[i].bytes : 0) << cases[i].bytes;
        fill(block, cases[i].bytes, uint8_t(i));
        blocks.push_back(block);
    }
    for (size_t i = 0; i < blocks.size(); ++i) EXPECT_TRUE(holds(blocks[i], cases[i].bytes, uint8_t(i))) << i;
    for (void* block : blocks) releaseBlock(block);

    // Plain blocks never do, whatever their size.
    void* plain = allocateBlock(kPooledMinimum);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(pooledSize(plain), 0u);
    releaseBlock(plain);
}

// An array's first block comes from the heap and its later ones from slabs,
// so that a small model takes no slab at all.
TEST(BlockPool, OnlyTheLaterBlocksOfAnArrayAreCarvedFromSlabs) {
    const size_t before = poolSlabCount();
    {
        PagedArray<OBJFace> faces(kFaceBlockSize);
        ASSERT_TRUE(faces.append(OBJFace{}));
        EXPECT_EQ(pooledSize(faces._blocks[0]), 0u);
        EXPECT_EQ(poolSlabCount(), before);
        for (uint32_t i = 1; i <= 4000; ++i) ASSERT_TRUE(faces.append(OBJFace{}));
        ASSERT_EQ(faces._blocks.size(), 2u);
        EXPECT_EQ(pooledSize(faces._blocks[1]), sizeof(OBJFace) * kFaceBlockSize);
        EXPECT_EQ(poolSlabCount(), before + 1);
    }
    EXPECT_EQ(poolSlabCount(), before);
}

// A slab goes back to the system when its last block goes, the one being
// carved from too.
TEST(BlockPool, EmptiedSlabsAreReturned) {
    const size_t before = poolSlabCount();
    std::vector<void*> blocks;
    for (int i = 0; i < 10; ++i) {
        blocks.push_back(allocateSlabBlock(kPooledMaximum));
        ASSERT_NE(blocks.back(), nullptr);
    }
    EXPECT_GE(poolSlabCount(), before + 3);  // three of the largest blocks fill a slab
    for (void* block : blocks) releaseBlock(block);
    EXPECT_EQ(poolSlabCount(), before);

    for (int i = 0; i < 50; ++i) {
        void* block = allocateSlabBlock(kPooledMinimum);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(poolSlabCount(), before + 1);
        releaseBlock(block);
    }
    EXPECT_EQ(poolSlabCount(), before);
}

// A resize keeps the contents on every road: slab to heap, heap to heap.
TEST(BlockPool, ResizeKeepsTheContents) {
    constexpr size_t kFirst = 64 << 10;
    void* block = allocateSlabBlock(kFirst);
    ASSERT_NE(block, nullptr);
    fill(block, kFirst, 7);

    // A slab block can't grow where it is: it moves to the heap.
    void* grown = resizeBlock(block, 2 * kFirst);
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(pooledSize(grown), 0u);
    EXPECT_TRUE(holds(grown, kFirst, 7));

    void* shrunk = resizeBlock(grown, 1000);
    ASSERT_NE(shrunk, nullptr);
    EXPECT_EQ(pooledSize(shrunk), 0u);
    EXPECT_TRUE(holds(shrunk, 1000, 7));

    // A heap block stays one, growing where the heap lets it.
    void* regrown = resizeBlock(shrunk, 3 * kFirst);
    ASSERT_NE(regrown, nullptr);
    EXPECT_EQ(pooledSize(regrown), 0u);
    EXPECT_TRUE(holds(regrown, 1000, 7));
    releaseBlock(regrown);
}

// Readers on two threads carve from the same slabs.
TEST(BlockPool, ThreadsCarveWithoutOverlap) {
    auto work = [](uint8_t seed, bool* ok) {
        for (int round = 0; round < 200 && *ok; ++round) {
            void* blocks[3];
            for (int i = 0; i < 3; ++i) {
                blocks[i] = allocateSlabBlock(40 << 10);
                if (!blocks[i]) *ok = false;
                else fill(blocks[i], 40 << 10, uint8_t(seed + i));
            }
            for (int i = 0; i < 3; ++i) {
                if (blocks[i] && !holds(blocks[i], 40 << 10, uint8_t(seed + i))) *ok = false;
                releaseBlock(blocks[i]);
            }
        }
    };
    bool firstOk = true, secondOk = true;
    std::thread first(work, uint8_t(1), &firstOk);
    std::thread second(work, uint8_t(101), &secondOk);
    first.join();
    second.join();
    EXPECT_TRUE(firstOk);
    EXPECT_TRUE(secondOk);
}

#ifdef TOLLGRAM_ADDRESS_SANITIZER
// The address checker sees pooled blocks as heap blocks: only live bytes
// may be touched.
TEST(BlockPool, OnlyLiveBytesAreAddressable) {
    auto* block = static_cast<char*>(allocateSlabBlock(kPooledMinimum + 3));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(__asan_region_is_poisoned(block, kPooledMinimum + 3), nullptr);
    EXPECT_TRUE(__asan_address_is_poisoned(block - 1));                   // the header
    EXPECT_TRUE(__asan_address_is_poisoned(block + kPooledMinimum + 8));  // past the end
    // A released block of a slab still in use is poisoned again; the slab
    // goes with its last block, its pages no longer the pool's.
    void* neighbour = allocateSlabBlock(kPooledMinimum);
    ASSERT_NE(neighbour, nullptr);
    releaseBlock(block);
    EXPECT_TRUE(__asan_address_is_poisoned(block));
    releaseBlock(neighbour);
}

// A slab given back leaves no marks on its addresses: whatever is mapped
// there next (the library loaded again) must be addressable.
TEST(BlockPool, SlabsGivenBackLeaveTheirAddressesUnmarked) {
    std::vector<char*> blocks;
    for (int i = 0; i < 10; ++i) {
        blocks.push_back(static_cast<char*>(allocateSlabBlock(kPooledMaximum)));
        ASSERT_NE(blocks.back(), nullptr);
    }
    char* first = blocks.front();
    const size_t slabs = poolSlabCount();
    for (char* block : blocks) releaseBlock(block);
    ASSERT_LT(poolSlabCount(), slabs) << "no slab was given back";
    EXPECT_EQ(__asan_region_is_poisoned(first - 64, kPooledMaximum), nullptr);
}
#endif

}  // namespace
}  // namespace tollgram::obj
