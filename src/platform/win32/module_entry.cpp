// The DLL's entry points: the runtime's start-up and shut-down, and the
// library's own hooks between them.
#include <windows.h>

#if defined(__MINGW32__)
#include <pthread.h>
#endif

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
// own release of it, for leak checkers, gives it back.
namespace __gnu_cxx {
void __freeres();
}
#endif

namespace {

// The threads runtime linked in (winpthreads) takes a TLS slot at its first
// call and never frees it; the 32-bit unwinder's start-up makes that call
// at every load. A process has 1,088 slots, so about the 1,084th load of
// the 32-bit DLL failed and ended the host. There the slot is taken here,
// before the start-up, where it is known, and freed at FreeLibrary. What
// the runtime still keeps of each load is out of reach: its record of the
// loading thread and the unwinder's lock, some 350 bytes and two handles.
// The 64-bit DLL has no such start-up, and is left to take the slot only
// when a call needs the runtime.
DWORD g_threadsSlot = TLS_OUT_OF_INDEXES;

void takeThreadsSlot() {
#if defined(__i386__)
    const DWORD lowestFree = TlsAlloc();
    if (lowestFree == TLS_OUT_OF_INDEXES) return;
    TlsFree(lowestFree);
    (void)pthread_self();  // the runtime takes the lowest free slot, and sets it for this thread
    if (TlsGetValue(lowestFree) != nullptr) g_threadsSlot = lowestFree;
#endif
}

}  // namespace

// The entry point the linker names (CMakeLists.txt): MinGW's own, and after
// a FreeLibrary's detach, when no code of the image runs again, what the
// runtime keeps released. A process that ends keeps its heap as it is.
extern "C" BOOL WINAPI TollgramDllEntry(HANDLE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) takeThreadsSlot();
    const BOOL result = DllMainCRTStartup(module, reason, reserved);
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
#if defined(__GLIBCXX__)
        __gnu_cxx::__freeres();
#endif
        if (g_threadsSlot != TLS_OUT_OF_INDEXES) TlsFree(g_threadsSlot);
    }
    return result;
}
#endif
