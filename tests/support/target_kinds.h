#pragma once
// Targets that are more than a plain file, for the tests of writes: a
// symbolic link, a file another program holds open, the process's temporary
// folder moved for a scope, a folder this user can't write.
#include <cstdint>
#include <string>

namespace tollgram::test {

// Makes link a symbolic link to target (a full path); the reason it can't,
// or empty. Windows: CreateSymbolicLinkA, else, under Wine, which follows
// Unix links, the host's own ln.
std::string makeSymbolicLink(const std::string& target, const std::string& link);

// Whom a holder lets delete the file it holds (Windows; a POSIX file can
// always go).
enum class DeleteSharing { Refused, Allowed };

// Held open for reading and writing, shared with other readers and writers
// (and, if asked, with deleting), as an editor or image viewer holds it.
class HeldOpenFile {
public:
    explicit HeldOpenFile(const std::string& path, DeleteSharing deleting = DeleteSharing::Refused);
    ~HeldOpenFile();
    HeldOpenFile(const HeldOpenFile&) = delete;
    HeldOpenFile& operator=(const HeldOpenFile&) = delete;

    bool held() const;
    // The file's content from its start, read through the held handle.
    std::string content() const;

private:
    intptr_t handle_;
};

// Points the system's temporary folder (TMPDIR, TMP) to another folder
// while it lives.
class TemporaryFolderMoved {
public:
    explicit TemporaryFolderMoved(const std::string& folder);
    ~TemporaryFolderMoved();
    TemporaryFolderMoved(const TemporaryFolderMoved&) = delete;
    TemporaryFolderMoved& operator=(const TemporaryFolderMoved&) = delete;

private:
    std::string previous_;
    bool hadPrevious_ = false;
};

// Takes away this user's right to add files to the folder, and gives it
// back when it goes; writable() tells whether the user can add files all
// the same (root can).
class FolderClosedToWrites {
public:
    explicit FolderClosedToWrites(const std::string& folder);
    ~FolderClosedToWrites();
    FolderClosedToWrites(const FolderClosedToWrites&) = delete;
    FolderClosedToWrites& operator=(const FolderClosedToWrites&) = delete;

    bool writable() const { return writable_; }

private:
    std::string folder_;
    bool writable_ = true;
};

}  // namespace tollgram::test
