// One entry of the file list, as a full path or as a bare name.
#include <cstring>
#include <string_view>

#include "files/file_list_buffer.h"
#include "files/files_state.h"
#include "frame/bounded_copy.h"
#include "frame/call_frame.h"
#include "frame/keys.h"
#include "frame/numbers.h"
#include "frame/results.h"
#include "platform/paths.h"

namespace tollgram::work {

namespace {
// The list's texts are terminated inside the list (checked by the finders),
// so a bounded copy never reads past it.
float copiedLength(char* buffer, int32_t bufferSize, std::string_view text) {
    if (text.data() == nullptr) return 0.0f;
    if (boundedCopy(buffer, capacityOf(bufferSize), text.data()) != kCopyOk) return 0.0f;
    return unsignedResult(static_cast<uint32_t>(text.size()));
}

float fullName(const char* list, int index, int fileCount, char* buffer, int32_t bufferSize) {
    const std::string_view first = files::firstListedText(list);
    if (first.data() == nullptr) return 0.0f;
    const size_t capacity = capacityOf(bufferSize);
    if (boundedCopy(buffer, capacity, first.data()) != kCopyOk) return 0.0f;
    if (index == 1 && fileCount == 1) return unsignedResult(static_cast<uint32_t>(first.size()));

    const char separator[2] = {platform::kPathSeparator, '\0'};
    if (boundedAppend(buffer, capacity, separator) != kCopyOk) return 0.0f;
    const std::string_view name = files::listedTextAfterFirst(list, index);
    if (name.data() == nullptr || boundedAppend(buffer, capacity, name.data()) != kCopyOk) return 0.0f;
    return unsignedResult(static_cast<uint32_t>(std::strlen(buffer)));
}

float bareName(const char* list, int index, int fileCount, char* buffer, int32_t bufferSize) {
    if (index == 1 && fileCount == 1) {
        const std::string_view path = files::firstListedText(list);
        if (path.data() == nullptr) return 0.0f;
        const size_t separator = path.rfind(platform::kPathSeparator);
        if (separator == std::string_view::npos) return 0.0f;
        return copiedLength(buffer, bufferSize, path.substr(separator + 1));
    }
    return copiedLength(buffer, bufferSize, files::listedTextAfterFirst(list, index));
}
}  // namespace

float GetFileInfo(const CallFrame& frame) {
    const char* list = files::filesState().fileListBuffer;
    const int fileCount = files::countListedFiles(list);
    if (frame.text == nullptr || frame.buffer == nullptr || fileCount <= 0) return 0.0f;
    const int32_t index = truncToInt32(frame.value);
    const bool known = keyIs(frame.text, "fullname") || keyIs(frame.text, "name");
    if (!known || index < 1 || index > fileCount) return 0.0f;
    if (keyIs(frame.text, "fullname")) return fullName(list, index, fileCount, frame.buffer, frame.bufferSize);
    return bareName(list, index, fileCount, frame.buffer, frame.bufferSize);
}

}  // namespace tollgram::work
