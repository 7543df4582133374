#pragma once
// The version resource of a Windows file, as Explorer and installers read it.
#include <windows.h>

#include <string>
#include <vector>

namespace kavrex {

struct VersionResource {
    bool found = false;
    VS_FIXEDFILEINFO fixed{};
    std::vector<char> data;

    // A string of the resource's US English, Unicode table; empty when missing.
    std::string text(const char* key) const {
        char* value = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904b0\\") + key;
        if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
        return std::string(value);
    }
};

inline VersionResource versionResourceOf(const char* path) {
    VersionResource resource;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0) return resource;
    resource.data.resize(size);
    if (!GetFileVersionInfoA(path, 0, size, resource.data.data())) return resource;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(resource.data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return resource;
    resource.fixed = *fixed;
    resource.found = true;
    return resource;
}

}  // namespace kavrex
