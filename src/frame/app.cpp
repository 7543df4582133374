#include "frame/app.h"

#include <new>

#include "platform/module_hooks.h"


namespace tollgram {

CTollgramApp::CTollgramApp() : CWinApp(nullptr) {}

CTollgramApp::~CTollgramApp() = default;

// The map holds no entries of its own and chains to the base class's.
const platform::MessageMap* CTollgramApp::GetThisMessageMap() {
    static constexpr platform::MessageMapEntry end{0};
    static constexpr platform::MessageMap map{&CWinApp::GetThisMessageMap, &end};
    return &map;
}

const platform::MessageMap* CTollgramApp::GetMessageMap() const { return GetThisMessageMap(); }

// Success whatever the base class says: the library needs nothing of it.
platform::BOOL CTollgramApp::InitInstance() {
    CWinApp::InitInstance();
    return platform::kTrue;
}

namespace {
// Static storage without a constructor of its own, so that start-up order
// is the load hook's alone.
alignas(CTollgramApp) unsigned char g_appStorage[sizeof(CTollgramApp)];
CTollgramApp* g_app = nullptr;
}  // namespace

void startModule() {
    if (g_app != nullptr) return;
    g_app = new (g_appStorage) CTollgramApp();
    g_app->InitInstance();
}

void stopModule() {
    if (g_app == nullptr) return;
    g_app->~CTollgramApp();
    g_app = nullptr;
}

CTollgramApp* application() { return g_app; }

}  // namespace tollgram

// The platform's load hook reaches the application object here; its unload
// hook is the current model's (obj/current_model.cpp), which has something
// to release first.
void tollgram::platform::moduleLoaded() { startModule(); }
