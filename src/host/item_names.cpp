#include "host/item_names.h"

#include "host/records.h"

namespace tollgram::host {

namespace {
constexpr int32_t kShortestMatchingName = 4;
}

bool wordsMatch(std::string_view candidate, const char* words) {
    size_t at = 0;
    for (; *words != '\0';) {
        if (at == candidate.size()) {
            // The candidate ended first: only blanks may be left over.
            for (; *words != '\0'; ++words) {
                if (!isBlank(*words)) return false;
            }
            return true;
        }
        if (candidate[at] == *words) {
            ++at;
            ++words;
        } else if (isBlank(*words)) {
            ++words;
        } else if (isBlank(candidate[at])) {
            ++at;
        } else {
            return false;
        }
    }
    return true;
}

bool nameRecordMatches(const void* nameRecord, const char* words) {
    return nameRecord != nullptr && readI32(nameRecord, name_record::kLength) >= kShortestMatchingName &&
           wordsMatch(nameTextOf(nameRecord), words);
}

}  // namespace tollgram::host
