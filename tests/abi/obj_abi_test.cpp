// The OBJ model's lifecycle through the real DLL: loading with the message
// box of a failed read intercepted, freeing, and replacing vertex positions.
#include <gtest/gtest.h>

#include <string>

#include "abi/abi_dll.h"
#include "support/process_resources.h"
#include "support/temp_folder.h"

namespace {

using tollgram::test::TempFolder;

const char* const kThreeGroups =
    "v 0 0 0\r\nv 1 0 0\r\nv 1 1 0\r\nv 0 1 0\r\n"
    "g top\r\nf 1 2 3\r\ng left right\r\nf 1 3 4\r\n";

TEST(ObjAbi, LoadingReportsTheGroupCountOrShowsWhyItFailed) {
    TempFolder files;
    kavrex::MessageBoxCapture boxes;
    ASSERT_TRUE(boxes.active());

    EXPECT_EQ(kavrex::call("LoadOBJFile", files.write("three.obj", kThreeGroups).c_str()), 3.0f);
    EXPECT_TRUE(boxes.boxes().empty());

    const std::string missing = files.pathOf("missing.obj");
    EXPECT_EQ(kavrex::call("LoadOBJFile", missing.c_str()), 0.0f);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const kavrex::CapturedBox& box = boxes.boxes()[0];
    EXPECT_EQ(box.caption, "IMPORT ERROR");
    EXPECT_EQ(box.text, "OBJ file not found: " + missing);
    EXPECT_EQ(box.style, 0x11040u);
    EXPECT_EQ(box.owner, nullptr);

    // The failed load left no model behind.
    EXPECT_EQ(kavrex::call("ReplaceOBJVertices", files.write("same.obj", "v 1 1 1\n").c_str()), -1.0f);
    EXPECT_EQ(kavrex::call("LoadOBJFile", nullptr), 0.0f);
    EXPECT_EQ(boxes.boxes().size(), 1u);
}

TEST(ObjAbi, FreeingAndReplacingVertices) {
    TempFolder files;
    kavrex::MessageBoxCapture boxes;
    const std::string moved = files.write("moved.obj", "v 5 5 5\nv 6 6 6\nv 7 7 7\nv 8 8 8\n");
    EXPECT_EQ(kavrex::call("FreeOBJModel"), 0.0f);
    EXPECT_EQ(kavrex::call("ReplaceOBJVertices", moved.c_str()), -1.0f);

    ASSERT_EQ(kavrex::call("LoadOBJFile", files.write("three.obj", kThreeGroups).c_str()), 3.0f);
    EXPECT_EQ(kavrex::call("ReplaceOBJVertices", nullptr), -1.0f);
    EXPECT_EQ(kavrex::call("ReplaceOBJVertices", ""), -1.0f);
    EXPECT_EQ(kavrex::call("ReplaceOBJVertices", files.pathOf("missing.obj").c_str()), -2.0f);
    EXPECT_EQ(kavrex::call("ReplaceOBJVertices", files.write("bad.obj", "f 1 2 3\n").c_str()), -2.0f);
    EXPECT_EQ(kavrex::call("ReplaceOBJVertices", files.write("three_v.obj", "v 1 1 1\nv 2 2 2\nv 3 3 3\n").c_str()), -3.0f);
    EXPECT_EQ(kavrex::call("ReplaceOBJVertices", moved.c_str()), 0.0f);
    EXPECT_TRUE(boxes.boxes().empty());  // replacing never shows a box

    EXPECT_EQ(kavrex::call("FreeOBJModel"), 0.0f);
    EXPECT_EQ(kavrex::call("ReplaceOBJVertices", moved.c_str()), -1.0f);
    EXPECT_EQ(kavrex::call("FreeOBJModel"), 0.0f);
}

// The box of a failed read comes once the model's memory is back, and shows
// a bounded text however long the diagnostics are.
size_t g_committedAtBox = 0;
std::string g_boxText;
int WINAPI measuringMessageBox(HWND, LPCSTR text, LPCSTR, UINT) {
    g_committedAtBox = tollgram::test::committedBytes();
    g_boxText = text;
    return IDOK;
}

TEST(ObjAbi, TheImportErrorBoxComesAfterTheModelAndIsBounded) {
    TempFolder files;
    std::string text;
    for (int i = 0; i < 1000000; ++i) text += "v 1 2 3\n";  // 16 MB of model
    const std::string badLine(2000000, 'q');
    for (int i = 0; i < 100; ++i) text += badLine + "\n";
    const std::string path = files.write("failing.obj", text + "f 1 2 9999999\n");
    kavrex::call("LoadOBJFile", nullptr);
    const size_t before = tollgram::test::committedBytes();
    float result = -1.0f;
    {
        kavrex::ImportPatch patch("user32.dll", "MessageBoxA", reinterpret_cast<void*>(&measuringMessageBox));
        ASSERT_TRUE(patch.active());
        result = kavrex::call("LoadOBJFile", path.c_str());
    }
    EXPECT_EQ(result, 0.0f);
    EXPECT_LT(g_committedAtBox, before + (4u << 20)) << "committed before the load " << before;
    EXPECT_LT(g_boxText.size(), 13000u);
    // One line: the " has error." texts end without a line feed.
    EXPECT_EQ(g_boxText, "Line \"" + badLine.substr(0, 294) + "...\n");
}

// A byte-order mark or old Mac line ends change nothing of the geometry;
// UTF-16 text is refused with a box that says so.
TEST(ObjAbi, ByteOrderMarksLineEndsAndUtf16) {
    TempFolder files;
    kavrex::MessageBoxCapture boxes;
    const std::string marked = files.write("marked.obj", "\xEF\xBB\xBFv 0 0 0\r\nv 1 0 0\r\nv 1 1 0\r\nv 0 1 0\r\nf 1 2 3\r\n");
    ASSERT_EQ(kavrex::call("LoadOBJFile", marked.c_str()), 1.0f);
    EXPECT_EQ(kavrex::call("GetOBJInfo", "vertexCount"), 4.0f);

    const std::string mac = files.write("mac.obj", "v 0 0 0\rv 1 0 0\rv 1 1 0\rv 0 1 0\rg a\rf 1 2 3\rg b\rf 1 3 4\r");
    ASSERT_EQ(kavrex::call("LoadOBJFile", mac.c_str()), 2.0f);
    EXPECT_EQ(kavrex::call("GetOBJInfo", "vertexCount"), 4.0f);
    EXPECT_EQ(kavrex::call("GetOBJInfo", "faceCount"), 2.0f);
    EXPECT_TRUE(boxes.boxes().empty());

    std::string wide = "\xFF\xFE";
    for (char c : std::string("v 0 0 0\r\nv 1 0 0\r\nv 1 1 0\r\nf 1 2 3\r\n")) wide += std::string{c, '\0'};
    const std::string utf16 = files.write("utf16.obj", wide);
    EXPECT_EQ(kavrex::call("LoadOBJFile", utf16.c_str()), 0.0f);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "IMPORT ERROR");
    EXPECT_EQ(boxes.boxes()[0].text, "OBJ file is UTF-16 text, which is not read (save it as ANSI or UTF-8): " + utf16);
    EXPECT_EQ(kavrex::call("GetOBJInfo", "vertexCount"), 0.0f);  // no model
}

}  // namespace
