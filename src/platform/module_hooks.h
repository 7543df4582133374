#pragma once
// What the platform's load and unload hooks (posix/ and win32/
// module_entry.cpp) call. Defined above the platform, so that no platform
// file reaches up: the load by the application frame (frame/app.cpp), the
// unload by the current model (obj/current_model.cpp), which releases a held
// model before the frame stops.
namespace tollgram::platform {

// The library was loaded: construct the application object and start it.
void moduleLoaded();

// The library is being unloaded; processEnding when the whole process is
// ending rather than the host going on without the library.
void moduleUnloading(bool processEnding);

}  // namespace tollgram::platform
