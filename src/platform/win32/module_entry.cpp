// The DLL's entry point: the runtime has constructed its statics by now.
#include <windows.h>

#include "platform/module_hooks.h"

// At DLL_PROCESS_DETACH a null reserved pointer means FreeLibrary: the host
// goes on. Otherwise the process is ending.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) tollgram::platform::moduleLoaded();
    if (reason == DLL_PROCESS_DETACH) tollgram::platform::moduleUnloading(reserved != nullptr);
    return TRUE;
}
