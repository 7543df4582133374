#include "host_tool/plugin_library.h"

#include "host_tool/code_page.h"

#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>

#include <vector>

#include "substitute_host/import_patch.h"
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace tollgram::host_tool {

namespace {
std::string besideFile(const std::filesystem::path& program) {
    if (program.empty() || !program.has_parent_path()) return PluginLibrary::defaultFileName();
    try {
        return (program.parent_path() / PluginLibrary::defaultFileName()).string();
    } catch (const std::exception&) {
        // A folder name the narrow code page cannot spell: the system's own
        // search finds the file beside the program by its name alone.
        return PluginLibrary::defaultFileName();
    }
}
}  // namespace

#if defined(_WIN32)

PluginLibrary::~PluginLibrary() {
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

namespace {
std::FILE* boxOutput = nullptr;  // standard output unless a BoxesPrintedTo says otherwise

// The library's message boxes as lines of text, the way the Linux library
// shows them: a console tool has no one to click them away, and under Wine
// without a display a box is lost unseen.
int WINAPI boxAsText(HWND, LPCSTR text, LPCSTR caption, UINT) {
    // In the code page the library writes in; printed in UTF-8, as the
    // tool's other lines are.
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on
    // `"[" + temporary`.
    std::string line = "[";
    line += fromLibraryText(caption ? caption : "");
    line += "] ";
    line += fromLibraryText(text ? text : "");
    line += '\n';
    std::FILE* out = boxOutput ? boxOutput : stdout;
    std::fwrite(line.data(), 1, line.size(), out);
    std::fflush(out);
    return IDOK;
}
}  // namespace

BoxesPrintedTo::BoxesPrintedTo(std::FILE* out) : out_(out), previous_(boxOutput) {
    std::fflush(out_);
    boxOutput = out_;
}

BoxesPrintedTo::~BoxesPrintedTo() { boxOutput = previous_; }

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

std::string PluginLibrary::besideProgram() {
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return defaultFileName();
        if (length < name.size()) return besideFile(std::filesystem::path(std::wstring(name.data(), length)));
        name.resize(name.size() * 2);
    }
}
#else
PluginLibrary::~PluginLibrary() {
    if (handle_) dlclose(handle_);
}

// The Linux library prints its boxes on standard error itself; for the
// length of a call that stream is sent where the tool's own lines go.
BoxesPrintedTo::BoxesPrintedTo(std::FILE* out) : out_(out) {
    std::fflush(out_);
    std::fflush(stderr);
    if (fileno(out_) == STDERR_FILENO) return;
    savedError_ = dup(STDERR_FILENO);
    if (savedError_ >= 0) dup2(fileno(out_), STDERR_FILENO);
}

BoxesPrintedTo::~BoxesPrintedTo() {
    std::fflush(stderr);
    if (savedError_ < 0) return;
    dup2(savedError_, STDERR_FILENO);
    close(savedError_);
}

bool PluginLibrary::open(const std::string& path, std::string& error) {
    // A path with no folder is searched for by the loader's own rules, not
    // beside the tool: the tool gives the full path of its default.
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) error = dlerror();
    return handle_ != nullptr;
}

ExportFunction PluginLibrary::find(const std::string& name) const {
    if (!handle_) return nullptr;
    return reinterpret_cast<ExportFunction>(dlsym(handle_, name.c_str()));
}

const char* PluginLibrary::defaultFileName() { return "libtollgram.so"; }

std::string PluginLibrary::besideProgram() {
    std::error_code failure;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failure);
    return besideFile(failure ? std::filesystem::path() : program);
}
#endif

}  // namespace tollgram::host_tool
