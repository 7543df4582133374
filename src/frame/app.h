#pragma once
// The library's one application object, and the start and stop of the
// module that the platform's load and unload hooks call.
#include "platform/cwinapp.h"

namespace tollgram {

class CTollgramApp : public CWinApp {
public:
    CTollgramApp();
    ~CTollgramApp() override;
    const platform::MessageMap* GetMessageMap() const override;
    platform::BOOL InitInstance() override;

protected:
    static const platform::MessageMap* GetThisMessageMap();
};

// Constructs the application object and runs its InitInstance. Called once
// when the library is loaded; a second call does nothing.
void startModule();

// Destroys the application object; a second call does nothing.
void stopModule();

// The application object while the module is started, else null.
CTollgramApp* application();

}  // namespace tollgram
