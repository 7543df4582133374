#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "abi/abi_dll.h"
#include "abi/version_resource.h"

namespace {

TEST(Dll, LoadsByFileName) { ASSERT_NE(kavrex::dll(), nullptr) << "LoadLibraryA(\"Tollgram.dll\") failed"; }

TEST(Dll, ExportsExactlyTheTableUndecorated) {
    ASSERT_NE(kavrex::dll(), nullptr);
    for (const std::string& name : kavrex::tableNames()) {
        EXPECT_NE(kavrex::exportNamed(name.c_str()), nullptr) << name;
    }
    std::vector<std::string> expected = kavrex::tableNames();
    std::vector<std::string> actual = kavrex::exportDirectoryNames(kavrex::dll());
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    // No decorated (_Name, Name@28) or extra names; x64 names are never
    // decorated, so there the check is of the names alone.
    EXPECT_EQ(actual, expected);
}

// The float comes back where the caller's convention reads it: st0 in the
// 32-bit product, xmm0 in the x64 test build.
TEST(Dll, VersionReturnsTheBitsOf191) {
    ASSERT_NE(kavrex::exportNamed("Version"), nullptr);
    char buffer[4] = "abc";
    int context = 7;
    EXPECT_EQ(kavrex::bitsOf(kavrex::call("Version")), 0x3FF47AE1u);
    EXPECT_EQ(kavrex::bitsOf(kavrex::call("Version", "name", -1.0, buffer, 4, &context)), 0x3FF47AE1u);
    EXPECT_STREQ(buffer, "abc");
}

#if !defined(_WIN64)
// After a call the caller's stack must be as before: cdecl leaves the
// arguments to the caller, so a callee that removed them (stdcall) would
// shift the stack under this loop. The 32-bit product only: x64 Windows has
// one convention, in which the caller always removes them.
TEST(Dll, LeavesTheArgumentsOnTheStackForTheCaller) {
    kavrex::ExportFunction version = kavrex::exportNamed("Version");
    ASSERT_NE(version, nullptr);
    volatile int marker = 0x1234;
    for (int i = 0; i < 1000; ++i) version(nullptr, i, nullptr, i, 0, 0, nullptr);
    EXPECT_EQ(marker, 0x1234);
}
#endif

TEST(Dll, CarriesItsVersionResource) {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(kavrex::dll(), path, MAX_PATH), 0u);
    const kavrex::VersionResource resource = kavrex::versionResourceOf(path);
    ASSERT_TRUE(resource.found);
    const VS_FIXEDFILEINFO& fixed = resource.fixed;
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionMS, (1u << 16) | 9u);
    EXPECT_EQ(fixed.dwFileVersionLS, (1u << 16) | 0u);
    EXPECT_EQ(fixed.dwProductVersionMS, (1u << 16) | 9u);
    EXPECT_EQ(fixed.dwProductVersionLS, (1u << 16) | 0u);
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_DLL));
    EXPECT_EQ(resource.text("InternalName"), "Tollgram");
    EXPECT_EQ(resource.text("OriginalFilename"), "Tollgram.dll");
    EXPECT_EQ(resource.text("FileVersion"), "1.9.1.0");
}

TEST(Dll, ImportsTheMessageBoxByItsAnsiName) {
    kavrex::MessageBoxCapture capture;
    EXPECT_TRUE(capture.active()) << "Tollgram.dll has no import of user32.dll!MessageBoxA to intercept";
}

}  // namespace
