#include "substitute_host/import_patch.h"

#if defined(_WIN32)
#include <cctype>
#include <cstring>

namespace tollgram::substitute {

namespace {
template <typename T>
T* at(HMODULE module, DWORD rva) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

bool sameName(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
    }
    return *a == *b;
}
}  // namespace

void* patchImport(HMODULE module, const char* library, const char* function, void* replacement) {
    if (!module) return nullptr;
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = at<IMAGE_NT_HEADERS>(module, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (entry.VirtualAddress == 0) return nullptr;
    for (auto* imports = at<IMAGE_IMPORT_DESCRIPTOR>(module, entry.VirtualAddress); imports->Name; ++imports) {
        if (!sameName(at<char>(module, imports->Name), library)) continue;
        auto* names = at<IMAGE_THUNK_DATA>(module, imports->OriginalFirstThunk);
        auto* addresses = at<IMAGE_THUNK_DATA>(module, imports->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = at<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData));
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            DWORD oldProtection;
            void* slot = &addresses->u1.Function;
            if (!VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &oldProtection)) return nullptr;
            void* previous = reinterpret_cast<void*>(addresses->u1.Function);
            addresses->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(slot, sizeof(void*), oldProtection, &oldProtection);
            return previous;
        }
    }
    return nullptr;
}

}  // namespace tollgram::substitute
#endif
