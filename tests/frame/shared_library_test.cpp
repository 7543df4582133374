// The Linux library as a host would use it: opened by file name, each export
// found by name.
#if !defined(_WIN32)
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "frame/sanitizers.h"
#include "support/process_resources.h"
#include "support/temp_folder.h"
#include "tollgram.h"

namespace {

using ExportFunction = TollgramExportFunction;

const char* const kExportNames[] = {
#define TOLLGRAM_EXPORT(name, failure) #name,
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
};

TEST(SharedLibrary, ExportsEveryNameOfTheTable) {
    void* library = dlopen(TOLLGRAM_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const char* name : kExportNames) {
        EXPECT_NE(dlsym(library, name), nullptr) << name;
    }
    // Internal names stay hidden.
    EXPECT_EQ(dlsym(library, "_ZN8tollgram11moduleStateEv"), nullptr);

    auto version = reinterpret_cast<ExportFunction>(dlsym(library, "Version"));
    ASSERT_NE(version, nullptr);
    const float result = version(nullptr, 0.0, nullptr, 0, 0, 0, nullptr);
    uint32_t bits;
    std::memcpy(&bits, &result, sizeof bits);
    EXPECT_EQ(bits, 0x3FF47AE1u);
    dlclose(library);
}

// A host that loads and unloads the library with a model held gets its
// memory back at every unload: the model goes with the library, and with it
// the slabs of its blocks.
TEST(SharedLibrary, UnloadingWithAModelHeldGivesItsMemoryBack) {
    tollgram::test::TempFolder folder;
    // A copy of its own, so that no other user of the library keeps it loaded.
    const std::string copy = folder.at("libtollgram-cycle.so");
    std::filesystem::copy_file(TOLLGRAM_SHARED_LIBRARY, copy);
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "v " + std::to_string(i) + " 0 0\n";
    for (int i = 1; i + 2 <= 20000; ++i) text += "f " + std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2) + "\n";
    const std::string model = folder.write("model.obj", text);

    auto cycle = [&] {
        void* library = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        auto load = reinterpret_cast<ExportFunction>(dlsym(library, "LoadOBJFile"));
        ASSERT_NE(load, nullptr);
        EXPECT_EQ(load(model.c_str(), 0.0, nullptr, 0, 0, 0, nullptr), 1.0f);
        ASSERT_EQ(dlclose(library), 0);
        EXPECT_EQ(dlopen(copy.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "the library stayed loaded";
    };
    cycle();  // the first cycle sets up what the process keeps for good
    [[maybe_unused]] const size_t committed = tollgram::test::committedBytes();
    const size_t handles = tollgram::test::openHandleCount();
    for (int i = 0; i < 10; ++i) cycle();
    // Each cycle held a slab of 8 MiB and half a megabyte of heap blocks.
    // Under AddressSanitizer whatever a read frees sits in quarantine, the
    // reader's own chunk records too: there memory says nothing.
#if !defined(TOLLGRAM_ADDRESS_SANITIZER)
    EXPECT_LT(tollgram::test::committedBytes(), committed + (16u << 20)) << "committed before " << committed;
#endif
    EXPECT_EQ(tollgram::test::openHandleCount(), handles);
}

}  // namespace
#endif
