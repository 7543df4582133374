// The platform's own system table, entry by entry, and the live copy the
// library calls through.
#include "platform/own_calls.h"
#include "platform/runtime_calls.h"
#include "platform/system.h"

namespace tollgram::platform {

constexpr System kPlatformSystem{
    .files =
        {
            .remove = &own::removeFile,
            .same = &own::sameFile,
            .openWhole = &own::openWholeFile,
            .write = &own::writeFile,
            .cutAndClose = &own::cutAndClose,
            .openStream = &runtime::openStream<&own::openRegularFileForReading>,
            .streamSize = &own::streamSize,
            .readStream = &runtime::readStream,
            .writeStream = &runtime::writeStream,
            .closeStream = &runtime::closeStream,
        },
    .staging =
        {
            .targetKind = &own::targetKind,
            .finalPath = &own::finalPath,
            .create = &own::createStagingFile,
            .createElsewhere = &own::createStagingFileElsewhere,
            .replacingKeepsTarget = &own::replacingKeepsTarget,
            .commit = &own::commitStagingFile,
            .writeInPlace = &own::writeStagedInPlace,
            .remove = &own::removeStagingFile,
        },
    .directories =
        {
            .make = &own::makeDirectory,
            .remove = &own::removeDirectory,
            .search = &own::searchDirectory,
        },
    .dialogs = {.openFile = &own::openFileDialog},
    .shell = {.launch = &own::launchProgram},
    .memory =
        {
            .allocate = &runtime::allocate,
            .resize = &runtime::resize,
            .release = &runtime::release,
            .resizeBlock = &libraryResizeBlock,
        },
    .pages =
        {
            .allocateRun = &own::allocatePageRun,
            .releaseRun = &own::releasePageRun,
        },
    .messageBoxes = {.show = &own::showMessageBox},
    .process =
        {
            .usableProcessors = &own::usableProcessors,
            .setting = &own::setting,
        },
};

constinit System liveSystem = kPlatformSystem;

}  // namespace tollgram::platform
