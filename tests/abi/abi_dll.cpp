#include "abi/abi_dll.h"

#include "substitute_host/import_patch.h"

namespace kavrex {

HMODULE dll() {
    static HMODULE module = LoadLibraryA("Tollgram.dll");
    return module;
}

ExportFunction exportNamed(const char* name) {
    HMODULE module = dll();
    if (!module) return nullptr;
    return reinterpret_cast<ExportFunction>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

float call(const char* name, const char* text, double value, char* buffer, int32_t bufferSize, void* context) {
    ExportFunction function = exportNamed(name);
    if (!function) return -12345.0f;  // never a result of the library
    return function(text, value, buffer, bufferSize, 0xDEADBEEFu, 0xFEEDFACEu, context);
}

namespace {
template <typename T>
T* at(HMODULE module, DWORD rva) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

const IMAGE_DATA_DIRECTORY& directory(HMODULE module, int index) {
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = at<IMAGE_NT_HEADERS>(module, static_cast<DWORD>(dos->e_lfanew));
    return nt->OptionalHeader.DataDirectory[index];
}
}  // namespace

std::vector<std::string> exportDirectoryNames(HMODULE module) {
    std::vector<std::string> names;
    const IMAGE_DATA_DIRECTORY& entry = directory(module, IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (entry.VirtualAddress == 0) return names;
    auto* exports = at<IMAGE_EXPORT_DIRECTORY>(module, entry.VirtualAddress);
    auto* nameRvas = at<DWORD>(module, exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) names.emplace_back(at<char>(module, nameRvas[i]));
    return names;
}

void* patchImport(HMODULE module, const char* library, const char* function, void* replacement) {
    return tollgram::substitute::patchImport(module, library, function, replacement);
}

namespace {
std::vector<CapturedBox>& capturedBoxes() {
    static std::vector<CapturedBox> boxes;
    return boxes;
}

int WINAPI capturingMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    capturedBoxes().push_back({owner, text ? text : "", caption ? caption : "", style});
    return IDOK;
}
}  // namespace

MessageBoxCapture::MessageBoxCapture()
    : patch_("user32.dll", "MessageBoxA", reinterpret_cast<void*>(&capturingMessageBox)) {
    capturedBoxes().clear();
}

MessageBoxCapture::~MessageBoxCapture() { capturedBoxes().clear(); }

const std::vector<CapturedBox>& MessageBoxCapture::boxes() const { return capturedBoxes(); }

void MessageBoxCapture::clear() { capturedBoxes().clear(); }

}  // namespace kavrex
