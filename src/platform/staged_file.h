#pragma once
// Writing a file so that it is either whole or as it was, and stays what it
// is. The bytes go to a staging file in the target's folder, which takes the
// target's place only when every byte is written and it is closed; after any
// failure it is removed and the target is left exactly as it was. A target
// that exists and is not a regular file (a device such as NUL or COM1, a
// directory) is not written at all.
// Replacing would change what some targets are, so these are written in
// place instead, from the staged content once it is whole: a symbolic link
// is followed first and the file it names is the target (the link stays);
// a file with other names (hard links), one that another program holds open
// without letting it be deleted, and one whose folder takes no staging file
// (staged in the system's temporary folder then) keep their identity and
// every name. In place, what goes beyond the old end is written first, so
// a disk without room for the new size fails the write before an old byte is
// overwritten; it can't promise whole-or-old if the process or machine stops
// during the write, nor on a file system that needs new room to overwrite
// (copy-on-write, compressed, sparse), and a program reading the file
// meanwhile may see old and new bytes mixed.
// Windows: CreateFileA without access rights and GetFileType (FILE_TYPE_DISK,
// not a directory) tell what the target is; GetFinalPathNameByHandleA
// follows links; GetTempFileNameA makes the staging file; ReplaceFileA puts
// it over an existing target, whose attributes and security stay,
// MoveFileExA in the place of a missing one; DeleteFileA removes it. POSIX:
// lstat and realpath follow links, stat (S_ISREG); open with O_CREAT |
// O_EXCL of a hidden name, given the mode of the file it replaces; rename;
// unlink.
#include <cstring>

#include "platform/system.h"

namespace tollgram::platform {

// One staged write: begin, write to path() and close it there, then commit.
// A staged write that is not committed is removed when the object goes.
class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile() {
        if (staged_) systemCalls().staging.remove(staging_);
    }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // False, with nothing made, for an empty path, a target that exists and
    // is not a regular file, or one that takes no staging file anywhere.
    bool begin(const char* target) {
        if (target == nullptr || target[0] == '\0') return false;
        const StagingCalls& calls = systemCalls().staging;
        inPlace_ = !calls.finalPath(target, target_);
        if (inPlace_) {
            // Not known to be no link: only written through, never replaced.
            const size_t length = std::strlen(target);
            if (length >= sizeof target_) return false;
            std::memcpy(target_, target, length + 1);
        }
        const TargetKind kind = calls.targetKind(target_);
        if (kind == TargetKind::Other) return false;
        staged_ = calls.create(target_, staging_);
        if (!staged_ && kind == TargetKind::RegularFile) {
            // A file in a folder that can't be written may still be writable.
            staged_ = calls.createElsewhere(staging_);
            inPlace_ = true;
        }
        return staged_;
    }

    const char* path() const { return staging_; }

    bool commit() {
        if (!staged_) return false;
        staged_ = false;
        const StagingCalls& calls = systemCalls().staging;
        if (!inPlace_ && calls.replacingKeepsTarget(target_)) return calls.commit(staging_, target_);
        const bool written = calls.writeInPlace(staging_, target_);
        calls.remove(staging_);
        return written;
    }

private:
    StagingPath target_ = {};
    StagingPath staging_ = {};
    bool staged_ = false;
    bool inPlace_ = false;
};

}  // namespace tollgram::platform
