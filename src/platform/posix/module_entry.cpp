// Load and unload hooks of the shared library.
#include "frame/app.h"

namespace {
__attribute__((constructor)) void onLibraryLoad() { tollgram::startModule(); }
// Runs at dlclose and at exit alike, before the library's static objects are
// destroyed; freeing a held model at exit costs little.
__attribute__((destructor)) void onLibraryUnload() { tollgram::stopModule(false); }
}  // namespace
