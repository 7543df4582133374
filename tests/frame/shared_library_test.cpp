// The Linux library as a host would use it: opened by file name, each export
// found by name.
#if !defined(_WIN32)
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

using ExportFunction = float (*)(const char*, double, char*, int32_t, uint32_t, uint32_t, void*);

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

}  // namespace
#endif
