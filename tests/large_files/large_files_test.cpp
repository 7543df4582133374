// Files past 2 GiB and 4 GiB through the library as Kavrex uses it: the
// library loaded by file name (the 32-bit DLL, whose runtime's own offsets
// are 32 bits), a model whose lines lie before, past 2 GiB and past 4 GiB
// read whole, and such a file copied to its last byte. Long: every read and
// copy here moves gigabytes, so these run only when asked (ctest -L long).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "host_tool/plugin_library.h"
#include "support/large_files.h"
#include "support/temp_folder.h"

namespace tollgram {
namespace {

namespace fs = std::filesystem;
using host_tool::ExportFunction;
using host_tool::PluginLibrary;
using test::kGiB;

// A line end this often through the hole: its lines of NULs are longer than
// a chunk of either read, which grows to hold one, and few enough blocks are
// written that the file stays sparse and is removed in an instant.
constexpr uint64_t kLineEvery = uint64_t{2} << 20;

struct PlacedLines {
    uint64_t offset;
    std::string lines;  // from a line's start to a line's end
};

// A model in three parts: before 2 GiB, just past it and past 4 GiB, the
// last part's faces naming vertices of all three. Between them a hole of
// NULs (lines with nothing before a NUL, which the reader passes over).
const std::vector<PlacedLines>& modelParts() {
    static const std::vector<PlacedLines> parts = {
        {0, "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\ng below\nf 1 2 3\n"},
        {2 * kGiB + 5, "\nv 0 0 1\ng middle\nf 1 3 5\r\n"},
        {4 * kGiB + (uint64_t{1} << 20) + 3, "\nv 0 0 2\ng above\nf -1 -2 -3\nf 1 2 4 6\n"},
    };
    return parts;
}

uint64_t modelSize() {
    const PlacedLines& last = modelParts().back();
    return last.offset + last.lines.size();
}

bool makeModel(const fs::path& path) {
    if (!test::makeSparseFile(path, modelSize())) return false;
    test::PlacedBytes bytes(path);
    for (uint64_t end = kLineEvery - 1; end < modelSize(); end += kLineEvery) {
        if (!bytes.place(end, "\n")) return false;
    }
    for (const PlacedLines& part : modelParts()) {
        if (!bytes.place(part.offset, part.lines)) return false;
    }
    return bytes.close();
}

class LargeFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(library_.open(TOLLGRAM_LIBRARY_FILE, error)) << error;
        const auto started = std::chrono::steady_clock::now();
        ASSERT_TRUE(makeModel(model_)) << "no room for a sparse file of " << modelSize() << " bytes";
        std::printf("made %llu bytes in %.2f s\n", static_cast<unsigned long long>(modelSize()), secondsSince(started));
    }
    void TearDown() override { (void)call("FreeOBJModel"); }

    float call(const char* name, const char* text = nullptr, double value = 0, char* buffer = nullptr,
               int32_t bufferSize = 0) {
        const ExportFunction function = library_.find(name);
        EXPECT_NE(function, nullptr) << name;
        return function ? function(text, value, buffer, bufferSize, 0, 0, nullptr) : -99.0f;
    }
    static double secondsSince(std::chrono::steady_clock::time_point start) {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    std::string groupName(int group) {
        char name[64] = {};
        call("GetOBJGroupInfo", "name", group, name, sizeof name);
        return name;
    }

    test::TempFolder folder_;
    const fs::path model_ = folder_.path() / "past 4 GiB.obj";

private:
    PluginLibrary library_;
};

// Read as the file's size plans it, and then by one thread and by two.
TEST_F(LargeFiles, AModelPast4GiBIsReadToItsLastLine) {
    for (const std::string threads : {"", "1", "2"}) {
        SCOPED_TRACE("read threads " + (threads.empty() ? std::string("as planned") : threads));
#if defined(_WIN32)
        const std::string setting = "TOLLGRAM_READ_THREADS=" + threads;  // nothing after '=': no setting
        _putenv(setting.c_str());
#else
        if (threads.empty()) unsetenv("TOLLGRAM_READ_THREADS");
        else setenv("TOLLGRAM_READ_THREADS", threads.c_str(), 1);
#endif
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(call("LoadOBJFile", model_.string().c_str()), 3.0f);
        std::printf("read with %s thread(s) in %.2f s\n", threads.empty() ? "the planned" : threads.c_str(),
                    secondsSince(started));
        EXPECT_EQ(call("GetOBJInfo", "vertexCount"), 6.0f);
        EXPECT_EQ(call("GetOBJInfo", "faceCount"), 4.0f);
        EXPECT_EQ(groupName(1), "below");
        EXPECT_EQ(groupName(2), "middle");
        EXPECT_EQ(groupName(3), "above");
        EXPECT_EQ(call("GetOBJGroupInfo", "vertexCount", 3), 6.0f) << "the last faces name vertices 1 to 6";
    }
}

// Copied through a destination with a second name, which is written in
// place from the staged copy: the stream copy and the in-place write both
// go past 4 GiB.
TEST_F(LargeFiles, AFilePast4GiBIsCopiedToItsLastByte) {
    for (const bool secondName : {false, true}) {
        SCOPED_TRACE(secondName ? "written in place" : "replaced");
        const fs::path destination = folder_.path() / "copy.obj";
        const fs::path other = folder_.path() / "copy's other name.obj";
        fs::remove(destination);
        fs::remove(other);
        if (secondName) {
            folder_.write("copy.obj", "the old content");
            fs::create_hard_link(destination, other);
        }
        ASSERT_EQ(call("FileCopyFrom", model_.string().c_str()), 0.0f);
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(call("FileCopyTo", destination.string().c_str()), 0.0f);
        std::printf("copied %s in %.2f s\n", secondName ? "in place" : "by replacing", secondsSince(started));
        EXPECT_EQ(fs::file_size(destination), modelSize());
        for (const PlacedLines& part : modelParts()) {
            EXPECT_EQ(test::bytesAt(destination, part.offset, part.lines.size()), part.lines) << part.offset;
        }
        const uint64_t lastLineEnd = (modelParts().back().offset / kLineEvery) * kLineEvery - 1;
        EXPECT_EQ(test::bytesAt(destination, lastLineEnd - 1, 2), std::string("\0\n", 2));
        if (secondName) {
            EXPECT_EQ(fs::file_size(other), modelSize()) << "the second name names the copy";
        }
        fs::remove(destination);
        fs::remove(other);
    }
}

}  // namespace
}  // namespace tollgram
