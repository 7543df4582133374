#pragma once
// Writing a file so that it is either whole or as it was, and stays what it
// is, in one routine for every file the library writes. The content is made
// by a callback that hands its bytes to the file, as they come. The bytes
// go to a staging file in the target's folder, which takes the
// target's place only when every byte is written and it is closed; after any
// failure it is removed and the target is left exactly as it was. A target
// that exists and is not a regular file (a device such as NUL or COM1, a
// directory) is not written at all.
// Replacing would change what some targets are, so these are written in
// place instead, from the staged content once it is whole: a symbolic link
// is followed first and the file it names is the target (the link stays);
// a file with other names (hard links), one that another program holds open
// (whatever it lets others do), on POSIX one whose owner, group or mode the
// writer's own file would not have, and one whose folder takes no staging
// file (staged in the system's temporary folder then) keep their identity,
// owner and every name. A symbolic link that names no file is refused.
// In place, room for the whole new size is made first (POSIX reserves it,
// holes included; Windows writes a sparse file's old bytes again and what
// goes beyond the old end first), so a disk without room fails the write
// before an old byte is overwritten. It can't promise whole-or-old if the
// process or machine stops during the write, nor on a file system that needs
// new room to overwrite a byte that has room already (copy-on-write,
// snapshots, compression, deduplication), and a program reading the file
// meanwhile may see old and new bytes mixed.
// Windows: CreateFileA without access rights and GetFileType (FILE_TYPE_DISK,
// not a directory) tell what the target is; GetFinalPathNameByHandleA
// follows links; GetTempFileNameA makes the staging file; ReplaceFileA puts
// it over an existing target, whose attributes and security stay,
// MoveFileExA over an empty file made first in the place of a missing one
// (CREATE_NEW: no name a link holds); DeleteFileA removes it. POSIX:
// lstat and realpath follow links, stat (S_ISREG); open with O_CREAT |
// O_EXCL of a hidden name, given the mode of the file it replaces; rename;
// posix_fallocate; unlink. Paths are as long as the system takes (PATH_MAX).
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "platform/system.h"

namespace tollgram::platform {

// How the bytes reach the staged file: the runtime's byte-mode stream
// (openStream "wb", writeStream, closeStream) or the system's own handle
// (openWhole, write, cutAndClose).
enum class WriteThrough : uint8_t { Stream, Handle };

enum class WholeFileWrite : uint8_t {
    Written,
    Refused,      // nothing made: no path, a target that exists and is no regular file, no staging file anywhere
    ShortWrite,   // the system took fewer bytes than given, or lost them at closing
    NotProduced,  // the callback could not make the content (a source that failed, no memory)
    NotPlaced,    // whole, but it could not take the target's place
};

class WholeFileSink;

// Makes the content of the file; false when it could not.
using ProduceContent = bool (*)(void* context, WholeFileSink& sink);

// Stages the file in the target's folder, has produce write the content
// into it and puts it in the target's place when it is whole. Anything but
// Written leaves the target as it was and no staging file behind, also when
// produce throws.
WholeFileWrite writeWholeFile(const char* target, WriteThrough through, ProduceContent produce, void* context);

// The staged file open for writing, as the callback sees it.
class WholeFileSink {
public:
    ~WholeFileSink() { (void)close(); }
    WholeFileSink(const WholeFileSink&) = delete;
    WholeFileSink& operator=(const WholeFileSink&) = delete;

    // Hands the next bytes to the file; false when the write fell short, and
    // for every write after that one.
    bool write(const void* bytes, size_t count);
    bool failed() const { return failed_; }

private:
    friend WholeFileWrite writeWholeFile(const char*, WriteThrough, ProduceContent, void*);
    explicit WholeFileSink(WriteThrough through) : through_(through) {}
    bool open(const char* path);
    // False when bytes were lost at closing.
    bool close();

    WriteThrough through_;
    std::FILE* stream_ = nullptr;
    FileHandle handle_ = 0;
    bool open_ = false;
    bool failed_ = false;
};

template <class Produce>
WholeFileWrite writeWholeFile(const char* target, WriteThrough through, Produce& produce) {
    return writeWholeFile(
        target, through, [](void* context, WholeFileSink& sink) { return (*static_cast<Produce*>(context))(sink); },
        &produce);
}

}  // namespace tollgram::platform
