#include "frame/app.h"

#include <new>

#include "frame/module_state.h"

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

void stopModule(bool processEnding) {
    if (!processEnding) releaseCurrentModel();
    if (g_app == nullptr) return;
    g_app->~CTollgramApp();
    g_app = nullptr;
}

CTollgramApp* application() { return g_app; }

}  // namespace tollgram
