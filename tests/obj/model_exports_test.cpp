#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>

#include "failing_blocks.h"
#include "frame/exports.h"
#include "support/module_reset.h"
#include "frame/note_text.h"
#include "obj/model/block_pool.h"
#include "obj/current_model.h"
#include "obj/model/diagnostics.h"
#include "platform/system.h"
#include "support/captured_notes.h"
#include "temp_files.h"

namespace tollgram::obj {
namespace {

using test::PathForm;
using test::TempFolder;

float load(const char* path) { return ::LoadOBJFile(path, 0.0, nullptr, 0, 0, 0, nullptr); }
float load(const std::string& path) { return load(path.c_str()); }
float freeModel() { return ::FreeOBJModel(nullptr, 0.0, nullptr, 0, 0, 0, nullptr); }
float replace(const char* path) { return ::ReplaceOBJVertices(path, 0.0, nullptr, 0, 0, 0, nullptr); }
float replace(const std::string& path) { return replace(path.c_str()); }
OBJModel* current() { return obj::objState().currentModel; }

const char* const kTwoGroups =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvn 0 0 1\n"
    "g top\nf 1//1 2//1 3//1\ng bottom side\nf 1//1 3//1 4//1\n";
const char* const kMovedVertices = "v 5 5 5\nv 6 6 6\nv 7 7 7\nv 8 8 8\n";

class ModelExports : public ::testing::Test {
protected:
    void TearDown() override { freeModel(); }
    TempFolder dir{PathForm::Generic};
    tollgram::test::CapturedNotes notes;
};

TEST_F(ModelExports, LoadingInstallsTheModelAndReturnsItsGroupCount) {
    EXPECT_EQ(load(dir.write("a.obj", kTwoGroups)), 3.0f);
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->_faces._count, 2u);
    EXPECT_EQ(notes.count(), 0u);

    EXPECT_EQ(load(dir.write("b.obj", "v 1 2 3\nv 4 5 6\n")), 0.0f);  // no faces: no group
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->_vertices._count, 2u);

    EXPECT_EQ(load(dir.write("c.obj", "v 0 0 0\nf 1\n")), 1.0f);
    EXPECT_EQ(current()->_groupNames.at(0), "default");
}

TEST_F(ModelExports, AFailedLoadShowsTheDiagnosticsAndLeavesNoModel) {
    ASSERT_EQ(load(dir.write("a.obj", kTwoGroups)), 3.0f);
    const std::string missing = dir.pathOf("missing.obj");
    EXPECT_EQ(load(missing), 0.0f);
    EXPECT_EQ(current(), nullptr);
    ASSERT_EQ(notes.count(), 1u);
    EXPECT_EQ(notes.at(0).caption, "IMPORT ERROR");
    EXPECT_EQ(notes.at(0).text, "OBJ file not found: " + missing);
    EXPECT_EQ(notes.at(0).style, 0x11040u);

    notes.clear();
    const std::string bad = dir.write("bad.obj", "v 0 0 0\nq\nf 1 2\n");
    EXPECT_EQ(load(bad), 0.0f);
    EXPECT_EQ(current(), nullptr);
    ASSERT_EQ(notes.count(), 1u);
    EXPECT_EQ(notes.at(0).text, "Line \"q\" in " + bad + " has error.Vertex not found at (f 1 2) in " + bad + "\n");
}

TEST_F(ModelExports, ANullPathEndsTheModelWithoutANote) {
    ASSERT_EQ(load(dir.write("a.obj", kTwoGroups)), 3.0f);
    EXPECT_EQ(load(nullptr), 0.0f);
    EXPECT_EQ(current(), nullptr);
    EXPECT_EQ(notes.count(), 0u);
}

TEST_F(ModelExports, FreeingAlwaysSucceeds) {
    EXPECT_EQ(freeModel(), 0.0f);
    ASSERT_EQ(load(dir.write("a.obj", kTwoGroups)), 3.0f);
    EXPECT_EQ(freeModel(), 0.0f);
    EXPECT_EQ(current(), nullptr);
    EXPECT_EQ(freeModel(), 0.0f);
}

TEST_F(ModelExports, ReplacingVerticesNeedsAModelAndAReadableFileOfTheSameCount) {
    const std::string moved = dir.write("moved.obj", kMovedVertices);
    EXPECT_EQ(replace(moved), -1.0f);  // no model yet

    ASSERT_EQ(load(dir.write("a.obj", kTwoGroups)), 3.0f);
    OBJModel* model = current();
    struct Case {
        const char* name;
        std::string path;
        bool nullPath;
        float result;
    };
    const Case failures[] = {
        {"null path", "", true, -1.0f},
        {"empty path", "", false, -1.0f},
        {"missing file", dir.pathOf("missing.obj"), false, -2.0f},
        {"unreadable file", dir.write("bad.obj", "f 1 2 3\n"), false, -2.0f},
        {"fewer vertices", dir.write("three.obj", "v 1 1 1\nv 2 2 2\nv 3 3 3\n"), false, -3.0f},
        {"more vertices", dir.write("five.obj", std::string(kMovedVertices) + "v 9 9 9\n"), false, -3.0f},
    };
    for (const Case& c : failures) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(replace(c.nullPath ? nullptr : c.path.c_str()), c.result);
        EXPECT_EQ(current(), model);
        EXPECT_EQ(model->_vertices._count, 4u);
        EXPECT_EQ(model->_vertices.at(1).x, 1.0f);
    }
    EXPECT_EQ(notes.count(), 0u);

    EXPECT_EQ(replace(moved), 0.0f);
    EXPECT_EQ(current(), model);
    ASSERT_EQ(model->_vertices._count, 4u);
    for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(model->_vertices.at(i).x, float(5 + i)) << i;
    EXPECT_EQ(model->_normals._count, 1u);
    EXPECT_EQ(model->_faces._count, 2u);
    EXPECT_EQ(model->_groupNames.size(), 3u);
}

// The box of a failed read is shown once the model is gone, so that a read
// that ran out of memory leaves the memory free while the user looks; what it
// shows is bounded, and so is what the model's _errorText keeps.
size_t g_slabsAtBox = 0;
std::string g_boxText;
int noteSlabs(const char*, const char* text, unsigned) {
    g_slabsAtBox = poolSlabCount();
    g_boxText = text;
    return 1;
}

TEST_F(ModelExports, TheBoxOfAFailedReadComesAfterTheModelAndIsBounded) {
    std::string vertices;
    for (int i = 0; i < 600000; ++i) vertices += "v 1 2 3\n";  // 9.6 MB of positions: more than a slab
    ASSERT_EQ(load(dir.write("whole.obj", vertices)), 0.0f);
    const size_t slabsHeld = poolSlabCount();
    freeModel();
    const size_t slabsAfterFree = poolSlabCount();
    ASSERT_LT(slabsAfterFree, slabsHeld);

    tollgram::test::ScopedSystem watched;
    watched.calls().messageBoxes.show = &noteSlabs;
    g_slabsAtBox = 0;
    const float result = load(dir.write("failing.obj", vertices + "f 1 2 700000\n"));
    std::string text = vertices;
    const std::string badLine(1000000, 'q');
    for (int i = 0; i < 100; ++i) text += "f 1 2/2 3\n";  // an invalid corner: a text, and reading goes on
    const std::string longFailure = dir.write("long.obj", "v 0 0 0\n" + badLine + "\n" + text + "f 9999999 1 2\n");
    const float longResult = load(longFailure);

    EXPECT_EQ(result, 0.0f);
    EXPECT_EQ(longResult, 0.0f);
    EXPECT_LE(g_slabsAtBox, slabsAfterFree);
    EXPECT_LT(g_boxText.size(), sizeof(NoteText::text));
    EXPECT_EQ(g_boxText.substr(0, 20), "Line \"" + badLine.substr(0, 14));
    // 101 lines: the bad line's text runs on into the first corner text,
    // then 99 more of those and the fatal one.
    EXPECT_EQ(g_boxText.substr(g_boxText.size() - 15), "(61 more lines)");

    OBJModel model;
    EXPECT_FALSE(model.readOBJ(longFailure));
    EXPECT_EQ(model._errorText.substr(0, kKeptDiagnosticLineLength), "Line \"" + badLine.substr(0, kKeptDiagnosticLineLength - 6));
    EXPECT_EQ(model._errorText.find('\n'), kKeptDiagnosticLineLength) << "the rest of the line is not kept";
}

// A read with a diagnostic on every line keeps the first lines of its text
// and counts the rest, and the box of a failed read counts them all, as if
// every line had been kept. Faults with no line feed of their own (lines of
// unknown kinds) run on as one line, which is kept only so far as a box
// could show it.
TEST_F(ModelExports, TheDiagnosticsKeptAreBoundedAndTheBoxCountsTheRest) {
    const std::string quad = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n";
    std::string invalidCorners;
    for (int i = 0; i < 2500; ++i) invalidCorners += "f 1 2/2 3\n";
    std::string unknownLines;
    for (int i = 0; i < 5000; ++i) unknownLines += "l 1 2\n";

    OBJModel kept;
    ASSERT_TRUE(kept.readOBJ(dir.write("corners.obj", quad + invalidCorners)));
    EXPECT_EQ(std::count(kept._errorText.begin(), kept._errorText.end(), '\n'), ptrdiff_t(kKeptDiagnosticLines));
    EXPECT_EQ(kept._errorText.substr(0, 30), "Error for vertex at (f 1 2/2 3");
    EXPECT_EQ(kept._errorBound.linesBeyond(), 2500u - kKeptDiagnosticLines);

    OBJModel runOn;
    ASSERT_TRUE(runOn.readOBJ(dir.write("polylines.obj", quad + unknownLines)));
    EXPECT_EQ(runOn._errorText.size(), kKeptDiagnosticLineLength);
    EXPECT_EQ(runOn._errorText.substr(0, 15), "Line \"l 1 2\" in");
    EXPECT_EQ(runOn._errorBound.linesBeyond(), 0u);

    tollgram::test::ScopedSystem watched;
    watched.calls().messageBoxes.show = &noteSlabs;
    g_boxText.clear();
    EXPECT_EQ(load(dir.write("failing.obj", quad + invalidCorners + unknownLines + "f 1 2 99\n")), 0.0f);
    // 2500 corner lines, the unknown lines run on into the fatal one: 2501
    // lines, 40 shown.
    EXPECT_EQ(g_boxText.substr(g_boxText.size() - 17), "(2461 more lines)");
    EXPECT_EQ(g_boxText.substr(0, 31), "Error for vertex at (f 1 2/2 3)");
}

// The bound on its own: pieces that cross the kept lines' end, and text past
// it with and without a last line feed.
TEST(Diagnostics, KeepTheFirstLinesAndCountTheRest) {
    std::string text;
    DiagnosticBound bound;
    for (size_t i = 0; i + 1 < kKeptDiagnosticLines; ++i) appendDiagnostic(text, bound, {"a\n"});
    appendDiagnostic(text, bound, {"last", " kept\nfirst beyond", "\nsecond"});
    EXPECT_EQ(text.substr(text.size() - 12), "a\nlast kept\n");
    EXPECT_EQ(bound.linesBeyond(), 2u);
    appendDiagnostic(text, bound, {" still the second\n"});
    EXPECT_EQ(bound.linesBeyond(), 2u);
    appendDiagnostic(text, bound, {"\n"});
    EXPECT_EQ(bound.linesBeyond(), 3u) << "an empty line is a line";
    const size_t size = text.size();
    appendDiagnostic(text, bound, {std::string(5000, 'x')});
    EXPECT_EQ(text.size(), size);
    EXPECT_EQ(bound.linesBeyond(), 4u);

    clearDiagnostics(text, bound);
    appendDiagnostic(text, bound, {std::string(3000, 'y'), "\n", "z"});
    EXPECT_EQ(text, std::string(kKeptDiagnosticLineLength, 'y') + "\nz");
    EXPECT_EQ(bound.linesBeyond(), 0u);
}

// Memory that runs out at any allocation of a read fails the read cleanly:
// no model, no exception, no leak (LeakSanitizer checks at exit in the
// sanitizer build), and a text saying why.
TEST_F(ModelExports, RunningOutOfMemoryAnywhereFailsTheRead) {
    dir.write("lib.mtl", "newmtl red\nKd 1 0 0\nnewmtl blue\n");
    std::string text = "mtllib lib.mtl\ng a b\nusemtl red\ns 1\n";
    for (int i = 0; i < 4100; ++i) text += "v " + std::to_string(i) + " 0 0\nvt 0 0\nvn 0 0 1\n";
    for (int i = 1; i + 2 <= 4100; ++i) {
        text += "f " + std::to_string(i) + "/1/1 " + std::to_string(i + 1) + "/1/1 " + std::to_string(i + 2) + "/1/1\n";
    }
    const std::string path = dir.write("big.obj", text);
    uint32_t allocations = 0;
    {
        test::FailingBlocks counting(0);
        ASSERT_EQ(load(path), 2.0f);
        allocations = counting.calls();
    }
    ASSERT_GE(allocations, 10u);  // two blocks of each large array, one of the texture coordinates, three lists
    ASSERT_EQ(replace(path), 0.0f);

    for (uint32_t failing = 1; failing <= allocations; ++failing) {
        SCOPED_TRACE("allocation " + std::to_string(failing));
        notes.clear();
        {
            test::FailingBlocks failingBlocks(failing);
            EXPECT_EQ(load(path), 0.0f);
        }
        EXPECT_EQ(current(), nullptr);
        ASSERT_EQ(notes.count(), 1u);
        EXPECT_EQ(notes.at(0).text, "Out of memory while reading " + path + "\n");

        ASSERT_EQ(load(path), 2.0f);
        {
            test::FailingBlocks failingBlocks(failing);
            EXPECT_EQ(replace(path), -2.0f);
        }
        EXPECT_EQ(current()->_vertices._count, 4100u);
    }
}

}  // namespace
}  // namespace tollgram::obj
