#pragma once
// The library under test, opened by file name and its exports found by
// name, as Kavrex does it; nothing of the library is linked in.
#include <cstdint>
#include <string>

#include "tollgram.h"

namespace tollgram::host_tool {

using ExportFunction = TollgramExportFunction;

class PluginLibrary {
public:
    PluginLibrary() = default;
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // False with a readable reason when the file can't be loaded.
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return handle_ != nullptr; }

    // Null when the library has no export of that name.
    ExportFunction find(const std::string& name) const;

    // The library's file name on this platform, beside the tool.
    static const char* defaultFileName();

private:
    void* handle_ = nullptr;
};

}  // namespace tollgram::host_tool
