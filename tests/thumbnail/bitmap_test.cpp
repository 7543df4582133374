#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/records.h"
#include "substitute_host/substitute_host.h"
#include "support/captured_notes.h"
#include "thumbnail/abitmap.h"
#include "thumbnail/shrink_walk.h"
#include "thumbnail_support.h"

namespace tollgram::thumbnail {
namespace {

using test::Image;

// A bitmap holding a copy of image, freed with the bitmap.
struct Held {
    ABitMap bitmap;
    explicit Held(const Image& image) {
        bitmap.Allocate(32, image.width, image.height);
        std::memcpy(bitmap.pixels, image.pixels.data(), image.pixels.size() * 4);
    }
    ~Held() { bitmap.Free(); }
    uint32_t at(int32_t x, int32_t y) const {
        uint32_t pixel;
        std::memcpy(&pixel, bitmap.pixels + (static_cast<size_t>(y) * bitmap.dataWidth + x) * 4, 4);
        return pixel;
    }
};

TEST(ABitMapRecord, HasItsElevenFieldsInOrder) {
    EXPECT_EQ(offsetof(ABitMap, width), 0u);
    EXPECT_EQ(offsetof(ABitMap, height), 4u);
    EXPECT_EQ(offsetof(ABitMap, depth), 8u);
    EXPECT_EQ(offsetof(ABitMap, dataWidth), 12u);
    EXPECT_EQ(offsetof(ABitMap, dataHeight), 16u);
    EXPECT_EQ(offsetof(ABitMap, marginLeft), 20u);
    EXPECT_EQ(offsetof(ABitMap, marginRight), 24u);
    EXPECT_EQ(offsetof(ABitMap, marginTop), 28u);
    EXPECT_EQ(offsetof(ABitMap, marginBottom), 32u);
    EXPECT_EQ(offsetof(ABitMap, fillValue), 36u);
    EXPECT_EQ(offsetof(ABitMap, pixels), 40u);
}

TEST(ABitMapRecord, AllocateSetsTheSizeAndKeepsMarginsFreeKeepsTheRest) {
    test::CapturedNotes notes;
    ABitMap bitmap;
    bitmap.marginLeft = 3;
    bitmap.fillValue = 9;
    ASSERT_NE(bitmap.Allocate(32, 5, 7), nullptr);
    EXPECT_EQ(bitmap.depth, 32);
    EXPECT_EQ(bitmap.width, 5);
    EXPECT_EQ(bitmap.dataWidth, 5);
    EXPECT_EQ(bitmap.height, 7);
    EXPECT_EQ(bitmap.dataHeight, 7);
    EXPECT_EQ(bitmap.marginLeft, 3);
    EXPECT_EQ(bitmap.fillValue, 9u);
    std::memset(bitmap.pixels, 0xAB, 5 * 7 * 4);  // the whole block is there (ASan checks)
    bitmap.Free();
    EXPECT_EQ(bitmap.pixels, nullptr);
    EXPECT_EQ(bitmap.width, 0);
    EXPECT_EQ(bitmap.height, 0);
    EXPECT_EQ(bitmap.depth, 0);
    EXPECT_EQ(bitmap.dataWidth, 5);
    EXPECT_EQ(bitmap.marginLeft, 3);
    EXPECT_EQ(notes.count(), 0u);
}

TEST(ABitMapRecord, ASizeNoHeapCanGiveIsTheOutOfMemoryNote) {
    struct Case {
        const char* name;
        int32_t depth, width, height;
    };
    const Case cases[] = {
        {"negative width", 32, -4, 4},
        {"negative height", 32, 4, -1},
        {"2^31 squared", 32, 0x7FFFFFFF, 0x7FFFFFFF},
    };
    for (const Case& c : cases) {
        test::CapturedNotes notes;
        ABitMap bitmap;
        EXPECT_EQ(bitmap.Allocate(c.depth, c.width, c.height), nullptr) << c.name;
        ASSERT_EQ(notes.count(), 1u) << c.name;
        EXPECT_EQ(notes.at(0).caption, "Plugin Note: memory could not be allocated.") << c.name;
        EXPECT_EQ(notes.at(0).text, "ABitMap::Allocate") << c.name;
    }
}

TEST(CopyFromTexture, TakesTheTexturePixelsAndSize) {
    const Image image = test::randomImage(7, 3, 1);
    substitute::SubstituteHost kavrex;
    const uint8_t* texture = kavrex.setTexture(7, 3, 32, image.pixels.data());
    ABitMap bitmap;
    ASSERT_EQ(bitmap.CopyFromTexture(texture), 0);
    EXPECT_EQ(bitmap.width, 7);
    EXPECT_EQ(bitmap.height, 3);
    EXPECT_EQ(bitmap.depth, 32);
    EXPECT_EQ(std::memcmp(bitmap.pixels, image.pixels.data(), 7 * 3 * 4), 0);
    bitmap.Free();
}

TEST(CopyFromTexture, FailsWithoutRecordBufferOrAddress) {
    substitute::SubstituteHost kavrex;
    uint8_t* texture = kavrex.setTexture(4, 4, 32, nullptr);
    uint8_t* buffer = host::pointerAt(texture, host::texture::kPixels);
    ABitMap bitmap;
    EXPECT_EQ(bitmap.CopyFromTexture(nullptr), -1);
    substitute::SubstituteHost::set32(buffer, host::buffer_record::kElements, 0);
    EXPECT_EQ(bitmap.CopyFromTexture(texture), -1) << "no pixel address";
    substitute::SubstituteHost::set32(texture, host::texture::kPixels, 0);
    EXPECT_EQ(bitmap.CopyFromTexture(texture), -1) << "no buffer record";
    EXPECT_EQ(bitmap.pixels, nullptr);
}

TEST(Halve, MatchesTheNineTermFormulaOnRandomImages) {
    struct Size {
        int32_t width, height;
    };
    // Odd sizes, the smallest ones, and rows longer than one internal tile.
    const Size sizes[] = {{2, 2}, {3, 3}, {2, 9}, {9, 2}, {5, 7}, {16, 16}, {31, 17},
                          {513, 5}, {1030, 4}, {1537, 3}, {600, 601}};
    uint32_t seed = 10;
    for (const Size& size : sizes) {
        const Image image = test::randomImage(size.width, size.height, ++seed);
        const Image expected = test::referenceHalve(image);
        Held source(image);
        ABitMap half;
        ASSERT_EQ(half.Halve(source.bitmap), 0) << size.width << "x" << size.height;
        ASSERT_EQ(half.width, expected.width);
        ASSERT_EQ(half.height, expected.height);
        ASSERT_EQ(half.depth, 32);
        int mismatches = 0;
        for (size_t i = 0; i < expected.pixels.size(); ++i) {
            uint32_t got;
            std::memcpy(&got, half.pixels + i * 4, 4);
            if (got != expected.pixels[i] && ++mismatches < 4) {
                ADD_FAILURE() << size.width << "x" << size.height << " pixel " << i << ": " << std::hex << got
                              << " instead of " << expected.pixels[i];
            }
        }
        half.Free();
    }
}

TEST(Halve, ABrightTopRowWeighsTwelveSixteenthsInOutputRowZero) {
    Image image{8, 8, std::vector<uint32_t>(64, 0)};
    for (int32_t x = 0; x < 8; ++x) image.pixels[x] = 0x000000FFu;  // channel 0 at 255 in row 0
    Held source(image);
    ABitMap half;
    ASSERT_EQ(half.Halve(source.bitmap), 0);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(half.pixels[i * 4], 191) << "row 0, column " << i;
        for (int32_t j = 1; j < 4; ++j) EXPECT_EQ(half.pixels[(j * 4 + i) * 4], 0) << "row " << j;
    }
    half.Free();
}

TEST(Halve, RefusesWhatItCannotRead) {
    Held small(test::randomImage(1, 5, 3));
    Held flat(test::randomImage(5, 1, 3));
    Held fine(test::randomImage(4, 4, 3));
    ABitMap empty;
    ABitMap half;
    EXPECT_EQ(half.Halve(empty), -1) << "no pixels";
    EXPECT_EQ(half.Halve(small.bitmap), -1) << "width 1";
    EXPECT_EQ(half.Halve(flat.bitmap), -1) << "height 1";
    EXPECT_EQ(fine.bitmap.Halve(fine.bitmap), -1) << "into itself";
    fine.bitmap.depth = 24;
    EXPECT_EQ(half.Halve(fine.bitmap), -1) << "3-byte pixels";
    fine.bitmap.depth = 32;
    fine.bitmap.width = 6;
    fine.bitmap.marginRight = 2;
    EXPECT_EQ(half.Halve(fine.bitmap), -1) << "pending margins";
    fine.bitmap.width = 4;
    EXPECT_EQ(half.pixels, nullptr);
}

TEST(HalveTexture, GivesWhatHalvingACopyGivesAndRefusesWhatItCannotRead) {
    const Image image = test::randomImage(37, 22, 21);
    substitute::SubstituteHost kavrex;
    uint8_t* texture = kavrex.setTexture(37, 22, 32, image.pixels.data());
    ABitMap copy;
    ABitMap viaCopy;
    ABitMap direct;
    ASSERT_EQ(copy.CopyFromTexture(texture), 0);
    ASSERT_EQ(viaCopy.Halve(copy), 0);
    ASSERT_EQ(direct.HalveTexture(texture), 0);
    ASSERT_EQ(direct.width, 18);
    ASSERT_EQ(direct.height, 11);
    EXPECT_EQ(std::memcmp(direct.pixels, viaCopy.pixels, 18 * 11 * 4), 0);
    EXPECT_EQ(std::memcmp(kavrex.texturePixels(), image.pixels.data(), image.pixels.size() * 4), 0)
        << "the texture is only read";
    copy.Free();
    viaCopy.Free();

    substitute::SubstituteHost::set32(texture, host::texture::kBitsPerPixel, 24);
    EXPECT_EQ(direct.HalveTexture(texture), -1) << "24 bits per pixel";
    EXPECT_EQ(direct.pixels, nullptr);
    substitute::SubstituteHost::set32(texture, host::texture::kBitsPerPixel, 32);
    substitute::SubstituteHost::set32(texture, host::texture::kPixels, 0);
    EXPECT_EQ(direct.HalveTexture(texture), -1) << "no buffer record";
    EXPECT_EQ(direct.HalveTexture(nullptr), -1) << "no texture record";
}

std::vector<int32_t> keptBy(int32_t size, int32_t target) {
    std::vector<int32_t> kept;
    shrinkWalk(size, target, size, [&](int32_t index, int32_t position) {
        EXPECT_EQ(position, static_cast<int32_t>(kept.size()));
        kept.push_back(index);
    });
    return kept;
}

TEST(ShrinkWalk, KeepsTheIndicesOfTheSinglePrecisionWalk) {
    struct Case {
        int32_t size, target;
        std::vector<int32_t> firstKept;
    };
    const Case cases[] = {
        {10, 4, {0, 1, 3, 6}},
        {6, 4, {0, 1, 2, 4}},
        {9, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
        {300, 128, {0, 1, 3, 5, 8, 10, 12, 15}},
    };
    for (const Case& c : cases) {
        const std::vector<int32_t> kept = keptBy(c.size, c.target);
        ASSERT_EQ(kept.size(), static_cast<size_t>(c.target)) << c.size << " to " << c.target;
        EXPECT_EQ(std::vector<int32_t>(kept.begin(), kept.begin() + static_cast<long>(c.firstKept.size())),
                  c.firstKept)
            << c.size << " to " << c.target;
        for (size_t i = 1; i < kept.size(); ++i) ASSERT_LT(kept[i - 1], kept[i]) << c.size << " to " << c.target;
        EXPECT_LT(kept.back(), c.size);
    }
}

TEST(ShrinkWidth, KeepsTheSameColumnsInEveryRowPackedToTheNewWidth) {
    const Image image = test::positionImage(10, 3);
    Held held(image);
    held.bitmap.ShrinkWidth(4);
    ASSERT_EQ(held.bitmap.width, 4);
    ASSERT_EQ(held.bitmap.dataWidth, 4);
    EXPECT_EQ(held.bitmap.height, 3);
    const int32_t kept[] = {0, 1, 3, 6};
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t k = 0; k < 4; ++k) EXPECT_EQ(held.at(k, y), image.at(kept[k], y)) << "row " << y << " kept " << k;
    }
}

TEST(ShrinkHeight, MovesTheKeptRowsUp) {
    const Image image = test::positionImage(3, 6);
    Held held(image);
    held.bitmap.ShrinkHeight(4);
    ASSERT_EQ(held.bitmap.height, 4);
    ASSERT_EQ(held.bitmap.dataHeight, 4);
    const int32_t kept[] = {0, 1, 2, 4};
    for (int32_t k = 0; k < 4; ++k) {
        for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(held.at(x, k), image.at(x, kept[k])) << "kept row " << k;
    }
}

TEST(Shrink, DoesNothingWithoutSomethingToDrop) {
    struct Case {
        const char* name;
        int32_t target;
        int32_t depth;
    };
    const Case cases[] = {{"target equal", 5, 32}, {"target above", 9, 32}, {"target 0", 0, 32},
                          {"target negative", -2, 32}};
    for (const Case& c : cases) {
        Held held(test::positionImage(5, 5));
        held.bitmap.depth = c.depth;
        held.bitmap.ShrinkWidth(c.target);
        held.bitmap.ShrinkHeight(c.target);
        EXPECT_EQ(held.bitmap.width, 5) << c.name;
        EXPECT_EQ(held.bitmap.height, 5) << c.name;
        EXPECT_EQ(held.at(4, 4), test::positionImage(5, 5).at(4, 4)) << c.name;
    }
    Held deep(test::positionImage(5, 5));
    deep.bitmap.depth = 24;
    deep.bitmap.ShrinkWidth(3);
    EXPECT_EQ(deep.bitmap.width, 5) << "ShrinkWidth takes only 32-bit pixels";
    deep.bitmap.depth = 32;
}

TEST(ApplyMargins, StoresFillAroundTheRowsInMemoryOrder) {
    const Image image = test::positionImage(3, 2);
    Held held(image);
    held.bitmap.marginLeft = 1;
    held.bitmap.marginRight = 2;
    held.bitmap.marginTop = 2;
    held.bitmap.marginBottom = 1;
    held.bitmap.width = 6;
    held.bitmap.height = 5;
    held.bitmap.fillValue = 0x11223344u;
    ABitMap target;
    ASSERT_EQ(held.bitmap.ApplyMargins(target), 0);
    ASSERT_EQ(target.width, 6);
    ASSERT_EQ(target.height, 5);
    EXPECT_EQ(target.marginLeft, 0);
    for (int32_t y = 0; y < 5; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            uint32_t got;
            std::memcpy(&got, target.pixels + (y * 6 + x) * 4, 4);
            const bool stored = y >= 2 && y < 4 && x >= 1 && x < 4;
            EXPECT_EQ(got, stored ? image.at(x - 1, y - 2) : 0x11223344u) << "x " << x << " y " << y;
        }
    }
    target.Free();
    held.bitmap.width = 3;
    held.bitmap.height = 2;
}

TEST(ApplyMargins, RefusesOtherDepthsAndInconsistentMargins) {
    Held held(test::positionImage(3, 2));
    ABitMap target;
    held.bitmap.depth = 24;
    EXPECT_EQ(held.bitmap.ApplyMargins(target), -1) << "depth 24";
    held.bitmap.depth = 32;
    held.bitmap.marginLeft = 1;  // width not grown with it
    EXPECT_EQ(held.bitmap.ApplyMargins(target), -1) << "margins not counted in width";
    held.bitmap.marginLeft = 0;
    EXPECT_EQ(target.pixels, nullptr);
}

}  // namespace
}  // namespace tollgram::thumbnail
