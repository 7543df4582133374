#pragma once
// The open-file dialog's filter list, made from a script's filter text such
// as "Models|*.obj|All|*.*": each '|' ends a text, and the list is closed by
// an empty text.
#include <cstddef>

namespace tollgram::files {

// The filter text may hold 255 characters; the work buffer keeps one byte
// more than that capacity for the list's closing empty text.
inline constexpr size_t kFilterTextCapacity = 256;
inline constexpr size_t kFilterListSize = kFilterTextCapacity + 1;

// Fills list from text, or with "*.*" and the closing empty text when text
// is null. False, and list empty, when text does not fit.
bool buildFilterList(const char* text, char (&list)[kFilterListSize]);

}  // namespace tollgram::files
