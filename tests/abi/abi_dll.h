#pragma once
// Kavrex's side of the boundary: Tollgram.dll loaded by file name, exports
// looked up by their undecorated names and called with the seven-argument
// cdecl frame. Also patches entries of the DLL's import address table, so a
// test sees the Windows calls the unmodified DLL makes (a message box, a
// dialog, a shell launch) without any window appearing.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tollgram.h"

namespace kavrex {

using ExportFunction = TollgramExportFunction;

inline uint32_t bitsOf(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

// The names of the export table, as the tests expect them.
inline const std::vector<std::string>& tableNames() {
    static const std::vector<std::string> names = {
#define TOLLGRAM_EXPORT(name, failure) #name,
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
    };
    return names;
}

// The DLL stays loaded for the whole test program, as in Kavrex.
HMODULE dll();

// GetProcAddress by name; null when missing.
ExportFunction exportNamed(const char* name);

// Calls an export with the whole frame.
float call(const char* name, const char* text = nullptr, double value = 0.0, char* buffer = nullptr,
           int32_t bufferSize = 0, void* context = nullptr);

// The names in the DLL's export directory, in its order.
std::vector<std::string> exportDirectoryNames(HMODULE module);

// Replaces the DLL's import of function from library (both compared without
// regard to case) and returns the previous address, or null when the DLL
// does not import it by that name.
void* patchImport(HMODULE module, const char* library, const char* function, void* replacement);

// A patched import that stays for the scope of the object.
class ImportPatch {
public:
    ImportPatch(const char* library, const char* function, void* replacement)
        : library_(library), function_(function),
          previous_(patchImport(dll(), library, function, replacement)) {}
    ~ImportPatch() {
        if (previous_) patchImport(dll(), library_.c_str(), function_.c_str(), previous_);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    bool active() const { return previous_ != nullptr; }

private:
    std::string library_;
    std::string function_;
    void* previous_;
};

// Message boxes the DLL tried to show while a MessageBoxCapture lives.
struct CapturedBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
};

class MessageBoxCapture {
public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;
    bool active() const { return patch_.active(); }
    const std::vector<CapturedBox>& boxes() const;
    void clear();

private:
    ImportPatch patch_;
};

}  // namespace kavrex
