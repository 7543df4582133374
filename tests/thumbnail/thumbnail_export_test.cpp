#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame/exports.h"
#include "support/module_reset.h"
#include "host/records.h"
#include "substitute_host/substitute_host.h"
#include "support/captured_notes.h"
#include "thumbnail/thumbnail_state.h"
#include "thumbnail_support.h"

namespace tollgram {
namespace {

using test::Image;

float setThumbnail(const char* key, double value) { return ::SetThumbnail(key, value, nullptr, 0, 0, 0, nullptr); }

float saveThumbnail(const std::string& path, double value, void* context) {
    return ::SaveTextureThumbnail(path.c_str(), value, nullptr, 0, 0, 0, context);
}

class Thumbnails : public ::testing::Test {
protected:
    void SetUp() override { resetModuleState(); }
    void TearDown() override { resetModuleState(); }

    // Saves image as the current texture with the given target and reads the
    // file back.
    Image thumbnailOf(const Image& image, int32_t targetWidth, int32_t targetHeight) {
        substitute::SubstituteHost kavrex;
        kavrex.setTexture(image.width, image.height, 32, image.pixels.data());
        setThumbnail("width", targetWidth);
        setThumbnail("height", targetHeight);
        const std::string path = test::scratchPath("export.psd");
        std::remove(path.c_str());
        EXPECT_EQ(saveThumbnail(path, 0.0, kavrex.context()), 0.0f);
        return test::imageFromPsd(test::readBytes(path));
    }
};

TEST_F(Thumbnails, SetThumbnailStoresExactKeysOnly) {
    struct Case {
        const char* key;
        double value;
        float result;
        int32_t width, height;
    };
    const Case cases[] = {
        {"width", 200.7, 0.0f, 200, 0},   {"height", 64.0, 0.0f, 200, 64},  {"Width", 9.0, -1.0f, 200, 64},
        {"width ", 9.0, -1.0f, 200, 64},  {nullptr, 9.0, -1.0f, 200, 64},   {"size", 9.0, -1.0f, 200, 64},
        {"width", -5.0, 0.0f, -5, 64},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(setThumbnail(c.key, c.value), c.result) << (c.key ? c.key : "null");
        EXPECT_EQ(thumbnail::thumbnailState().thumbnailWidth, c.width) << (c.key ? c.key : "null");
        EXPECT_EQ(thumbnail::thumbnailState().thumbnailHeight, c.height) << (c.key ? c.key : "null");
    }
}

TEST_F(Thumbnails, ArgumentChecksFailBeforeAnythingIsTouched) {
    substitute::SubstituteHost kavrex;
    const Image image = test::randomImage(8, 8, 1);
    uint8_t* texture = kavrex.setTexture(8, 8, 32, image.pixels.data());
    substitute::SubstituteHost noTexture;
    const std::string path = test::scratchPath("checked.psd");
    struct Case {
        const char* name;
        void (*prepare)(uint8_t* texture);
        double value;
        bool withContext;
        bool withPath;
    };
    const Case cases[] = {
        {"no context", [](uint8_t*) {}, 8.0, false, true},
        {"no path", [](uint8_t*) {}, 8.0, true, false},
        {"value 3.5 gives side 3", [](uint8_t*) {}, 3.5, true, true},
        {"stored size 0 × 0", [](uint8_t*) {}, 0.0, true, true},
        {"width 0.5 in 16.16", [](uint8_t* t) { substitute::SubstituteHost::set32(t, host::texture::kWidth, 0x8000); },
         8.0, true, true},
        {"height below one", [](uint8_t* t) { substitute::SubstituteHost::set32(t, host::texture::kHeight, 0xFFFF); },
         8.0, true, true},
        {"negative width", [](uint8_t* t) { substitute::SubstituteHost::set16(t, host::texture::kWidth + 2, 0xFFF8); },
         8.0, true, true},
        {"negative height",
         [](uint8_t* t) { substitute::SubstituteHost::set16(t, host::texture::kHeight + 2, 0x8000); }, 8.0, true, true},
        {"24 bits per pixel", [](uint8_t* t) { substitute::SubstituteHost::set32(t, host::texture::kBitsPerPixel, 24); },
         8.0, true, true},
        {"no buffer record", [](uint8_t* t) { substitute::SubstituteHost::set32(t, host::texture::kPixels, 0); }, 8.0,
         true, true},
    };
    EXPECT_EQ(saveThumbnail(path, 8.0, noTexture.context()), -1.0f) << "no texture record";
    for (const Case& c : cases) {
        kavrex.setTexture(8, 8, 32, image.pixels.data());
        texture = kavrex.textureRecord();
        c.prepare(texture);
        std::remove(path.c_str());
        test::CapturedNotes notes;
        const float result = ::SaveTextureThumbnail(c.withPath ? path.c_str() : nullptr, c.value, nullptr, 0, 0, 0,
                                                    c.withContext ? kavrex.context() : nullptr);
        EXPECT_EQ(result, -1.0f) << c.name;
        EXPECT_TRUE(test::readBytes(path).empty()) << c.name;
        EXPECT_EQ(notes.count(), 0u) << c.name;
    }
}

TEST_F(Thumbnails, A1024TextureIsHalvedThreeTimesTo128) {
    const Image image = test::randomImage(1024, 1024, 2);
    const Image expected = test::referenceHalve(test::referenceHalve(test::referenceHalve(image)));
    const Image got = thumbnailOf(image, 128, 128);
    ASSERT_EQ(got.width, 128);
    ASSERT_EQ(got.height, 128);
    EXPECT_EQ(got.pixels, expected.pixels);
}

TEST_F(Thumbnails, A1000TextureIsHalvedTo125ThenPaddedCentredWithBlack) {
    Image image{1000, 1000, std::vector<uint32_t>(1000 * 1000, 0xFF808080u)};
    const Image half = test::referenceHalve(test::referenceHalve(test::referenceHalve(image)));
    ASSERT_EQ(half.width, 125);
    const Image got = thumbnailOf(image, 128, 128);
    ASSERT_EQ(got.width, 128);
    ASSERT_EQ(got.height, 128);
    for (int32_t y = 0; y < 128; ++y) {
        for (int32_t x = 0; x < 128; ++x) {
            const bool inside = x >= 1 && x < 126 && y >= 1 && y < 126;  // 1 left/top, 2 right/bottom
            ASSERT_EQ(got.at(x, y), inside ? half.at(x - 1, y - 1) : 0u) << "x " << x << " y " << y;
        }
    }
}

TEST_F(Thumbnails, AWideFlatTextureIsThinnedAndBanded) {
    const Image image = test::positionImage(100, 50);
    const Image got = thumbnailOf(image, 64, 64);
    ASSERT_EQ(got.width, 64);
    ASSERT_EQ(got.height, 64);
    // Not halved: the kept columns are source columns, unfiltered.
    const int32_t firstColumns[] = {0, 1};
    for (int32_t y = 0; y < 64; ++y) {
        const bool band = y < 7 || y >= 57;
        for (int32_t k : firstColumns) {
            EXPECT_EQ(got.at(k, y), band ? 0u : image.at(k, y - 7) & 0xFFFFFFu) << "column " << k << " y " << y;
        }
    }
    // Every thumbnail column is some source column, in increasing order.
    int32_t previous = -1;
    for (int32_t x = 0; x < 64; ++x) {
        const int32_t column = static_cast<int32_t>(got.at(x, 7) & 0xFF);
        EXPECT_GT(column, previous) << x;
        previous = column;
    }
    EXPECT_LT(previous, 100);
}

TEST_F(Thumbnails, ATextureOfTheTargetSizeIsWrittenAsCopied) {
    const Image image = test::randomImage(40, 30, 3);
    const Image got = thumbnailOf(image, 40, 30);
    ASSERT_EQ(got.pixels.size(), image.pixels.size());
    for (size_t i = 0; i < got.pixels.size(); ++i) ASSERT_EQ(got.pixels[i], image.pixels[i] & 0xFFFFFFu) << i;
}

TEST_F(Thumbnails, APositiveValueAsksForASquareWhateverIsStored) {
    substitute::SubstituteHost kavrex;
    const Image image = test::randomImage(64, 32, 4);
    kavrex.setTexture(64, 32, 32, image.pixels.data());
    setThumbnail("width", -5.0);
    setThumbnail("height", 16.0);
    const std::string path = test::scratchPath("value.psd");
    EXPECT_EQ(saveThumbnail(path, 0.0, kavrex.context()), -1.0f) << "stored width -5";
    EXPECT_EQ(saveThumbnail(path, 300.9, kavrex.context()), 0.0f);
    const Image got = test::imageFromPsd(test::readBytes(path));
    EXPECT_EQ(got.width, 300);
    EXPECT_EQ(got.height, 300);
}

TEST_F(Thumbnails, AWriteThatCannotHappenFailsWithoutANote) {
    substitute::SubstituteHost kavrex;
    const Image image = test::randomImage(16, 16, 5);
    kavrex.setTexture(16, 16, 32, image.pixels.data());
    test::CapturedNotes notes;
    EXPECT_EQ(saveThumbnail(test::scratchPath("missing folder/t.psd"), 8.0, kavrex.context()), -1.0f);
    EXPECT_EQ(notes.count(), 0u);
}

TEST_F(Thumbnails, RunningOutOfMemoryIsTheNoteAndFailure) {
    substitute::SubstituteHost kavrex;
    const Image image = test::randomImage(8, 8, 6);
    kavrex.setTexture(8, 8, 32, image.pixels.data());
    test::CapturedNotes notes;
    // Margins for 2^31 − 1 squared: no heap can hold that.
    EXPECT_EQ(saveThumbnail(test::scratchPath("huge.psd"), 2147483647.0, kavrex.context()), -1.0f);
    ASSERT_EQ(notes.count(), 1u);
    EXPECT_EQ(notes.at(0).caption, "Plugin Note: memory could not be allocated.");
    EXPECT_EQ(notes.at(0).text, "ABitMap::Allocate");
}

#if !defined(_WIN32)
TEST_F(Thumbnails, ImageMagickSeesTheRequestedSize) {
    if (std::system("identify -version > /dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick's identify is missing";
    substitute::SubstituteHost kavrex;
    const Image image = test::randomImage(300, 90, 7);
    kavrex.setTexture(300, 90, 32, image.pixels.data());
    setThumbnail("width", 48);
    setThumbnail("height", 20);
    const std::string path = test::scratchPath("identify.psd");
    const std::string answer = test::scratchPath("identify.txt");
    ASSERT_EQ(saveThumbnail(path, 0.0, kavrex.context()), 0.0f);
    const std::string command = "identify -format '%w %h %[channels]' '" + path + "[0]' > '" + answer + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::vector<uint8_t> text = test::readBytes(answer);
    EXPECT_EQ(std::string(text.begin(), text.end()).substr(0, 9), "48 20 srg");
}
#endif

}  // namespace
}  // namespace tollgram
