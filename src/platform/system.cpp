// The live system table: the parts that the platform's files define, as one
// table.
#include "platform/system.h"

namespace tollgram::platform {

constinit const LiveSystem kLiveSystem{
    .files = liveFileCalls,
    .staging = liveStagingCalls,
    .directories = liveDirectoryCalls,
    .dialogs = liveDialogCalls,
    .shell = liveShellCalls,
    .memory = liveMemoryCalls,
    .pages = livePageCalls,
    .messageBoxes = liveMessageBoxCalls,
    .process = liveProcessCalls,
};

const System& platformSystem() {
    // Made at its first use, for tests; the library calls the live table.
    static const System table{.files = kPlatformFileCalls,
            .staging = kPlatformStagingCalls,
            .directories = kPlatformDirectoryCalls,
            .dialogs = kPlatformDialogCalls,
            .shell = kPlatformShellCalls,
            .memory = kPlatformMemoryCalls,
            .pages = kPlatformPageCalls,
            .messageBoxes = kPlatformMessageBoxCalls,
            .process = kPlatformProcessCalls};
    return table;
}

System currentSystem() {
    return {.files = liveFileCalls,
            .staging = liveStagingCalls,
            .directories = liveDirectoryCalls,
            .dialogs = liveDialogCalls,
            .shell = liveShellCalls,
            .memory = liveMemoryCalls,
            .pages = livePageCalls,
            .messageBoxes = liveMessageBoxCalls,
            .process = liveProcessCalls};
}

void replaceSystem(const System& system) {
    liveFileCalls = system.files;
    liveStagingCalls = system.staging;
    liveDirectoryCalls = system.directories;
    liveDialogCalls = system.dialogs;
    liveShellCalls = system.shell;
    liveMemoryCalls = system.memory;
    livePageCalls = system.pages;
    liveMessageBoxCalls = system.messageBoxes;
    liveProcessCalls = system.process;
}

}  // namespace tollgram::platform
