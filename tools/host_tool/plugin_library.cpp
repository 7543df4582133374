#include "host_tool/plugin_library.h"

#if defined(_WIN32)
#include <windows.h>

#include <cstdio>

#include "substitute_host/import_patch.h"
#else
#include <dlfcn.h>
#endif

namespace tollgram::host_tool {

#if defined(_WIN32)

PluginLibrary::~PluginLibrary() {
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

namespace {
// The library's message boxes as lines of text on standard error, the way
// the Linux library shows them: a console tool has no one to click them
// away, and under Wine without a display a box is lost unseen.
int WINAPI boxAsText(HWND, LPCSTR text, LPCSTR caption, UINT) {
    const std::string line = std::string("[") + (caption ? caption : "") + "] " + (text ? text : "") + "\n";
    std::fflush(stdout);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return IDOK;
}
}  // namespace

bool PluginLibrary::open(const std::string& path, std::string& error) {
    handle_ = LoadLibraryA(path.c_str());
    if (!handle_) {
        error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    tollgram::substitute::patchImport(static_cast<HMODULE>(handle_), "user32.dll", "MessageBoxA",
                                      reinterpret_cast<void*>(&boxAsText));
    return true;
}

ExportFunction PluginLibrary::find(const std::string& name) const {
    if (!handle_) return nullptr;
    FARPROC address = GetProcAddress(static_cast<HMODULE>(handle_), name.c_str());
    return reinterpret_cast<ExportFunction>(reinterpret_cast<void*>(address));
}

const char* PluginLibrary::defaultFileName() { return "Tollgram.dll"; }
#else
PluginLibrary::~PluginLibrary() {
    if (handle_) dlclose(handle_);
}

bool PluginLibrary::open(const std::string& path, std::string& error) {
    // A bare file name means the one beside the tool, as on Windows.
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) error = dlerror();
    return handle_ != nullptr;
}

ExportFunction PluginLibrary::find(const std::string& name) const {
    if (!handle_) return nullptr;
    return reinterpret_cast<ExportFunction>(dlsym(handle_, name.c_str()));
}

const char* PluginLibrary::defaultFileName() { return "libtollgram.so"; }
#endif

}  // namespace tollgram::host_tool
