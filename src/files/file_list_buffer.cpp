#include "files/file_list_buffer.h"

#include <cstring>

namespace tollgram::files {

int countListedFiles(const char* list) {
    int nuls = 0;
    for (size_t i = 0; i + 1 < kListSize; ++i) {
        if (list[i] != '\0') continue;
        ++nuls;
        if (list[i + 1] == '\0') return nuls == 1 ? 1 : nuls - 1;
    }
    return nuls;
}

namespace {
// The text starting at offset, when its terminator lies inside the list.
std::string_view textAt(const char* list, size_t offset) {
    if (offset >= kListSize) return {};
    const void* end = std::memchr(list + offset, '\0', kListSize - offset);
    if (end == nullptr) return {};
    return {list + offset, static_cast<size_t>(static_cast<const char*>(end) - (list + offset))};
}
}  // namespace

std::string_view firstListedText(const char* list) { return textAt(list, 0); }

std::string_view listedTextAfterFirst(const char* list, int index) {
    if (index < 1) return {};
    std::string_view text = textAt(list, 0);
    for (int i = 0; i < index && text.data(); ++i) {
        text = textAt(list, static_cast<size_t>(text.data() - list) + text.size() + 1);
    }
    return text;
}

void clearList(char* list) { std::memset(list, 0, kListSize); }

}  // namespace tollgram::files
