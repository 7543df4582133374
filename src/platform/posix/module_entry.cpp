// Load and unload hooks of the shared library.
#include "platform/module_hooks.h"

namespace {
__attribute__((constructor)) void onLibraryLoad() { tollgram::platform::moduleLoaded(); }
// Runs at dlclose and at exit alike, before the library's static objects are
// destroyed; freeing a held model at exit costs little.
__attribute__((destructor)) void onLibraryUnload() { tollgram::platform::moduleUnloading(false); }
}  // namespace
