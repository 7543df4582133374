// The thumbnail exports through the real DLL, with a substitute texture
// record, and the file calls the DLL imports.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "abi/abi_dll.h"
#include "substitute_host/substitute_host.h"

namespace {

std::string tempPath(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::vector<unsigned char> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint32_t> gradient(int32_t width, int32_t height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = 0xAA000000u | (y << 8) | x;
    }
    return pixels;
}

TEST(ThumbnailAbi, ImportsTheFileCallsByTheirAnsiNames) {
    const char* names[] = {"_lopen", "CreateFileA", "_lwrite", "SetEndOfFile", "_lclose"};
    for (const char* name : names) {
        void* address = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name));
        kavrex::ImportPatch patch("kernel32.dll", name, address);
        EXPECT_TRUE(patch.active()) << "Tollgram.dll does not import kernel32.dll!" << name;
    }
}

TEST(ThumbnailAbi, SetThumbnailTakesWidthAndHeight) {
    EXPECT_EQ(kavrex::call("SetThumbnail", "width", 16.0), 0.0f);
    EXPECT_EQ(kavrex::call("SetThumbnail", "height", 8.0), 0.0f);
    EXPECT_EQ(kavrex::call("SetThumbnail", "Height", 8.0), -1.0f);
    EXPECT_EQ(kavrex::call("SetThumbnail", nullptr, 8.0), -1.0f);
}

TEST(ThumbnailAbi, WritesTheTextureAsAPhotoshopDocument) {
    tollgram::substitute::SubstituteHost host;
    const std::vector<uint32_t> pixels = gradient(16, 8);
    host.setTexture(16, 8, 32, pixels.data());
    const std::string path = tempPath("tollgram_abi_thumb.psd");
    // An older, longer file loses its tail.
    { std::ofstream(path, std::ios::binary) << std::string(2000, 'x'); }
    ASSERT_EQ(kavrex::call("SetThumbnail", "width", 16.0), 0.0f);
    ASSERT_EQ(kavrex::call("SetThumbnail", "height", 8.0), 0.0f);
    kavrex::MessageBoxCapture boxes;
    EXPECT_EQ(kavrex::call("SaveTextureThumbnail", path.c_str(), 0.0, nullptr, 0, host.context()), 0.0f);
    const std::vector<unsigned char> file = fileBytes(path);
    ASSERT_EQ(file.size(), 40u + 3u * 16u * 8u);
    EXPECT_EQ(std::memcmp(file.data(), "8BPS\0\1", 6), 0);
    EXPECT_EQ(file[17], 8) << "rows";
    EXPECT_EQ(file[21], 16) << "columns";
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(file[40 + i], 0) << "red " << i;
        EXPECT_EQ(file[40 + 128 + i], i / 16) << "green " << i;
        EXPECT_EQ(file[40 + 256 + i], i % 16) << "blue " << i;
    }
    EXPECT_TRUE(boxes.boxes().empty());
    std::remove(path.c_str());
}

TEST(ThumbnailAbi, RefusesBadArgumentsAndAMissingFolderWithoutABox) {
    tollgram::substitute::SubstituteHost host;
    const std::vector<uint32_t> pixels = gradient(16, 16);
    host.setTexture(16, 16, 32, pixels.data());
    kavrex::MessageBoxCapture boxes;
    const std::string missing = tempPath("tollgram no such folder\\t.psd");
    EXPECT_EQ(kavrex::call("SaveTextureThumbnail", missing.c_str(), 8.0, nullptr, 0, host.context()), -1.0f);
    EXPECT_EQ(kavrex::call("SaveTextureThumbnail", nullptr, 8.0, nullptr, 0, host.context()), -1.0f);
    EXPECT_EQ(kavrex::call("SaveTextureThumbnail", tempPath("t.psd").c_str(), 8.0, nullptr, 0, nullptr), -1.0f);
    EXPECT_EQ(kavrex::call("SaveTextureThumbnail", tempPath("t.psd").c_str(), 3.5, nullptr, 0, host.context()), -1.0f);
    host.setTexture(16, 16, 24, pixels.data());
    EXPECT_EQ(kavrex::call("SaveTextureThumbnail", tempPath("t.psd").c_str(), 8.0, nullptr, 0, host.context()), -1.0f);
    EXPECT_TRUE(boxes.boxes().empty());
}

UINT WINAPI shortWrite(HFILE file, LPCCH bytes, UINT count) {
    DWORD written = 0;
    WriteFile(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file)), bytes, count / 2, &written, nullptr);
    return written;
}

// A short write shows the box and leaves an existing file as it was.
TEST(ThumbnailAbi, AShortWriteShowsTheFileWriteErrorBox) {
    tollgram::substitute::SubstituteHost host;
    const std::vector<uint32_t> pixels = gradient(8, 8);
    host.setTexture(8, 8, 32, pixels.data());
    const std::string path = tempPath("tollgram_abi_short.psd");
    { std::ofstream(path, std::ios::binary) << std::string(3000, 'x'); }
    kavrex::MessageBoxCapture boxes;
    kavrex::ImportPatch patch("kernel32.dll", "_lwrite", reinterpret_cast<void*>(&shortWrite));
    ASSERT_TRUE(patch.active());
    EXPECT_EQ(kavrex::call("SaveTextureThumbnail", path.c_str(), 8.0, nullptr, 0, host.context()), -1.0f);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "FILE WRITE ERROR");
    EXPECT_EQ(boxes.boxes()[0].text, "Incomplete file write.");
    EXPECT_EQ(boxes.boxes()[0].style, 0x11040u);
    EXPECT_EQ(boxes.boxes()[0].owner, nullptr);
    EXPECT_EQ(fileBytes(path), std::vector<unsigned char>(3000, 'x'));
    std::remove(path.c_str());
}

}  // namespace
