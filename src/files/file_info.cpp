#include "files/file_info.h"

#include <cstring>
#include <string_view>

#include "files/file_list_buffer.h"
#include "files/files_state.h"
#include "frame/bounded_copy.h"
#include "frame/export_keys.h"
#include "frame/keys.h"
#include "frame/numbers.h"
#include "platform/paths.h"

namespace tollgram::files {

namespace {
// The list's texts are terminated inside the list (checked by the finders),
// so a bounded copy never reads past it.
Outcome copiedLength(char* buffer, int32_t bufferSize, std::string_view text) {
    if (text.data() == nullptr) return failed();
    if (boundedCopy(buffer, capacityOf(bufferSize), text.data()) != kCopyOk) return failed();
    return counted(static_cast<uint32_t>(text.size()));
}

Outcome fullName(const char* list, int index, int fileCount, char* buffer, int32_t bufferSize) {
    const std::string_view first = firstListedText(list);
    if (first.data() == nullptr) return failed();
    const size_t capacity = capacityOf(bufferSize);
    if (boundedCopy(buffer, capacity, first.data()) != kCopyOk) return failed();
    if (index == 1 && fileCount == 1) return counted(static_cast<uint32_t>(first.size()));

    const char separator[2] = {platform::kPathSeparator, '\0'};
    if (boundedAppend(buffer, capacity, separator) != kCopyOk) return failed();
    const std::string_view name = listedTextAfterFirst(list, index);
    if (name.data() == nullptr || boundedAppend(buffer, capacity, name.data()) != kCopyOk) return failed();
    return counted(static_cast<uint32_t>(std::strlen(buffer)));
}

Outcome bareName(const char* list, int index, int fileCount, char* buffer, int32_t bufferSize) {
    if (index == 1 && fileCount == 1) {
        const std::string_view path = firstListedText(list);
        if (path.data() == nullptr) return failed();
        const size_t separator = path.rfind(platform::kPathSeparator);
        if (separator == std::string_view::npos) return failed();
        return copiedLength(buffer, bufferSize, path.substr(separator + 1));
    }
    return copiedLength(buffer, bufferSize, listedTextAfterFirst(list, index));
}
}  // namespace

Outcome listedFileInfo(const char* key, double value, char* buffer, int32_t bufferSize) {
    const char* list = filesState().fileListBuffer;
    const int fileCount = countListedFiles(list);
    if (key == nullptr || buffer == nullptr || fileCount <= 0) return failed();
    const int32_t index = truncToInt32(value);
    const bool known = keyIs(key, keys::kFullName) || keyIs(key, keys::kName);
    if (!known || index < 1 || index > fileCount) return failed();
    if (keyIs(key, keys::kFullName)) return fullName(list, index, fileCount, buffer, bufferSize);
    return bareName(list, index, fileCount, buffer, bufferSize);
}

}  // namespace tollgram::files
