// FileCopyFrom, FileCopyTo, FileDelete, DirCreate and DirDelete on real
// files in a temporary folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "exports_call.h"
#include "platform/system.h"
#include "support/module_reset.h"
#include "support/scoped_system.h"
#include "support/temp_folder.h"
#include "support/time_limit.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace tollgram {
namespace {

using test::contentOf;
using exports::DirCreate;
using exports::DirDelete;
using exports::FileCopyFrom;
using exports::FileCopyTo;
using exports::FileDelete;

namespace fs = std::filesystem;

class FileOperations : public ::testing::Test {
protected:
    void SetUp() override { resetModuleState(); }
    // The file calls the copy makes, answered or watched by each test; the
    // real ones are back after every test.
    platform::FileCalls& fileCalls() { return system_.calls().files; }
    test::TempFolder folder;

private:
    test::ScopedSystem system_;
};

// The platform's own file calls, which the watching ones call on to.
const platform::FileCalls& realFiles() { return platform::platformSystem().files; }

std::string pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

// Every read and write the copy makes, with their sizes.
std::vector<size_t> g_reads, g_writes;
std::vector<std::string> g_opened;

platform::StreamRead recordingRead(void* buffer, size_t size, std::FILE* stream) {
    EXPECT_EQ(size, 4000u) << "every read asks for a whole block";
    const platform::StreamRead read = realFiles().readStream(buffer, size, stream);
    g_reads.push_back(read.count);
    return read;
}
size_t recordingWrite(const void* buffer, size_t size, std::FILE* stream) {
    g_writes.push_back(size);
    return realFiles().writeStream(buffer, size, stream);
}
std::FILE* recordingOpen(const char* path, const char* mode) {
    g_opened.push_back(std::string(mode) + " " + path);
    return realFiles().openStream(path, mode);
}

TEST_F(FileOperations, CopiesInBlocksOf4000Bytes) {
    struct Case {
        const char* name;
        size_t size;
        std::vector<size_t> reads;
    };
    const Case cases[] = {
        {"10000 bytes", 10000, {4000, 4000, 2000, 0}},
        {"exactly one block", 4000, {4000, 0}},
        {"one byte", 1, {1, 0}},
        {"empty source", 0, {0}},
    };
    fileCalls().readStream = &recordingRead;
    fileCalls().writeStream = &recordingWrite;
    for (const Case& c : cases) {
        g_reads.clear();
        g_writes.clear();
        const std::string content = pattern(c.size);
        const std::string source = folder.write("source.bin", content);
        const std::string destination = folder.write("destination.bin", "older and longer content than some sources");
        ASSERT_EQ(test::run(FileCopyFrom, source.c_str()), 0.0f) << c.name;
        EXPECT_EQ(test::run(FileCopyTo, destination.c_str()), 0.0f) << c.name;
        EXPECT_TRUE(contentOf(destination) == content) << c.name;
        EXPECT_EQ(g_reads, c.reads) << c.name;
        std::vector<size_t> writes(c.reads.begin(), c.reads.end() - 1);
        EXPECT_EQ(g_writes, writes) << c.name;
        EXPECT_TRUE(contentOf(source) == content) << c.name;
    }
}

TEST_F(FileOperations, OneSourceServesManyCopies) {
    const std::string source = folder.write("source.obj", "v 1 2 3\n");
    ASSERT_EQ(test::run(FileCopyFrom, source.c_str()), 0.0f);
    for (const char* name : {"one.obj", "two.obj"}) {
        EXPECT_EQ(test::run(FileCopyTo, folder.at(name).c_str()), 0.0f) << name;
        EXPECT_EQ(contentOf(folder.at(name)), "v 1 2 3\n") << name;
    }
}

// A source past 4 GiB, as its stream hands it over: each block starts with
// its offset, so the destination is seen to get every byte once, in order,
// and the copy to end only at the source's end.
constexpr uint64_t kSourcePast4GiB = (uint64_t{1} << 32) + 4321;
uint64_t g_served = 0;
uint64_t g_received = 0;
uint64_t g_misplaced = 0;
platform::StreamRead servingLargeSource(void* buffer, size_t size, std::FILE*) {
    const uint64_t left = kSourcePast4GiB - g_served;
    const size_t count = left < size ? static_cast<size_t>(left) : size;
    if (count >= sizeof g_served) std::memcpy(buffer, &g_served, sizeof g_served);
    g_served += count;
    return {count, false};
}
size_t receivingLargeCopy(const void* buffer, size_t size, std::FILE*) {
    uint64_t offset = g_received;
    if (size >= sizeof offset) std::memcpy(&offset, buffer, sizeof offset);
    if (offset != g_received) ++g_misplaced;
    g_received += size;
    return size;
}

TEST_F(FileOperations, CopiesASourcePast4GiBToItsLastByte) {
    const std::string source = folder.write("source.bin", "stands for the large file");
    const std::string destination = folder.at("destination.bin");
    g_served = g_received = g_misplaced = 0;
    fileCalls().readStream = &servingLargeSource;
    fileCalls().writeStream = &receivingLargeCopy;
    ASSERT_EQ(test::run(FileCopyFrom, source.c_str()), 0.0f);
    EXPECT_EQ(test::run(FileCopyTo, destination.c_str()), 0.0f);
    EXPECT_EQ(g_served, kSourcePast4GiB);
    EXPECT_EQ(g_received, kSourcePast4GiB);
    EXPECT_EQ(g_misplaced, 0u);
}

TEST_F(FileOperations, RefusesACopyWithoutTouchingTheDestination) {
    const std::string source = folder.write("source.obj", "source");
    const std::string destination = folder.write("destination.obj", "kept");
    const std::string tooLong(512, 's');
    struct Case {
        const char* name;
        const char* from;  // null: no FileCopyFrom at all
        float fromResult;
        const char* to;
    };
    const std::string missing = folder.at("missing.obj");
    const std::string intoMissingFolder = folder.at("no/such/folder.obj");
    const Case cases[] = {
        {"before any FileCopyFrom", nullptr, 0, destination.c_str()},
        {"source emptied", "", 0, destination.c_str()},
        {"source that does not exist", missing.c_str(), 0, destination.c_str()},
        {"source path that did not fit", tooLong.c_str(), 34, destination.c_str()},
        {"no destination", source.c_str(), 0, nullptr},
        {"destination is the source", source.c_str(), 0, source.c_str()},
    };
    for (const Case& c : cases) {
        resetModuleState();
        g_opened.clear();
        fileCalls().openStream = &recordingOpen;
        if (c.from) {
            EXPECT_EQ(test::run(FileCopyFrom, c.from), c.fromResult) << c.name;
        }
        EXPECT_EQ(test::run(FileCopyTo, c.to), -1.0f) << c.name;
        EXPECT_EQ(contentOf(destination), "kept") << c.name;
        EXPECT_EQ(contentOf(source), "source") << c.name;
        for (const std::string& opened : g_opened) EXPECT_NE(opened.rfind("wb ", 0), 0u) << c.name << ": " << opened;
    }
    EXPECT_EQ(test::run(FileCopyFrom, nullptr), -1.0f);

    // A destination that cannot be created: the source is opened and closed.
    ASSERT_EQ(test::run(FileCopyFrom, source.c_str()), 0.0f);
    EXPECT_EQ(test::run(FileCopyTo, intoMissingFolder.c_str()), -1.0f);
    EXPECT_FALSE(fs::exists(intoMissingFolder));
}

// A device, a FIFO or a directory is no file to copy from: -1 at once (a
// copy from a serial port or a FIFO would wait for ever), the destination
// untouched. Targets that are no files: tests/hardening/whole_writes_test.cpp.
TEST_F(FileOperations, CopiesOnlyFromRegularFiles) {
    const std::string destination = folder.write("destination.obj", "kept");
    fs::create_directory(folder.path() / "sub");
#if defined(_WIN32)
    const std::vector<std::string> sources = {"NUL", "COM1", folder.at("aux.obj"), folder.at("sub")};
#else
    const std::string fifo = folder.at("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::string> sources = {"/dev/null", fifo, folder.at("sub")};
#endif
    for (const std::string& source : sources) {
        ASSERT_EQ(test::run(FileCopyFrom, source.c_str()), 0.0f);
        float result = 0.0f;
        test::withinTimeLimit(("FileCopyTo from " + source).c_str(),
                              [&] { result = test::run(FileCopyTo, destination.c_str()); });
        EXPECT_EQ(result, -1.0f) << source;
        EXPECT_EQ(contentOf(destination), "kept") << source;
    }
}

TEST_F(FileOperations, RefusesACopyOntoAnotherPathOfTheSourceFile) {
    const std::string source = folder.write("source.obj", "the only copy");
    fs::create_directory(folder.path() / "sub");
    std::vector<std::string> otherPaths = {
        (folder.path() / "sub" / ".." / "source.obj").string(),
        (folder.path() / "." / "source.obj").string(),
    };
    const std::string hardLink = folder.at("hard.obj");
    std::error_code linkError;
    fs::create_hard_link(source, hardLink, linkError);
    if (!linkError) otherPaths.push_back(hardLink);
#if !defined(_WIN32)
    fs::create_symlink(source, folder.at("soft.obj"));
    otherPaths.push_back(folder.at("soft.obj"));
#endif
    ASSERT_EQ(test::run(FileCopyFrom, source.c_str()), 0.0f);
    for (const std::string& other : otherPaths) {
        EXPECT_EQ(test::run(FileCopyTo, other.c_str()), -1.0f) << other;
        EXPECT_EQ(contentOf(source), "the only copy") << other;
    }
    EXPECT_FALSE(linkError) << "no hard link to try: " << linkError.message();
}

size_t failingSecondWrite(const void* buffer, size_t size, std::FILE* stream) {
    g_writes.push_back(size);
    if (g_writes.size() == 2) return realFiles().writeStream(buffer, size / 2, stream);
    return realFiles().writeStream(buffer, size, stream);
}
platform::StreamRead failingSecondRead(void* buffer, size_t size, std::FILE* stream) {
    g_reads.push_back(size);
    if (g_reads.size() == 2) return {realFiles().readStream(buffer, 100, stream).count, true};  // 100, then an error
    return realFiles().readStream(buffer, size, stream);
}
std::FILE* g_destination = nullptr;
std::FILE* rememberingOpen(const char* path, const char* mode) {
    std::FILE* stream = realFiles().openStream(path, mode);
    if (mode[0] == 'w') g_destination = stream;
    return stream;
}
int failingCloseOfDestination(std::FILE* stream) {
    const int closed = realFiles().closeStream(stream);
    return stream == g_destination ? -1 : closed;
}

// A copy that fails part way (a full disk, a read error, data lost at the
// close) leaves the destination exactly as it was, or absent when it was,
// and no staging file behind.
TEST_F(FileOperations, AFailedTransferLeavesTheDestinationAsItWas) {
    struct Case {
        const char* name;
        decltype(platform::FileCalls::readStream) read;
        decltype(platform::FileCalls::writeStream) write;
        decltype(platform::FileCalls::closeStream) close;
    };
    const Case cases[] = {
        {"short write", realFiles().readStream, &failingSecondWrite, realFiles().closeStream},
        {"read error", &failingSecondRead, realFiles().writeStream, realFiles().closeStream},
        {"written data lost at close", realFiles().readStream, realFiles().writeStream,
         &failingCloseOfDestination},
    };
    const std::string source = folder.write("source.bin", pattern(10000));
    for (bool existing : {true, false}) {
        const std::string destination = folder.at("destination.bin");
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (existing ? ", existing destination" : ", new destination"));
            if (existing) folder.write("destination.bin", "the old content");
            else fs::remove(destination);
            g_reads.clear();
            g_writes.clear();
            fileCalls().openStream = &rememberingOpen;
            fileCalls().readStream = c.read;
            fileCalls().writeStream = c.write;
            fileCalls().closeStream = c.close;
            ASSERT_EQ(test::run(FileCopyFrom, source.c_str()), 0.0f);
            EXPECT_EQ(test::run(FileCopyTo, destination.c_str()), -1.0f);
            EXPECT_EQ(fs::exists(destination), existing);
            if (existing) {
                EXPECT_EQ(contentOf(destination), "the old content");
            }
            size_t files = 0;
            for (const auto& entry : fs::directory_iterator(folder.path())) files += entry.is_regular_file() ? 1 : 0;
            EXPECT_EQ(files, existing ? 2u : 1u) << "a staging file stayed";
        }
    }
}

int g_closes = 0;
int countingClose(std::FILE* stream) {
    ++g_closes;
    return realFiles().closeStream(stream);
}
void* noMemory(size_t) { return nullptr; }

TEST_F(FileOperations, ClosesBothFilesWhenTheCopyBufferCannotBeHad) {
    const std::string source = folder.write("source.bin", pattern(100));
    const std::string destination = folder.write("destination.bin", "old");
    g_closes = 0;
    fileCalls().closeStream = &countingClose;
    test::ScopedSystem noHeap;
    noHeap.calls().memory.allocate = &noMemory;
    ASSERT_EQ(test::run(FileCopyFrom, source.c_str()), 0.0f);
    const float result = test::run(FileCopyTo, destination.c_str());
    EXPECT_EQ(result, -1.0f);
    EXPECT_EQ(g_closes, 2);
    EXPECT_EQ(contentOf(destination), "old");
}

TEST_F(FileOperations, DeletesFilesAndCreatesAndDeletesDirectories) {
    const std::string file = folder.write("file.obj", "x");
    const std::string directory = folder.at("made");
    const std::string full = folder.at("full");
    fs::create_directory(full);
    folder.write("full/inside.obj", "x");
    const std::string missingParent = folder.at("missing/child");
    const std::string emptyDirectory = folder.at("empty");
    fs::create_directory(emptyDirectory);
    struct Case {
        const char* name;
        ExportWork work;
        const char* path;
        float expected;
    };
    const Case cases[] = {
        {"delete a file", &FileDelete, file.c_str(), 0},
        {"delete it again", &FileDelete, file.c_str(), -1},
        {"delete a directory as a file", &FileDelete, emptyDirectory.c_str(), -1},
        {"delete with no path", &FileDelete, nullptr, -1},
        {"create a directory", &DirCreate, directory.c_str(), 0},
        {"create it again", &DirCreate, directory.c_str(), -1},
        {"create below a missing parent", &DirCreate, missingParent.c_str(), -1},
        {"create with no path", &DirCreate, nullptr, -1},
        {"delete a directory with a file in it", &DirDelete, full.c_str(), -1},
        {"delete the created directory", &DirDelete, directory.c_str(), 0},
        {"delete it again", &DirDelete, directory.c_str(), -1},
        {"delete with no path", &DirDelete, nullptr, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(test::run(c.work, c.path), c.expected) << c.name;
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(fs::is_directory(emptyDirectory));
    EXPECT_TRUE(fs::exists(folder.at("full/inside.obj")));
    EXPECT_FALSE(fs::exists(directory));
    EXPECT_FALSE(fs::exists(folder.at("missing")));
}

}  // namespace
}  // namespace tollgram
