#pragma once
// Kavrex's side of a loaded library, Windows only: an entry of the
// library's import address table replaced, so that a host for tests and
// tools sees the Windows calls the unmodified library makes (a message box,
// a dialog, a shell launch) and answers them itself.
#if defined(_WIN32)
#include <windows.h>

namespace tollgram::substitute {

// Replaces module's import of function from library (both compared without
// regard to case) and returns the previous address, or null when the module
// does not import it by that name.
void* patchImport(HMODULE module, const char* library, const char* function, void* replacement);

}  // namespace tollgram::substitute
#endif
