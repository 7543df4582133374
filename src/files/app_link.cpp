// Opening a file with the program the system associates with it, or with
// the program a script linked beforehand.
#include <cstring>

#include "files/files_state.h"
#include "frame/bounded_copy.h"
#include "frame/call_frame.h"
#include "frame/results.h"
#include "platform/shell.h"

namespace tollgram::work {

namespace {
// Shorter texts (such as a bare drive, C:) name no program.
constexpr size_t kShortestLink = 3;
// ShellExecuteA's values up to 32 are error codes.
constexpr intptr_t kHighestLaunchError = 32;
}  // namespace

float SetAppLinkPath(const CallFrame& frame) {
    if (frame.text == nullptr || frame.text[0] == '\0') return kFailure;
    files::FilesState& state = files::filesState();
    return intResult(boundedCopy(state.appLinkPath, sizeof state.appLinkPath, frame.text));
}

float ResetAppLinkPath(const CallFrame&) {
    files::filesState().appLinkPath[0] = '\0';
    return kSuccess;
}

float AppLinkOpenFile(const CallFrame& frame) {
    if (frame.text == nullptr) return kFailure;
    const char* link = files::filesState().appLinkPath;
    // The file path goes to the linked program as its command line,
    // unquoted: a script that wants one argument quotes the path itself.
    const intptr_t launched =
        std::strlen(link) < kShortestLink
            ? platform::systemCalls().shell.launch("open", frame.text, "", "", platform::kShowNormal)
            : platform::systemCalls().shell.launch(nullptr, link, frame.text, nullptr, platform::kShowNormal);
    return launched > kHighestLaunchError ? kSuccess : kFailure;
}

}  // namespace tollgram::work
