#pragma once
// The plain files of one directory in the file-list layouts: none leaves
// the list all zero, one gives directory, separator and name, several give
// the directory and then the bare names.
namespace tollgram::files {

// Lists directory into list (kListSize bytes), in the order the search
// delivers the entries; hidden, system and directory entries are left out,
// and the listing stops at the first name that does not fit. Returns the
// number listed; 0, with the list all zero, for a directory whose search
// pattern does not fit 260 bytes or that cannot be searched.
int listDirectory(const char* directory, char* list);

}  // namespace tollgram::files
