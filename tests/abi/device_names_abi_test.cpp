// Windows maps NUL, AUX, COM1 and the like to devices whatever the folder or
// extension; reading a serial port waits for ever. Through the real DLL, a
// device given as the OBJ file or named by a material library is a file that
// can't be opened, and the call comes back at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "abi/abi_dll.h"
#include "support/temp_folder.h"
#include "support/time_limit.h"

namespace {

using tollgram::test::TempFolder;
using tollgram::test::withinTimeLimit;

TEST(DeviceNamesAbi, AnOBJFileThatIsADeviceIsNotFound) {
    TempFolder folder;
    kavrex::MessageBoxCapture boxes;
    ASSERT_TRUE(boxes.active());
    const std::vector<std::string> paths = {"COM1", "AUX", "NUL", "com1.mtl", folder.at("aux.obj"),
                                            folder.text()};
    for (const std::string& path : paths) {
        float result = -1.0f;
        withinTimeLimit(("LoadOBJFile(\"" + path + "\")").c_str(),
                        [&] { result = kavrex::call("LoadOBJFile", path.c_str()); });
        EXPECT_EQ(result, 0.0f) << path;
        ASSERT_EQ(boxes.boxes().size(), 1u) << path;
        EXPECT_EQ(boxes.boxes()[0].caption, "IMPORT ERROR");
        EXPECT_EQ(boxes.boxes()[0].text, "OBJ file not found: " + path);
        boxes.clear();
    }
}

TEST(DeviceNamesAbi, MaterialLibrariesThatAreDevicesAreSkipped) {
    TempFolder folder;
    folder.write("real.mtl", "newmtl red\r\nKd 1 0 0\r\n");
    const std::string path = folder.write("model.obj",
                                          "mtllib aux.mtl\r\nmtllib com1\r\nmtllib com1.mtl\r\nmtllib nul.mtl\r\n"
                                          "mtllib real.mtl\r\nv 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\n"
                                          "usemtl red\r\ng red_part\r\nf 1 2 3\r\n");
    kavrex::MessageBoxCapture boxes;
    float result = -1.0f;
    withinTimeLimit("LoadOBJFile of a file naming device libraries",
                    [&] { result = kavrex::call("LoadOBJFile", path.c_str()); });
    EXPECT_EQ(result, 1.0f);
    EXPECT_TRUE(boxes.boxes().empty());
    // The material of the real library was found: the whole-model file names it.
    const std::string written = folder.at("written.obj");
    ASSERT_EQ(kavrex::call("ExportOBJGroup", written.c_str(), 0.0), 0.0f);
    EXPECT_NE(tollgram::test::contentOf(written).find("#Material Count 1\r\n"), std::string::npos);
    EXPECT_NE(tollgram::test::contentOf(written).find("usemtl red\r\n"), std::string::npos);
    kavrex::call("FreeOBJModel");
}

}  // namespace
