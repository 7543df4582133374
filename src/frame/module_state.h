#pragma once
// State that outlives a call: one instance per loaded library, in static
// storage, set to its initial values when the library is loaded and never
// saved. Texts have the fixed capacities below, terminator included.
#include <cstddef>
#include <cstdint>

namespace tollgram {

namespace obj { struct OBJModel; }

inline constexpr size_t kAppLinkPathCapacity = 1024;
inline constexpr size_t kCopySourcePathCapacity = 512;
inline constexpr size_t kDefaultDirectoryCapacity = 512;
inline constexpr size_t kFileListBufferSize = 4096;
inline constexpr size_t kDialogTitleCapacity = 256;
inline constexpr const char* kDefaultDialogTitle = "Select Files";

struct ModuleState {
    char appLinkPath[kAppLinkPathCapacity];
    char copySourcePath[kCopySourcePathCapacity];
    char defaultDirectory[kDefaultDirectoryCapacity];
    char fileListBuffer[kFileListBufferSize];
    char dialogTitle[kDialogTitleCapacity];
    int32_t thumbnailWidth;
    int32_t thumbnailHeight;
    obj::OBJModel* currentModel;  // owned; released when the host unloads the library
    uint8_t maskValue;
};

ModuleState& moduleState();

// Destroys the current model, if there is one, and leaves none. Defined with
// the model's exports.
void releaseCurrentModel();

// Puts every field back to its load-time value. The current model pointer is
// cleared without releasing the model: callers that own one free it first.
void resetModuleState();

}  // namespace tollgram
