#include "support/target_kinds.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tollgram::test {

namespace {
bool canAddFile(const std::string& folder) {
    const std::filesystem::path probe = std::filesystem::path(folder) / "probe.tmp";
    const bool added = static_cast<bool>(std::ofstream(probe));
    std::error_code ignored;
    std::filesystem::remove(probe, ignored);
    return added;
}
}  // namespace

#if defined(_WIN32)

namespace {
// The Unix name of a Windows path, from Wine's own kernel32; empty outside
// Wine.
std::string unixName(const std::string& path) {
    using UnixFileName = char* (*)(const wchar_t*);
    const auto convert = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (convert == nullptr) return {};
    wchar_t wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) == 0) return {};
    char* name = convert(wide);
    if (name == nullptr) return {};
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Runs the host's ln; Wine starts Unix programs as it starts its own.
bool runHostLink(const std::string& target, const std::string& link) {
    const std::string unixTarget = unixName(target);
    const std::string unixLink = unixName(link);
    if (unixTarget.empty() || unixLink.empty()) return false;
    for (const char* program : {"Z:\\bin\\ln", "Z:\\usr\\bin\\ln"}) {
        if (GetFileAttributesA(program) == INVALID_FILE_ATTRIBUTES) continue;
        std::string command = "ln -s \"" + unixTarget + "\" \"" + unixLink + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            continue;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        // Wine's handle of a Unix process tells nothing of its end: the link
        // is waited for instead.
        for (int wait = 0; wait < 500; ++wait) {
            if (GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
            Sleep(10);
        }
        return false;
    }
    return false;
}
}  // namespace

std::string makeSymbolicLink(const std::string& target, const std::string& link) {
    // Wine 8 answers yes and makes nothing: the link is looked for.
    if (CreateSymbolicLinkA(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
        GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return {};
    }
    if (runHostLink(target, link)) return {};
    return "no symbolic link can be made here (CreateSymbolicLinkA needs developer mode or a privilege, and this "
           "is no Wine with a host ln)";
}

HeldOpenFile::HeldOpenFile(const std::string& path, DeleteSharing deleting)
    : handle_(reinterpret_cast<intptr_t>(
          CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | (deleting == DeleteSharing::Allowed ? FILE_SHARE_DELETE : 0),
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))) {}

HeldOpenFile::~HeldOpenFile() {
    if (held()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool HeldOpenFile::held() const { return reinterpret_cast<HANDLE>(handle_) != INVALID_HANDLE_VALUE; }

std::string HeldOpenFile::content() const {
    const auto file = reinterpret_cast<HANDLE>(handle_);
    std::string bytes;
    if (!held() || SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return bytes;
    char block[4096];
    DWORD count = 0;
    while (ReadFile(file, block, sizeof block, &count, nullptr) && count > 0) bytes.append(block, count);
    return bytes;
}

TemporaryFolderMoved::TemporaryFolderMoved(const std::string& folder) {
    char previous[MAX_PATH + 1];
    const DWORD length = GetEnvironmentVariableA("TMP", previous, sizeof previous);
    hadPrevious_ = length > 0 && length < sizeof previous;
    if (hadPrevious_) previous_ = previous;
    SetEnvironmentVariableA("TMP", folder.c_str());
}

TemporaryFolderMoved::~TemporaryFolderMoved() {
    SetEnvironmentVariableA("TMP", hadPrevious_ ? previous_.c_str() : nullptr);
}

// A folder's read-only attribute keeps nobody from adding files: the folder
// stays open, and writable() says so.
FolderClosedToWrites::FolderClosedToWrites(const std::string& folder) : folder_(folder), writable_(canAddFile(folder)) {}
FolderClosedToWrites::~FolderClosedToWrites() = default;

#else

std::string makeSymbolicLink(const std::string& target, const std::string& link) {
    return symlink(target.c_str(), link.c_str()) == 0 ? std::string() : "symlink failed";
}

HeldOpenFile::HeldOpenFile(const std::string& path, DeleteSharing) : handle_(open(path.c_str(), O_RDWR | O_CLOEXEC)) {}

HeldOpenFile::~HeldOpenFile() {
    if (held()) close(static_cast<int>(handle_));
}

bool HeldOpenFile::held() const { return handle_ >= 0; }

std::string HeldOpenFile::content() const {
    std::string bytes;
    char block[4096];
    off_t offset = 0;
    ssize_t count = 0;
    while (held() && (count = pread(static_cast<int>(handle_), block, sizeof block, offset)) > 0) {
        bytes.append(block, static_cast<size_t>(count));
        offset += count;
    }
    return bytes;
}

TemporaryFolderMoved::TemporaryFolderMoved(const std::string& folder) {
    const char* previous = std::getenv("TMPDIR");
    hadPrevious_ = previous != nullptr;
    if (hadPrevious_) previous_ = previous;
    setenv("TMPDIR", folder.c_str(), 1);
}

TemporaryFolderMoved::~TemporaryFolderMoved() {
    if (hadPrevious_) {
        setenv("TMPDIR", previous_.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
}

FolderClosedToWrites::FolderClosedToWrites(const std::string& folder) : folder_(folder) {
    chmod(folder_.c_str(), 0555);
    writable_ = canAddFile(folder_);
}

FolderClosedToWrites::~FolderClosedToWrites() { chmod(folder_.c_str(), 0755); }

#endif

}  // namespace tollgram::test
