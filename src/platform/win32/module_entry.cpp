// The DLL's entry points: the runtime's start-up and shut-down, and the
// library's own hooks between them.
#include <windows.h>

#include <version>  // says which C++ runtime this is (__GLIBCXX__)

#include "platform/module_hooks.h"

// At DLL_PROCESS_DETACH a null reserved pointer means FreeLibrary: the host
// goes on. Otherwise the process is ending.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) tollgram::platform::moduleLoaded();
    if (reason == DLL_PROCESS_DETACH) tollgram::platform::moduleUnloading(reserved != nullptr);
    return TRUE;
}

#if defined(__MINGW32__)
// MinGW's start-up: it constructs the statics, calls DllMain, and at
// detach destroys the statics after DllMain has returned.
extern "C" BOOL WINAPI DllMainCRTStartup(HANDLE module, DWORD reason, LPVOID reserved);

#if defined(__GLIBCXX__)
// The statically linked C++ runtime takes a block from the process heap at
// start-up for throwing exceptions when memory runs out (19 KB in a 32-bit
// DLL, 71 KB in a 64-bit one) and never gives it back: the image goes at
// FreeLibrary, the block stays, and every load took another. The runtime's
// own release of it, for leak checkers, gives it back. What stays after it
// is the 32-bit unwinder's lock in the threads runtime, some 350 bytes a
// load, which nothing outside the runtime can reach.
namespace __gnu_cxx {
void __freeres();
}
#endif

// The entry point the linker names (CMakeLists.txt): MinGW's own, and after
// a FreeLibrary's detach, when no code of the image runs again, what the
// runtime keeps released. A process that ends keeps its heap as it is.
extern "C" BOOL WINAPI TollgramDllEntry(HANDLE module, DWORD reason, LPVOID reserved) {
    const BOOL result = DllMainCRTStartup(module, reason, reserved);
#if defined(__GLIBCXX__)
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) __gnu_cxx::__freeres();
#endif
    return result;
}
#endif
