#include <gtest/gtest.h>

#include <filesystem>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/system.h"
#include "support/captured_notes.h"
#include "support/scoped_system.h"
#include "support/temp_folder.h"
#include "thumbnail/abitmap.h"
#include "thumbnail/psd_file.h"
#include "thumbnail/whole_file.h"
#include "thumbnail_support.h"

namespace tollgram::thumbnail {
namespace {

struct Held {
    ABitMap bitmap;
    Held(int32_t depth, int32_t width, int32_t height, const void* bytes) {
        bitmap.Allocate(depth, width, height);
        std::memcpy(bitmap.pixels, bytes, static_cast<size_t>(depth / 8) * width * height);
    }
    ~Held() { bitmap.Free(); }
};

TEST(SaveBMap, WritesHeaderThenRedGreenBluePlanes) {
    const test::Image image = test::randomImage(4, 4, 5);
    Held held(32, 4, 4, image.pixels.data());
    const std::string path = test::scratchPath("four.psd");
    std::remove(path.c_str());
    ASSERT_EQ(SaveBMap(held.bitmap, path.c_str()), 0);
    const std::vector<uint8_t> file = test::readBytes(path);
    ASSERT_EQ(file.size(), 88u);
    for (int i = 0; i < 16; ++i) {
        const uint32_t pixel = image.pixels[i];
        EXPECT_EQ(file[40 + i], (pixel >> 16) & 0xFF) << "red " << i;
        EXPECT_EQ(file[56 + i], (pixel >> 8) & 0xFF) << "green " << i;
        EXPECT_EQ(file[72 + i], pixel & 0xFF) << "blue " << i;
    }
}

TEST(SaveBMap, SplitsOnePixelIntoItsChannelsAndDropsByteThree) {
    std::vector<uint8_t> bytes(4 * 4 * 4, 0);
    const uint8_t pixel[4] = {0x20, 0x40, 0xFF, 0x80};
    std::memcpy(bytes.data() + 5 * 4, pixel, 4);  // row 1, column 1
    Held held(32, 4, 4, bytes.data());
    const std::string path = test::scratchPath("pixel.psd");
    ASSERT_EQ(SaveBMap(held.bitmap, path.c_str()), 0);
    const std::vector<uint8_t> file = test::readBytes(path);
    ASSERT_EQ(file.size(), 88u);
    std::vector<uint8_t> expected(48, 0);
    expected[5] = 0xFF;
    expected[16 + 5] = 0x40;
    expected[32 + 5] = 0x20;
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 40, file.end()), expected);
}

TEST(SaveBMap, A128SquareFileStartsWithTheDocumentHeader) {
    const test::Image image = test::randomImage(128, 128, 6);
    Held held(32, 128, 128, image.pixels.data());
    const std::string path = test::scratchPath("square.psd");
    ASSERT_EQ(SaveBMap(held.bitmap, path.c_str()), 0);
    const std::vector<uint8_t> file = test::readBytes(path);
    EXPECT_EQ(file.size(), 49192u);
    const std::vector<uint8_t> header = {0x38, 0x42, 0x50, 0x53, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0x00, 0x03,
                                         0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x80, 0x00, 0x08, 0x00, 0x03,
                                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_GE(file.size(), header.size());
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 40), header);
    EXPECT_EQ(test::imageFromPsd(file).pixels.size(), 128u * 128u);
    const test::Image back = test::imageFromPsd(file);
    for (size_t i = 0; i < back.pixels.size(); ++i) ASSERT_EQ(back.pixels[i], image.pixels[i] & 0xFFFFFFu) << i;
}

// Plane lists other than SaveBMap's red, green and blue: a 16-bit grey
// plane from the low two bytes of each pixel, one multichannel plane, and
// three planes in another order.
TEST(SaveBMapPlanes, OtherPlaneListsGetTheirOwnSamplesAndColourMode) {
    struct Case {
        const char* name;
        std::vector<int32_t> offsets;
        int32_t bits;
        std::vector<uint8_t> pixelBytes;  // two 32-bit pixels
        uint16_t mode;
        std::vector<uint8_t> data;
    };
    const Case cases[] = {
        {"16-bit grey, big-endian samples", {0}, 16, {0x34, 0x12, 0, 0, 0x78, 0x56, 0, 0}, 1, {0x12, 0x34, 0x56, 0x78}},
        {"8-bit, one multichannel plane", {0}, 8, {0x0A, 0, 0, 0, 0x0B, 0, 0, 0}, 7, {0x0A, 0x0B}},
        {"three planes, bytes 0 1 2", {0, 1, 2}, 8, {1, 2, 3, 9, 4, 5, 6, 9}, 3, {1, 4, 2, 5, 3, 6}},
    };
    for (const Case& c : cases) {
        Held held(32, 2, 1, c.pixelBytes.data());
        std::vector<const ABitMap*> planes(c.offsets.size(), &held.bitmap);
        const std::string path = test::scratchPath("depth.psd");
        ASSERT_EQ(SaveBMapPlanes(held.bitmap, static_cast<int32_t>(planes.size()), path.c_str(), c.bits, planes.data(),
                                 c.offsets.data()),
                  0)
            << c.name;
        const std::vector<uint8_t> file = test::readBytes(path);
        ASSERT_EQ(file.size(), 40 + c.data.size()) << c.name;
        EXPECT_EQ(file[12] << 8 | file[13], c.offsets.size()) << c.name;
        EXPECT_EQ(file[22] << 8 | file[23], c.bits) << c.name;
        EXPECT_EQ(file[24] << 8 | file[25], c.mode) << c.name;
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + 40, file.end()), c.data) << c.name;
    }
}

TEST(SaveBMap, RefusesBitmapsItCannotWrite) {
    test::CapturedNotes notes;
    const std::string path = test::scratchPath("refused.psd");
    std::remove(path.c_str());
    ABitMap empty;
    empty.depth = 32;
    EXPECT_EQ(SaveBMap(empty, path.c_str()), -1) << "no pixels";
    const test::Image image = test::randomImage(4, 4, 7);
    Held held(32, 4, 4, image.pixels.data());
    EXPECT_EQ(SaveBMap(held.bitmap, nullptr), -1) << "no path";
    held.bitmap.width = 6;
    held.bitmap.marginLeft = 2;
    EXPECT_EQ(SaveBMap(held.bitmap, path.c_str()), -1) << "pending margins";
    held.bitmap.width = 4;
    held.bitmap.marginLeft = 0;
    held.bitmap.depth = 12;
    EXPECT_EQ(SaveBMap(held.bitmap, path.c_str()), -1) << "not whole bytes";
    held.bitmap.depth = 24;
    EXPECT_EQ(SaveBMap(held.bitmap, path.c_str()), -1) << "not 32 bits";
    held.bitmap.depth = 32;
    EXPECT_TRUE(test::readBytes(path).empty());
    EXPECT_EQ(notes.count(), 0u);
}

TEST(SaveBMapPlanes, WritesPlanesInListOrderFromTheirBitmaps) {
    const test::Image first = test::randomImage(3, 2, 8);
    const test::Image second = test::randomImage(3, 2, 9);
    Held a(32, 3, 2, first.pixels.data());
    Held b(32, 3, 2, second.pixels.data());
    const ABitMap* planes[] = {&b.bitmap, &a.bitmap, &b.bitmap, &a.bitmap};
    const int32_t offsets[] = {3, 0, 1, 2};
    const std::string path = test::scratchPath("planes.psd");
    ASSERT_EQ(SaveBMapPlanes(a.bitmap, 4, path.c_str(), 8, planes, offsets), 0);
    const std::vector<uint8_t> file = test::readBytes(path);
    ASSERT_EQ(file.size(), 40u + 4 * 6);
    EXPECT_EQ(file[13], 4);
    EXPECT_EQ(file[25], 3) << "four planes are RGB with an extra channel";
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(file[40 + i], second.pixels[i] >> 24) << i;
        EXPECT_EQ(file[46 + i], first.pixels[i] & 0xFF) << i;
        EXPECT_EQ(file[52 + i], (second.pixels[i] >> 8) & 0xFF) << i;
        EXPECT_EQ(file[58 + i], (first.pixels[i] >> 16) & 0xFF) << i;
    }
    Held other(32, 2, 3, first.pixels.data());
    const ABitMap* mismatched[] = {&a.bitmap, &other.bitmap};
    const int32_t two[] = {0, 1};
    EXPECT_EQ(SaveBMapPlanes(a.bitmap, 2, path.c_str(), 8, mismatched, two), -1) << "plane of another size";
    const int32_t outside[] = {0, 4};
    const ABitMap* same[] = {&a.bitmap, &a.bitmap};
    EXPECT_EQ(SaveBMapPlanes(a.bitmap, 2, path.c_str(), 8, same, outside), -1) << "byte 4 of a 4-byte pixel";
}

TEST(PackPlane, CountsWhatItFills) {
    const test::Image image = test::randomImage(5, 3, 10);
    Held held(32, 5, 3, image.pixels.data());
    std::vector<uint8_t> block(64, 0xEE);
    EXPECT_EQ(PackPlane(held.bitmap, 1, 8, nullptr, 7), 22u);
    EXPECT_EQ(PackPlane(held.bitmap, 1, 8, block.data(), 7), 22u);
    EXPECT_EQ(block[6], 0xEE);
    EXPECT_EQ(block[22], 0xEE);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(block[7 + i], (image.pixels[i] >> 8) & 0xFF) << i;
    EXPECT_EQ(PackPlane(held.bitmap, 0, 16, nullptr, 0), 30u);
}

class WholeFile : public ::testing::Test {
protected:
    // The file calls of the write, answered by some tests; the real ones are
    // back after every test.
    platform::FileCalls& fileCalls() { return system_.calls().files; }

private:
    test::ScopedSystem system_;
};

TEST_F(WholeFile, OverwritesALongerFileAndGrowsAShorterOne) {
    const std::string path = test::scratchPath("whole.bin");
    const std::vector<uint8_t> content = {1, 2, 3, 4, 5};
    struct Case {
        const char* name;
        std::vector<uint8_t> before;
    };
    const Case cases[] = {{"longer", std::vector<uint8_t>(100, 9)}, {"shorter", {7, 7}}, {"missing", {}}};
    for (const Case& c : cases) {
        std::remove(path.c_str());
        if (!c.before.empty()) test::writeBytes(path, c.before);
        test::CapturedNotes notes;
        EXPECT_EQ(WriteWholeFile(path.c_str(), content.data(), content.size()), 0) << c.name;
        EXPECT_EQ(test::readBytes(path), content) << c.name;
        EXPECT_EQ(notes.count(), 0u) << c.name;
    }
}

TEST_F(WholeFile, AFolderThatDoesNotExistFailsWithoutANote) {
    test::CapturedNotes notes;
    const std::string path = test::scratchPath("no such folder/x.psd");
    const uint8_t byte = 1;
    EXPECT_EQ(WriteWholeFile(path.c_str(), &byte, 1), -1);
    EXPECT_EQ(WriteWholeFile(nullptr, &byte, 1), -1);
    EXPECT_EQ(notes.count(), 0u);
}

size_t writeAllButThree(platform::FileHandle file, const void* bytes, size_t count) {
    return platform::platformSystem().files.write(file, bytes, count - 3);
}

// A short write (a full disk) is reported, and leaves an existing file as it
// was and no new one, nor any staging file, behind.
TEST_F(WholeFile, AShortWriteIsReportedEveryTimeAndChangesNothing) {
    const test::TempFolder folder;
    const std::string existing = folder.at("short.bin");
    const std::string missing = folder.at("new.bin");
    test::writeBytes(existing, std::vector<uint8_t>(50, 9));
    fileCalls().write = &writeAllButThree;
    const std::vector<uint8_t> content = {1, 2, 3, 4, 5, 6};
    test::CapturedNotes notes;
    EXPECT_EQ(WriteWholeFile(existing.c_str(), content.data(), content.size()), -1);
    EXPECT_EQ(WriteWholeFile(missing.c_str(), content.data(), content.size()), -1);
    ASSERT_EQ(notes.count(), 2u);
    EXPECT_EQ(notes.at(1).caption, "FILE WRITE ERROR");
    EXPECT_EQ(notes.at(1).text, "Incomplete file write.");
    EXPECT_EQ(notes.at(1).style, 0x11040u);
    EXPECT_EQ(test::readBytes(existing), std::vector<uint8_t>(50, 9));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), std::filesystem::directory_iterator()), 1);
}

// A device, a FIFO or a directory is no file to write: -1, nothing written,
// no box.
TEST_F(WholeFile, ATargetThatIsNoRegularFileIsRefused) {
    const test::TempFolder folder;
    test::CapturedNotes notes;
    const uint8_t byte = 1;
#if defined(_WIN32)
    EXPECT_EQ(WriteWholeFile("NUL", &byte, 1), -1);
    EXPECT_EQ(WriteWholeFile(folder.at("com1.psd").c_str(), &byte, 1), -1);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
#else
    // The FIFO of the test's own, never a device of the system's.
    const std::string fifo = folder.at("pipe.psd");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(WriteWholeFile(fifo.c_str(), &byte, 1), -1);
    EXPECT_FALSE(std::filesystem::is_regular_file(fifo));
#endif
    EXPECT_EQ(WriteWholeFile(folder.text().c_str(), &byte, 1), -1);
    EXPECT_EQ(notes.count(), 0u);
}

#if !defined(_WIN32)
// ImageMagick as an independent reader: the written document decoded to raw
// RGB must give back the pixels.
TEST(SaveBMap, ImageMagickReadsTheDocumentAsWritten) {
    if (std::system("convert -version > /dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick's convert is missing";
    const test::Image image = test::randomImage(37, 21, 11);
    Held held(32, 37, 21, image.pixels.data());
    const std::string path = test::scratchPath("magick.psd");
    const std::string raw = test::scratchPath("magick.rgb");
    ASSERT_EQ(SaveBMap(held.bitmap, path.c_str()), 0);
    const std::string command = "convert '" + path + "[0]' -depth 8 rgb:'" + raw + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::vector<uint8_t> decoded = test::readBytes(raw);
    ASSERT_EQ(decoded.size(), 37u * 21u * 3u);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const uint32_t pixel = image.pixels[i];
        ASSERT_EQ(decoded[3 * i], (pixel >> 16) & 0xFF) << "red " << i;
        ASSERT_EQ(decoded[3 * i + 1], (pixel >> 8) & 0xFF) << "green " << i;
        ASSERT_EQ(decoded[3 * i + 2], pixel & 0xFF) << "blue " << i;
    }
}
#endif

}  // namespace
}  // namespace tollgram::thumbnail
