#include "files/app_link.h"

#include <cstring>

#include "files/files_state.h"
#include "frame/bounded_copy.h"
#include "platform/shell.h"

namespace tollgram::files {

namespace {
// Shorter texts (such as a bare drive, C:) name no program.
constexpr size_t kShortestLink = 3;
// ShellExecuteA's values up to 32 are error codes.
constexpr intptr_t kHighestLaunchError = 32;
}  // namespace

Outcome setAppLink(const char* program) {
    if (program == nullptr || program[0] == '\0') return failed();
    FilesState& state = filesState();
    return numbered(boundedCopy(state.appLinkPath, sizeof state.appLinkPath, program));
}

Outcome resetAppLink() {
    filesState().appLinkPath[0] = '\0';
    return succeeded();
}

Outcome openWithAppLink(const char* path) {
    if (path == nullptr) return failed();
    const char* link = filesState().appLinkPath;
    // The file path goes to the linked program as its command line,
    // unquoted: a script that wants one argument quotes the path itself.
    const intptr_t launched =
        std::strlen(link) < kShortestLink
            ? platform::systemCalls().shell.launch("open", path, "", "", platform::kShowNormal)
            : platform::systemCalls().shell.launch(nullptr, link, path, nullptr, platform::kShowNormal);
    return launched > kHighestLaunchError ? succeeded() : failed();
}

}  // namespace tollgram::files
