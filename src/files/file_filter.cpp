#include "files/file_filter.h"

#include <cstring>

#include "frame/bounded_copy.h"

namespace tollgram::files {

bool buildFilterList(const char* text, char (&list)[kFilterListSize]) {
    std::memset(list, 0, sizeof list);
    if (text == nullptr) {
        std::memcpy(list, "*.*\0", 5);
        return true;
    }
    if (boundedCopy(list, kFilterTextCapacity, text) != kCopyOk) return false;
    const size_t length = std::strlen(list);
    list[length + 1] = '\0';  // at most index 256: the byte kept for it
    for (size_t i = 0; i < length; ++i) {
        if (list[i] == '|') list[i] = '\0';
    }
    return true;
}

}  // namespace tollgram::files
