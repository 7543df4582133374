// Load and unload hooks of the shared library.
#include "frame/app.h"

namespace {
__attribute__((constructor)) void onLibraryLoad() { tollgram::startModule(); }
__attribute__((destructor)) void onLibraryUnload() { tollgram::stopModule(); }
}  // namespace
