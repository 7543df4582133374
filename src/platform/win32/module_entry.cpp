// The DLL's entry point: the runtime has constructed its statics by now.
#include <windows.h>

#include "frame/app.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) tollgram::startModule();
    if (reason == DLL_PROCESS_DETACH) tollgram::stopModule();
    return TRUE;
}
