// The Tollgram.dll of an unpacked release package, as Kavrex meets it:
// loaded by its path, its version resource read, its exports called.
//
//   package_check.exe PACKAGE_FOLDER
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "abi/version_resource.h"
#include "tollgram.h"

namespace {

std::string packageFolder;

std::string packaged(const char* name) { return packageFolder + "\\" + name; }

using ExportFunction = TollgramExportFunction;

TEST(PackagedDll, CarriesItsVersionResource) {
    const kavrex::VersionResource resource = kavrex::versionResourceOf(packaged("Tollgram.dll").c_str());
    ASSERT_TRUE(resource.found);
    EXPECT_EQ(resource.fixed.dwFileVersionMS, (1u << 16) | 9u);
    EXPECT_EQ(resource.fixed.dwFileVersionLS, (1u << 16) | 0u);
    EXPECT_EQ(resource.fixed.dwProductVersionMS, (1u << 16) | 9u);
    EXPECT_EQ(resource.fixed.dwProductVersionLS, (1u << 16) | 0u);
    EXPECT_EQ(resource.fixed.dwFileType, static_cast<DWORD>(VFT_DLL));
    EXPECT_EQ(resource.text("OriginalFilename"), "Tollgram.dll");
    EXPECT_EQ(resource.text("FileVersion"), "1.9.1.0");
}

TEST(PackagedDll, LoadsByItsPathAndAnswersCalls) {
    HMODULE dll = LoadLibraryA(packaged("Tollgram.dll").c_str());
    ASSERT_NE(dll, nullptr) << "error " << GetLastError();
    char loaded[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(dll, loaded, MAX_PATH), 0u);
    EXPECT_NE(std::string(loaded).find(packageFolder.substr(packageFolder.find_last_of("\\/") + 1)), std::string::npos)
        << "another Tollgram.dll was loaded: " << loaded;

    auto function = [dll](const char* name) {
        return reinterpret_cast<ExportFunction>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    };
    const ExportFunction version = function("Version");
    ASSERT_NE(version, nullptr);
    const float result = version(nullptr, 0, nullptr, 0, 0, 0, nullptr);
    uint32_t bits;
    std::memcpy(&bits, &result, sizeof bits);
    EXPECT_EQ(bits, 0x3FF47AE1u);

    // A model of the packaged examples, read by the packaged library.
    const ExportFunction load = function("LoadOBJFile"), info = function("GetOBJInfo"), free = function("FreeOBJModel");
    ASSERT_TRUE(load && info && free);
    const std::string model = packaged("examples\\split-by-group\\bracket.obj");
    EXPECT_EQ(load(model.c_str(), 0, nullptr, 0, 0, 0, nullptr), 3.0f);
    EXPECT_EQ(info("vertexCount", 0, nullptr, 0, 0, 0, nullptr), 12.0f);
    EXPECT_EQ(free(nullptr, 0, nullptr, 0, 0, 0, nullptr), 0.0f);
    FreeLibrary(dll);
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: package_check PACKAGE_FOLDER\n");
        return 2;
    }
    packageFolder = argv[1];
    return RUN_ALL_TESTS();
}
