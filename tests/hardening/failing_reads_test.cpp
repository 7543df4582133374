// An OBJ file whose read the system fails part way, after some of its blocks
// came: the load fails with a diagnostic and leaves no model, and a vertex
// replace keeps the current model, whether one thread reads the file or
// several. A material library whose read fails part way is left out, as one
// that can't be opened is.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frame/exports.h"
#include "obj/model/obj_model.h"
#include "obj/read/read_plan.h"
#include "support/captured_notes.h"
#include "support/scoped_system.h"
#include "support/temp_folder.h"

namespace tollgram {
namespace {

// The probe of the file's first bytes and the first block come whole; the
// read of the next block reports an error after its bytes.
int g_reads = 0;
platform::StreamRead failingThirdRead(void* buffer, size_t size, std::FILE* stream) {
    const platform::StreamRead read = platform::platformSystem().files.readStream(buffer, size, stream);
    return {read.count, read.failed || ++g_reads >= 3};
}

float call(decltype(&::GetOBJInfo) function, const char* text) { return function(text, 0.0, nullptr, 0, 0, 0, nullptr); }

// About a megabyte: several blocks of either way of reading.
std::string largeModel() {
    std::string text = "g part\n";
    for (int i = 0; i < 30000; ++i) text += "v " + std::to_string(i) + " 0.125 -0.5\n";
    for (int i = 1; i + 2 <= 30000; ++i) {
        text += "f " + std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2) + "\n";
    }
    return text;
}

TEST(FailingReads, AReadErrorPartWayFailsTheLoadAndTheReplace) {
    const test::TempFolder folder(test::PathForm::Generic);
    const std::string path = folder.write("large.obj", largeModel());
    const std::string small = folder.write("small.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\ng one\nf 1 2 3\n");
    const obj::ForcedReading parallel{2, size_t{64} << 10};
    for (const obj::ForcedReading* reading : {static_cast<const obj::ForcedReading*>(nullptr), &parallel}) {
        SCOPED_TRACE(reading == nullptr ? "one thread" : "two threads");
        obj::forceReading(reading);
        test::CapturedNotes notes;
        ASSERT_EQ(call(&::LoadOBJFile, small.c_str()), 1.0f);
        {
            test::ScopedSystem system;
            system.calls().files.readStream = &failingThirdRead;
            g_reads = 0;
            EXPECT_EQ(call(&::LoadOBJFile, path.c_str()), 0.0f);
            ASSERT_GE(g_reads, 3) << "the read failed before the middle of the file";
        }
        EXPECT_EQ(call(&::GetOBJInfo, "vertexCount"), 0.0f) << "a model stayed current";
        ASSERT_EQ(notes.count(), 1u);
        EXPECT_EQ(notes.at(0).caption, "IMPORT ERROR");
        EXPECT_NE(notes.at(0).text.find("OBJ file could not be read to its end: " + path), std::string::npos)
            << notes.at(0).text;

        ASSERT_EQ(call(&::LoadOBJFile, path.c_str()), 1.0f);
        {
            test::ScopedSystem system;
            system.calls().files.readStream = &failingThirdRead;
            g_reads = 0;
            EXPECT_EQ(call(&::ReplaceOBJVertices, path.c_str()), -2.0f);
        }
        EXPECT_EQ(call(&::GetOBJInfo, "vertexCount"), 30000.0f) << "the current model was touched";
        EXPECT_EQ(call(&::GetOBJInfo, "faceCount"), 29998.0f);
        EXPECT_EQ(notes.count(), 1u) << "a replace shows no box";
        call(&::FreeOBJModel, nullptr);
    }
    obj::forceReading(nullptr);
}

// The reads of the one stream opened for a path ending in ".mtl" fail from
// the g_failAt-th on; every other file reads as usual.
std::FILE* g_library = nullptr;
int g_libraryReads = 0;
int g_failAt = 0;
std::FILE* watchingOpen(const char* path, const char* mode) {
    std::FILE* stream = platform::platformSystem().files.openStream(path, mode);
    const size_t length = std::strlen(path);
    if (length > 4 && std::strcmp(path + length - 4, ".mtl") == 0) g_library = stream;
    return stream;
}
platform::StreamRead failingLibraryRead(void* buffer, size_t size, std::FILE* stream) {
    const platform::StreamRead read = platform::platformSystem().files.readStream(buffer, size, stream);
    if (stream != g_library) return read;
    return {read.count, read.failed || ++g_libraryReads >= g_failAt};
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Some two megabytes of materials: a dozen blocks of the line reader.
std::string largeLibrary() {
    std::string text;
    for (int i = 0; i < 60000; ++i) text.append("newmtl m").append(std::to_string(i)).append("\nKd 0.5 0.25 0.125\nillum 2\n");
    return text;
}

TEST(FailingReads, ALibraryReadOnlyInPartIsLeftOutOfTheLoadAndTheReplace) {
    const test::TempFolder folder(test::PathForm::Generic);
    folder.write("lib.mtl", largeLibrary());
    const std::string path = folder.write("model.obj",
                                          "mtllib lib.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\ng one\nusemtl m59999\n"
                                          "f 1 2 3\n");
    const std::string written = folder.pathOf("written.obj");
    for (const int failAt : {1, 3, 5, 8}) {
        SCOPED_TRACE(std::string("the library's read ").append(std::to_string(failAt)).append(" fails"));
        test::CapturedNotes notes;
        {
            test::ScopedSystem system;
            system.calls().files.openStream = &watchingOpen;
            system.calls().files.readStream = &failingLibraryRead;
            g_library = nullptr;
            g_libraryReads = 0;
            g_failAt = failAt;
            EXPECT_EQ(call(&::LoadOBJFile, path.c_str()), 1.0f);
            ASSERT_NE(g_library, nullptr) << "the library was not opened";
            EXPECT_EQ(g_libraryReads, failAt) << "the library was read on after its error";
        }
        EXPECT_EQ(notes.count(), 0u) << notes.at(0).text;
        EXPECT_EQ(call(&::GetOBJInfo, "faceCount"), 1.0f);
        ASSERT_EQ(::ExportOBJGroup(written.c_str(), 0.0, nullptr, 0, 0, 0, nullptr), 0.0f);
        const std::string text = fileText(written);
        EXPECT_NE(text.find("#Material Count 0"), std::string::npos) << text;
        EXPECT_EQ(text.find("usemtl"), std::string::npos) << "a face has a material of the library";

        {
            test::ScopedSystem system;
            system.calls().files.openStream = &watchingOpen;
            system.calls().files.readStream = &failingLibraryRead;
            g_library = nullptr;
            g_libraryReads = 0;
            EXPECT_EQ(call(&::ReplaceOBJVertices, path.c_str()), 0.0f);
        }
        EXPECT_EQ(notes.count(), 0u);
        call(&::FreeOBJModel, nullptr);
    }
    // Read whole, the same library gives the face its material.
    ASSERT_EQ(call(&::LoadOBJFile, path.c_str()), 1.0f);
    ASSERT_EQ(::ExportOBJGroup(written.c_str(), 0.0, nullptr, 0, 0, 0, nullptr), 0.0f);
    EXPECT_NE(fileText(written).find("usemtl m59999"), std::string::npos);
    call(&::FreeOBJModel, nullptr);
}

TEST(FailingReads, ALibraryReadOnlyInPartEndsItsReadWithItsOwnText) {
    const test::TempFolder folder(test::PathForm::Generic);
    const std::string path = folder.write("lib.mtl", largeLibrary());
    obj::OBJModel model;
    std::vector<obj::Material> list;
    test::ScopedSystem system;
    system.calls().files.openStream = &watchingOpen;
    system.calls().files.readStream = &failingLibraryRead;
    g_library = nullptr;
    g_libraryReads = 0;
    g_failAt = 3;
    EXPECT_EQ(model.readMTL(path, list, 0), obj::ReadStatus::Ended);
    EXPECT_EQ(model._errorText, "Materials file could not be read to its end: " + path);
    EXPECT_GT(list.size(), 0u) << "the materials before the failed block were not read";
    EXPECT_LT(list.size(), 60000u);
}

}  // namespace
}  // namespace tollgram
