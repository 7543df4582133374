// An OBJ file whose read the system fails part way, after some of its blocks
// came: the load fails with a diagnostic and leaves no model, and a vertex
// replace keeps the current model, whether one thread reads the file or
// several.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "frame/exports.h"
#include "obj/read_plan.h"
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

}  // namespace
}  // namespace tollgram
