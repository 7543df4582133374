// Lines at the edges of the grammar: keywords match in any case, so the
// same file with its keywords raised reads into the same model, diagnostics
// included; and wherever blocks and chunks cut such lines, by one thread or
// several, the model is the one-thread read's.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "obj/model/obj_model.h"
#include "reading_cuts.h"
#include "obj/temp_files.h"

namespace tollgram::obj {
namespace {

using test::PathForm;
using test::TempFolder;

// Lines a fast reading of the common ones could get wrong.
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

void expectReadsAlike(const std::string& file) {
    TempFolder dir{PathForm::Generic};
    OBJModel lowered, raisedModel;
    // One path for both, since diagnostics name it.
    const bool loweredOk = lowered.readOBJ(dir.write("model.obj", file));
    const bool raisedOk = raisedModel.readOBJ(dir.write("model.obj", raised(file)));
    EXPECT_EQ(loweredOk, raisedOk);
    EXPECT_EQ(test::modelDifference(lowered, raisedModel), "");
}

TEST(AwkwardLines, ReadAlikeWithRaisedKeywords) {
    const std::string vertices = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 1\nvt 1 0\nvn 0 0 1\n";
    for (const char* line : kAwkwardLines) {
        SCOPED_TRACE(line);
        for (const char* end : {"\n", "\r\n", ""}) expectReadsAlike(vertices + line + end + "f 1 2 3\n");
    }
}

// Random mixtures of those lines, cut by the one-thread read's blocks and by
// the parallel read's chunks at every kind of place.
TEST(AwkwardLines, ReadAlikeAcrossBlockAndChunkEdges) {
    std::mt19937 random(20261208);
    const size_t lines = std::size(kAwkwardLines);
    test::ReadingFolder folder;
    for (int file = 0; file < 3; ++file) {
        std::string text = "v 0 0 0\nv 1 0 0\nv 1 1 0\nvt 0 0\nvt 1 1\nvt 1 0\nvn 0 0 1\nvn 0 1 0\nvn 1 0 0\n";
        while (text.size() < 40000) {
            if (random() % 4 == 0) {
                text += kAwkwardLines[random() % lines];
            } else {
                // Common lines with numbers of every length.
                const uint32_t r = uint32_t(random());
                text += r % 2 ? "v " + std::to_string(r % 100000) + "." + std::to_string(r % 977) + " -0.5 " +
                                    std::to_string(r % 13)
                              : "f " + std::to_string(1 + r % 3) + "/1/1 2/2/2 3/" + std::to_string(1 + r % 3) + "/3";
            }
            text += random() % 8 == 0 ? "\r\n" : "\n";
        }
        SCOPED_TRACE("file " + std::to_string(file));
        const std::string path = folder.write("model.obj", text);
        const test::Reading reference = folder.read(path, {1});
        for (const test::Cut& cut : {test::Cut{1, 1}, test::Cut{1, 777}, test::Cut{2, 1}, test::Cut{3, 57},
                                     test::Cut{2, 4096}, test::Cut{4, 1000}}) {
            EXPECT_EQ(test::readingDifference(folder.read(path, cut), reference), "") << describe(cut);
        }
    }
}

}  // namespace
}  // namespace tollgram::obj
