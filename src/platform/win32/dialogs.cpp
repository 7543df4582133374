// The open-file dialog.
#include "platform/dialogs.h"
#include "platform/own_calls.h"

#include <windows.h>
#include <commdlg.h>


namespace tollgram::platform {

namespace {
// The full structure, with pvReserved, dwReserved and FlagsEx: the size
// Kavrex's own dialogs use, and the one that gives the Explorer-style
// dialog: 88 bytes in the 32-bit product, 152 in the x64 test build.
static_assert(sizeof(OPENFILENAMEA) == (sizeof(void*) == 4 ? 88 : 152));

constexpr DWORD kSingleSelectionFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_SHAREAWARE;
constexpr DWORD kMultipleSelectionFlags = kSingleSelectionFlags | OFN_ALLOWMULTISELECT | OFN_EXPLORER;
static_assert(kSingleSelectionFlags == 0x5804 && kMultipleSelectionFlags == 0x85A04);
}  // namespace

bool own::openFileDialog(const OpenFileRequest& request) {
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = nullptr;
    dialog.lpstrFilter = request.filterList;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = request.fileBuffer;
    dialog.nMaxFile = static_cast<DWORD>(request.fileBufferSize);
    dialog.lpstrInitialDir = request.initialDirectory;
    dialog.lpstrTitle = request.title;
    dialog.Flags = request.multipleSelection ? kMultipleSelectionFlags : kSingleSelectionFlags;
    return GetOpenFileNameA(&dialog) != FALSE;
}

}  // namespace tollgram::platform
