#pragma once
// The library under test, opened by file name and its exports found by
// name, as Kavrex does it; nothing of the library is linked in.
#include <cstdint>
#include <cstdio>
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

    // The library's file name on this platform.
    static const char* defaultFileName();

    // The full path of the library's file beside the tool's own program
    // file, found from the system rather than from how the tool was
    // started (by name from PATH, through a symbolic link); the bare file
    // name when the system does not say.
    static std::string besideProgram();

private:
    void* handle_ = nullptr;
};

// While one lives, the boxes the library shows are printed as lines
// "[CAPTION] TEXT" on out, in their place among the lines the tool prints
// there, whichever stream out is.
class BoxesPrintedTo {
public:
    explicit BoxesPrintedTo(std::FILE* out);
    ~BoxesPrintedTo();
    BoxesPrintedTo(const BoxesPrintedTo&) = delete;
    BoxesPrintedTo& operator=(const BoxesPrintedTo&) = delete;

private:
    std::FILE* out_;
    [[maybe_unused]] std::FILE* previous_ = nullptr;
    [[maybe_unused]] int savedError_ = -1;
};

}  // namespace tollgram::host_tool
