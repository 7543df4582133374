#pragma once
// Writing a file so that it is either whole or as it was. The bytes go to a
// staging file in the target's folder, which takes the target's place only
// when every byte is written and it is closed; after any failure it is
// removed and the target is left exactly as it was. A target that exists and
// is not a regular file (a device such as NUL or COM1, a directory) is not
// written at all.
// Windows: CreateFileA without access rights and GetFileType (FILE_TYPE_DISK,
// not a directory) tell what the target is; GetTempFileNameA makes the
// staging file; ReplaceFileA puts it over an existing target, whose
// attributes and security stay, MoveFileExA in the place of a missing one;
// DeleteFileA removes it. POSIX: stat (S_ISREG); open with O_CREAT | O_EXCL
// of a hidden name, given the mode of the file it replaces; rename; unlink.
#include <cstddef>

namespace tollgram::platform {

enum class TargetKind { Missing, RegularFile, Other };

// What the path names at present; Other also when that can't be told.
TargetKind targetKind(const char* path);

inline constexpr size_t kStagingPathCapacity = 1024;

// Creates an empty staging file in the target's folder and gives its path;
// false when the folder has none to give (missing, not writable, a path too
// long).
bool createStagingFile(const char* target, char (&staging)[kStagingPathCapacity]);

// Puts the closed staging file in the target's place. False when it can't;
// the staging file is then removed and the target is as it was.
bool commitStagingFile(const char* staging, const char* target);

void removeStagingFile(const char* staging);

// One staged write: begin, write to path() and close it there, then commit.
// A staged write that is not committed is removed when the object goes.
class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile() {
        if (staged_) removeStagingFile(staging_);
    }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // False, with nothing made, for an empty path, a target that exists and
    // is not a regular file, or a folder that takes no staging file. target must stay valid
    // until commit.
    bool begin(const char* target) {
        if (target == nullptr || target[0] == '\0' || targetKind(target) == TargetKind::Other) return false;
        target_ = target;
        staged_ = createStagingFile(target, staging_);
        return staged_;
    }

    const char* path() const { return staging_; }

    bool commit() {
        if (!staged_) return false;
        staged_ = false;
        return commitStagingFile(staging_, target_);
    }

private:
    const char* target_ = nullptr;
    char staging_[kStagingPathCapacity] = {};
    bool staged_ = false;
};

}  // namespace tollgram::platform
