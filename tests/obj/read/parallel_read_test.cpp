// The parallel read against the one-thread read: for 1 to 4 threads and
// chunks from one line upward, the whole outcome must be the same (every
// record, _errorText, the log file, LoadOBJFile's result and box), on files
// with something at every chunk edge, on the corpus and on a generated mesh.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "corpus_files.h"
#include "frame/sanitizers.h"
#include "obj_generator/sculpt_obj.h"
#include "reading_cuts.h"
#include "support/temp_folder.h"

namespace tollgram::obj {
namespace {

using test::Cut;
using test::ReadingFolder;

// The one-thread read is the reference.
const Cut kOneThread{1};

// Under the race checker, which makes every read many times slower, fewer
// chunk sizes are tried.
#ifdef TOLLGRAM_THREAD_SANITIZER
constexpr size_t kEveryByteUpTo = 12;
constexpr double kChunkGrowth = 1.6;
#else
constexpr size_t kEveryByteUpTo = 48;
constexpr double kChunkGrowth = 1.15;
#endif

void expectReadsAlike(const ReadingFolder& folder, const std::string& path, const std::vector<Cut>& cuts) {
    const test::Reading reference = folder.read(path, kOneThread);
    for (const Cut& cut : cuts) {
        const test::Reading reading = folder.read(path, cut);
        const std::string difference = test::readingDifference(reading, reference);
        ASSERT_EQ(difference, "") << path << ", " << describe(cut);
    }
}

// Chunk sizes from one byte (each line a chunk of its own) to the whole
// file, every one at first, then growing, each with 1 to 4 threads.
std::vector<Cut> everyCut(size_t fileBytes) {
    std::vector<Cut> cuts;
    for (size_t chunk = 1; chunk <= fileBytes + 1;
         chunk = chunk < kEveryByteUpTo ? chunk + 1 : size_t(double(chunk) * kChunkGrowth)) {
        for (unsigned threads = 1; threads <= 4; ++threads) cuts.push_back({threads, chunk});
    }
    return cuts;
}

std::string withCrLf(const std::string& text) {
    std::string crlf;
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return crlf;
}

const std::string kCoordinates =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nvt 0 0\nvt 1 0\nvt 1 1\nvn 0 0 1\nvn 0 1 0\n";

struct EdgeFile {
    const char* name;
    std::string text;
};

std::vector<EdgeFile> edgeFiles() {
    std::string smoothing = kCoordinates;
    for (int i = 1; i <= 257; ++i) {
        smoothing += "s " + std::to_string(i) + "\n";
        if (i % 40 == 0) smoothing += "f 1 2 3\n";
    }
    smoothing += "s 3\nf 2 3 4\ns off\nf 3 4 5\ns 300\nf 1 3 5\n";
    std::string longName(700, 'N');
    std::string longFace = "f";
    for (int i = 0; i < 120; ++i) longFace += " 1/1/1 2/2/2 3/3/2";
    return {
        {"negative indices across edges",
         kCoordinates + "f -1 -2 -3\nv 2 2 2\nf -1/-1/-1 -2/-2/-1 -3/-3/-2\nv 3 3 3\nv 4 4 4\nf -1 -9 -4\n"
                        "f 1/-1 2/-2 3/-3\nf 1 -1 2\nf -1//1 -2//-1 -3//2\nf -2 -2 -2 -1\n"},
        {"a fatal fault in the last chunk",
         kCoordinates + "g a\nf 1 2 3\nl 1 2\nf 1 2x 3\ns 4\nf 2 3 4\nusemtl none\nf 3 4 5\nf 1 2 77\n"},
        {"a fatal fault in the first chunk and another in the last",
         kCoordinates + "f 1 2 0\n" + kCoordinates + "g b\nf 1 2 3\nf 4 5 66\n"},
        {"a fault found only against the counts before the chunk",
         kCoordinates + "f 1 2 3\nv 9 9 9\nf 1 2 8\nf 1 2 7\n"},
        {"nine corners in the last chunk", kCoordinates + kCoordinates + "f 1 2 3 4 5 6 7 8 9 10\n"},
        {"normal 0 and texture beyond", kCoordinates + "f 1//1 2//1 3//1\nf 1/1/1 2/1/0 3/1/1\nf 1/9 2/1 3/1\n"},
        {"statements at every edge",
         "mtllib lib.mtl\n" + kCoordinates +
             "usemtl red\ng a b\ns 1\nf 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/1/1\n"
             "mtllib second.mtl\nusemtl blue\ng b\nf 2 3 4\ns off\ns 2\nf 3 4 5\n"
             "g a a\nusemtl missing\nf 1 3 5\nusemtl\nf 2 4 6\ng\no thing\nf 1 2 6\n"
             "usemtl red\n  g ignored\n#g comment\nG Left Right\nf 4 5 6\ng a\nf 1 5 6\n"},
        {"a library that can't be read empties the text",
         kCoordinates + "l 1 2\nf 1 2 3\nq\nmtllib missing.mtl\nf 2 3 4\nmtllib lib.mtl\nusemtl blue\nf 3 4 5\n"},
        {"257 smoothing groups over the chunks", smoothing},
        {"CR LF", withCrLf("mtllib lib.mtl\n" + kCoordinates + "usemtl red\ng a\ns 1\nf 1 2 3\nf 1/1 2/2 3/3\n"
                           "l 1\nf 1 2 3 \ng b c\nf 2 3 4\n")},
        {"lines longer than a chunk",
         kCoordinates + "g " + longName + "\n" + longFace + "\nf 1 2 3\n#" + longName + "\nf 2 3 4\n"},
        {"blank and odd lines", kCoordinates + "\n\n\r\n \nf 1 2 3\n\tf 1 2 3\nvp 1 2\nvx 1 2 3\nv\nf\nf \n"
                                               "v 1 2\0 3\nf 1 2 3\0 4\nf -1 -2 -3"},
    };
}

TEST(ParallelRead, EveryChunkEdgeReadsAsOneThreadReads) {
    ReadingFolder folder;
    folder.write("lib.mtl", "newmtl red\nKd 1 0 0\nnewmtl blue\nKd 0 0 1\nmap_Kd b.png\n");
    folder.write("second.mtl", "newmtl blue\nKd 0 0 0.5\nnewmtl green\nbad line\n");
    for (const EdgeFile& file : edgeFiles()) {
        SCOPED_TRACE(file.name);
        const std::string path = folder.write("model.obj", file.text);
        expectReadsAlike(folder, path, everyCut(file.text.size()));
    }
}

// Statements now and then among many records: each chunk's faces take the
// smoothing group, material and groups in force, wherever the cut falls.
TEST(ParallelRead, StatementsAmongManyRecordsReadAlike) {
    ReadingFolder folder;
    folder.write("lib.mtl", "newmtl red\n");
    std::string text = "mtllib lib.mtl\n";
    for (int i = 0; i < 3000; ++i) text += "v " + std::to_string(i) + " 1 2\nvt 0.5 0.5\nvn 0 0 1\n";
    for (int i = 1; i + 3 <= 3000; i += 2) {
        if (i % 500 == 1) text += "g part" + std::to_string(i % 3) + "\nusemtl red\ns " + std::to_string(i) + "\n";
        text += "f " + std::to_string(i) + "/1/1 " + std::to_string(i + 1) + "/2/1 " + std::to_string(i + 2) + "/3/1\n";
    }
    const std::string path = folder.write("model.obj", text);
    std::vector<Cut> cuts;
    for (size_t chunk : {size_t(1), size_t(777), size_t(8192), size_t(65536)}) {
        for (unsigned threads = 2; threads <= 4; ++threads) cuts.push_back({threads, chunk});
    }
    expectReadsAlike(folder, path, cuts);
}

// Lines of every kind in random order, with faces whose indices reach
// anywhere, so that faults and edges fall everywhere.
TEST(ParallelRead, RandomFilesReadAlike) {
    ReadingFolder folder;
    folder.write("lib.mtl", "newmtl red\nnewmtl blue\n");
    std::mt19937 random(20261208);
    const char* const statements[] = {"g a",          "g b c",  "g",       "s 1",       "s off", "usemtl red",
                                      "usemtl blue",  "o x",    "l 1 2",   "# note",    "",      "mtllib lib.mtl",
                                      "f 1 2 x",      "vt 1",   "vn 1 0",  "v 1 2 3 4", "f",     "s 9"};
    for (int fileNumber = 0; fileNumber < 6; ++fileNumber) {
        std::string text;
        int vertices = 0;
        for (int line = 0; line < 400; ++line) {
            const uint32_t r = uint32_t(random());
            if (r % 3 == 0) {
                text += "v " + std::to_string(r % 1000) + ".5 -" + std::to_string(r % 77) + " 1e-3\n";
                ++vertices;
            } else if (r % 3 == 1 && vertices > 3) {
                // Mostly valid, sometimes counted back, now and then beyond.
                auto index = [&](uint32_t salt) {
                    const int reach = vertices + (fileNumber % 2 && r % 97 == 0 ? 5 : 0);
                    const int i = 1 + int((r >> salt) % uint32_t(reach));
                    return std::to_string((r >> (salt + 1)) % 4 == 0 ? i - reach - 1 : i);
                };
                text += "f " + index(2) + " " + index(5) + " " + index(8) + " " + index(11) + "\n";
            } else {
                text += std::string(statements[r % std::size(statements)]) + "\n";
            }
        }
        SCOPED_TRACE("file " + std::to_string(fileNumber));
        const std::string path = folder.write("model.obj", text);
        std::vector<Cut> cuts;
        for (size_t chunk : {1, 13, 100, 700, 5000}) {
            for (unsigned threads = 2; threads <= 4; ++threads) cuts.push_back({threads, chunk});
        }
        expectReadsAlike(folder, path, cuts);
    }
}

TEST(ParallelRead, TheCorpusReadsAlike) {
    ReadingFolder folder;
    const auto files = test::corpusObjFiles();
    ASSERT_GE(files.size(), 100u);
    for (const auto& file : files) {
        const size_t bytes = size_t(std::filesystem::file_size(file));
        std::vector<Cut> cuts = {{2, bytes / 7 + 1}, {3, 4096}, {4, 65536}};
        if (bytes < 20000) cuts.push_back({4, 1});
        expectReadsAlike(folder, file.generic_string(), cuts);
    }
}

// A mesh as sculpting tools write it, read with the usual cut too.
TEST(ParallelRead, AGeneratedMeshReadsAlike) {
    ReadingFolder folder;
    tollgram::test::TempFolder meshFolder;
#ifdef TOLLGRAM_THREAD_SANITIZER
    const uint32_t side = 60;
#else
    const uint32_t side = 160;
#endif
    const auto mesh = tools::writeSculptObj(meshFolder.text(), side);
    expectReadsAlike(folder, mesh.objPath, {{2, 0}, {3, 0}, {2, 4096}, {4, 65536}, {0, 0}});
}

}  // namespace
}  // namespace tollgram::obj
