#include "files/directory_listing.h"

#include <cstddef>
#include <cstring>

#include "files/file_list_buffer.h"
#include "files/files_state.h"
#include "frame/bounded_copy.h"
#include "platform/directories.h"
#include "platform/paths.h"

namespace tollgram::files {

namespace {
// MAX_PATH: the search pattern and the one name kept back.
constexpr size_t kPathCapacity = 260;
constexpr uint32_t kUnlisted = platform::kHiddenAttribute | platform::kSystemAttribute | platform::kDirectoryAttribute;

struct Listing {
    char* list;
    const char* directory;
    size_t position = 0;  // where the next text goes, or the directory's terminator
    int count = 0;
    char heldName[kPathCapacity] = {};  // the first name, until a second shows whether it stands alone
};

void putText(Listing& listing, const char* text, size_t length) {
    std::memcpy(listing.list + listing.position, text, length + 1);
    listing.position += length + 1;
}

bool visit(const platform::DirectoryEntry& entry, void* context) {
    Listing& listing = *static_cast<Listing*>(context);
    if ((entry.attributes & kUnlisted) != 0) return true;
    const size_t length = std::strlen(entry.name);
    if (listing.count == 0) {
        if (boundedCopy(listing.heldName, sizeof listing.heldName, entry.name) != kCopyOk) return true;
        boundedCopy(listing.list, kListSize, listing.directory);
        listing.position = std::strlen(listing.directory);
        listing.count = 1;
        return true;
    }
    if (listing.count == 1) {
        ++listing.position;
        putText(listing, listing.heldName, std::strlen(listing.heldName));
        listing.heldName[0] = '\0';
    }
    if (listing.position + length + 1 >= kListSize) return false;  // this and all later names stay out
    putText(listing, entry.name, length);
    ++listing.count;
    return true;
}
}  // namespace

int listDirectory(const char* directory, char* list) {
    clearList(list);
    char pattern[kPathCapacity] = {};
    if (boundedCopy(pattern, sizeof pattern, directory) != kCopyOk) return 0;
    const size_t length = std::strlen(pattern);
    if (length == 0) return 0;
    if (pattern[length - 1] != platform::kPathSeparator) {
        const char separator[2] = {platform::kPathSeparator, '\0'};
        if (boundedAppend(pattern, sizeof pattern, separator) != kCopyOk) return 0;
    }
    if (boundedAppend(pattern, sizeof pattern, "*") != kCopyOk) return 0;

    // The directory as the list gives it: the pattern without "*" and the
    // separator before it.
    char listedDirectory[kPathCapacity];
    std::memcpy(listedDirectory, pattern, sizeof pattern);
    listedDirectory[std::strlen(listedDirectory) - 2] = '\0';

    Listing listing{list, listedDirectory};
    if (!platform::systemCalls().directories.search(pattern, &visit, &listing)) {
        clearList(list);
        return 0;
    }
    if (listing.count == 1 && listing.heldName[0] != '\0') {
        list[listing.position++] = platform::kPathSeparator;
        putText(listing, listing.heldName, std::strlen(listing.heldName));
    }
    if (listing.position < kListSize) list[listing.position] = '\0';
    return listing.count;
}

}  // namespace tollgram::files
