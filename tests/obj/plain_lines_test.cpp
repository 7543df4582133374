// The reader takes plain "v", "vt", "vn" and "f" lines on a short road and
// every other line the general way. An upper-case keyword always goes the
// general way, so the same file with its keywords raised must read into the
// same model, diagnostics included, whatever the lines hold and wherever
// the reader's blocks cut them.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "obj/line_reader.h"
#include "obj/obj_model.h"
#include "temp_files.h"

namespace tollgram::obj {
namespace {

using test::TempDir;

// Lines that a short road must decline or read exactly as the general one.
const char* const kAwkwardLines[] = {
    "v 1 2 3", "v 1 2", "v", "v ", "v 1 2 3 4 5 6", "v\t1\t2\t3\t", "v 1 2 3 \r", "v 1 2 3\r",
    "v 1 2 x", "v 1e 2 3", "v nan inf -infinity", "v 1\v2 3", "v 1 2 3\f", "v .5 -.5 +5.",
    "vt 0.5 0.5", "vt 1 2 3 4", "vn 0 0 1", "vn", "vx 1 2 3", "vp 0.1 0.2",
    "f 1 2 3", "f 1/1 2/2 3/3", "f 1/1/1 2/2/2 3/3/3", "f 1//1 2//2 3//1", "f -1 -2 -3",
    "f 1 2 3 ", "f\t1\t2\t3", "f 1 2 3\r", "f 1 1 2 2 3", "f 1/ 2/ 3/", "f 1/1/ 2/2/ 3/3/",
    "f 1 2 x", "f 1 2 3x", "f 1/1 2 3", "f 1 2 3 4 5 6 7 8 9 10", "f 1 2 3 4 5 6 7 8 9",
    "f", "f ", "f 1 2\v3", "f 99999999999 1 2", "f 1 2 3 # note",
    "g a b", "usemtl m", "s 1", "# comment", "", "o thing",
};

std::string raised(const std::string& file) {
    std::string text = file;
    bool lineStart = true;
    for (char& c : text) {
        if (lineStart && (c == 'v' || c == 'f')) c = char(c - 'a' + 'A');
        lineStart = c == '\n';
    }
    return text;
}

void expectSameVectors(const PagedArray<Vec4>& a, const PagedArray<Vec4>& b, const char* what) {
    ASSERT_EQ(a._count, b._count) << what;
    for (uint32_t i = 0; i < a._count; ++i) {
        const Vec4 x = a.at(i), y = b.at(i);
        ASSERT_EQ(std::memcmp(&x, &y, sizeof x), 0) << what << " " << i;
    }
}

void expectSameModels(const OBJModel& a, const OBJModel& b) {
    EXPECT_EQ(a._errorText, b._errorText);
    expectSameVectors(a._vertices, b._vertices, "vertex");
    expectSameVectors(a._textureCoords, b._textureCoords, "texture coordinate");
    expectSameVectors(a._normals, b._normals, "normal");
    ASSERT_EQ(a._faces._count, b._faces._count);
    for (uint32_t i = 0; i < a._faces._count; ++i) {
        const OBJFace x = a._faces.at(i), y = b._faces.at(i);
        ASSERT_EQ(std::memcmp(&x, &y, sizeof x), 0) << "face " << i;
    }
    EXPECT_EQ(a._groupNames, b._groupNames);
}

void expectReadsAlike(const std::string& file) {
    TempDir dir;
    OBJModel plain, general;
    // One path for both, since diagnostics name it.
    const bool plainOk = plain.readOBJ(dir.write("model.obj", file));
    const bool generalOk = general.readOBJ(dir.write("model.obj", raised(file)));
    EXPECT_EQ(plainOk, generalOk);
    expectSameModels(plain, general);
}

TEST(PlainLines, ReadAsTheGeneralWayReadsThem) {
    const std::string vertices = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 1\nvt 1 0\nvn 0 0 1\n";
    for (const char* line : kAwkwardLines) {
        SCOPED_TRACE(line);
        for (const char* end : {"\n", "\r\n", ""}) expectReadsAlike(vertices + line + end + "f 1 2 3\n");
    }
}

// Random mixtures of those lines, long enough that the blocks cut lines at
// every kind of place.
TEST(PlainLines, ReadAlikeAcrossBlockBoundaries) {
    std::mt19937 random(20261208);
    const size_t lines = std::size(kAwkwardLines);
    for (int file = 0; file < 4; ++file) {
        std::string text = "v 0 0 0\nv 1 0 0\nv 1 1 0\nvt 0 0\nvt 1 1\nvt 1 0\nvn 0 0 1\nvn 0 1 0\nvn 1 0 0\n";
        while (text.size() < 3 * kLineReaderBlockSize) {
            if (random() % 4 == 0) {
                text += kAwkwardLines[random() % lines];
            } else {
                // Plain lines with numbers of every length.
                const uint32_t r = uint32_t(random());
                text += r % 2 ? "v " + std::to_string(r % 100000) + "." + std::to_string(r % 977) + " -0.5 " +
                                    std::to_string(r % 13)
                              : "f " + std::to_string(1 + r % 3) + "/1/1 2/2/2 3/" + std::to_string(1 + r % 3) + "/3";
            }
            text += random() % 8 == 0 ? "\r\n" : "\n";
        }
        SCOPED_TRACE("file " + std::to_string(file));
        expectReadsAlike(text);
    }
}

}  // namespace
}  // namespace tollgram::obj
