#pragma once
// The one seam between the library and the system: every call the library
// makes to the file system (file streams, staged writes, the regular-file
// check, removal, directories), the dialogs, the shell, the heap, the page
// allocator, the message box and the process's processors and settings goes
// through this table, grouped by concern: the heap behind tracked
// allocation, per-call buffers and the model's blocks too (the standard
// containers take theirs from operator new). The platform's own table is
// written once, entry by entry (system_table.cpp), from the functions that
// own_calls.h declares and each platform defines in the file of its concern
// (posix/, win32/). In-process tests change calls of the live table for the
// length of a scope (tests/support/scoped_system.h) and call on to the
// platform's own where they only watch. A new call is a field here, its
// declaration and entry there, and its definition in each platform's file.
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace tollgram::platform {

// A file handle of either platform (a Windows HFILE, a POSIX descriptor).
using FileHandle = intptr_t;

struct StreamRead {
    size_t count;  // bytes placed in the buffer
    bool failed;   // the stream reported an error, not its end
};

struct DirectoryEntry;
struct OpenFileRequest;
// Called for every entry in the order the search delivers them; false ends
// the search.
using DirectoryVisitor = bool (*)(const DirectoryEntry& entry, void* context);

struct FileCalls {
    // 0 on success, -1 on failure.
    int (*remove)(const char* path);
    // True only when both files exist and are one.
    bool (*same)(const char* first, const char* second);
    // Writing a file in one go through the system's own handle: open an
    // existing file for reading and writing or create it (false when neither
    // works), write from its start (the bytes written; fewer when the write
    // fell short), cut it at the position reached and close it.
    bool (*openWhole)(const char* path, FileHandle* file);
    size_t (*write)(FileHandle file, const void* bytes, size_t count);
    void (*cutAndClose)(FileHandle file);
    // The runtime's byte-mode streams. Mode "rb" opens regular files only,
    // shared with other readers and writers: a device, a pipe or a directory
    // gives null without waiting.
    std::FILE* (*openStream)(const char* path, const char* mode);
    // The size of the file a stream reads, in 64 bits whatever the build (a
    // 32-bit process reads files past 4 GiB); 0 when it can't be told. The
    // stream's position does not move.
    uint64_t (*streamSize)(std::FILE* stream);
    StreamRead (*readStream)(void* buffer, size_t size, std::FILE* stream);
    size_t (*writeStream)(const void* buffer, size_t size, std::FILE* stream);
    int (*closeStream)(std::FILE* stream);
};

enum class TargetKind { Missing, RegularFile, Other };

// The longest path a POSIX system takes in one call (PATH_MAX); Windows'
// ANSI calls take less.
inline constexpr size_t kStagingPathCapacity = 4096;
using StagingPath = char[kStagingPathCapacity];

// The steps of a staged write (platform/whole_file.h tells how they meet).
struct StagingCalls {
    // What the path names at present; Other also when that can't be told,
    // and for a symbolic link that names nothing.
    TargetKind (*targetKind)(const char* path);
    // The path of the file that target names once every symbolic link is
    // followed; a missing target is its own. False when that can't be told
    // for an existing target (or is too long).
    bool (*finalPath)(const char* target, StagingPath& path);
    // A new, empty file in the target's folder for its content, its path put
    // in staging; false when the folder takes none (missing, not writable, a
    // path too long).
    bool (*create)(const char* target, StagingPath& staging);
    // The same in the system's temporary folder, for content that is to be
    // written in place.
    bool (*createElsewhere)(StagingPath& staging);
    // True when the staged file put in the target's place would keep what
    // the target is: no target, or a regular file with one name that no
    // other program holds open, and (POSIX) whose owner, group and mode the
    // staged file has.
    bool (*replacingKeepsTarget)(const char* target, const char* staging);
    // Puts the closed staging file in the target's place. False when it
    // can't; the staging file is then removed and the target is as it was.
    bool (*commit)(const char* staging, const char* target);
    // Writes the staged content over the existing target's bytes and cuts it
    // there; false, with the target as it was, when the target can't be
    // opened for writing or has no room for the content.
    bool (*writeInPlace)(const char* staging, const char* target);
    void (*remove)(const char* staging);
};

struct DirectoryCalls {
    // 0 on success, -1 on failure.
    int (*make)(const char* path);
    int (*remove)(const char* path);
    // False when the search cannot start; otherwise true after the last entry
    // or after the visitor ended it, the search closed in both cases.
    bool (*search)(const char* pattern, DirectoryVisitor visitor, void* context);
};

struct DialogCalls {
    // True when the user chose and the choice fit the request's buffer.
    bool (*openFile)(const OpenFileRequest& request);
};

struct ShellCalls {
    // ShellExecuteA's arguments and result (above 32: started); verb and
    // directory may be null.
    intptr_t (*launch)(const char* verb, const char* file, const char* parameters, const char* directory,
                       int show);
};

// Where a new block of the model may come from: the runtime heap only, or a
// slab of the library's block pool when its size suits one.
enum class BlockPlace { Heap, Slab };

struct MemoryCalls {
    // The runtime heap behind tracked allocation, per-call buffers and the
    // model's blocks, with malloc's, realloc's (a null block allocates, a
    // failure leaves the block as it was) and free's contracts.
    void* (*allocate)(size_t bytes);
    void* (*resize)(void* block, size_t bytes);
    void (*release)(void* block);
    // Every block and index list of the model (realloc's contract; place
    // only matters for a new block): the one call of the table that is the
    // library's own, its block memory (obj/model/block_memory.cpp), which
    // takes the pool's slabs from the pages below and the rest from the heap
    // above. Through the table so that a test can fail the model's blocks
    // alone.
    void* (*resizeBlock)(void* block, size_t bytes, BlockPlace place);
};

struct PageCalls {
    // A zero-filled run of whole pages, or null; given back exactly as it
    // came.
    void* (*allocateRun)(size_t bytes);
    void (*releaseRun)(void* run, size_t bytes);
};

struct MessageBoxCalls {
    int (*show)(const char* caption, const char* text, unsigned style);
};

struct ProcessCalls {
    // The processors this process may run on (its affinity), at least 1.
    unsigned (*usableProcessors)();
    // The value of an environment variable, or null.
    const char* (*setting)(const char* name);
};

// A whole table, part by part: the platform's own, the live one, or the
// live one as a test found it.
struct System {
    FileCalls files;
    StagingCalls staging;
    DirectoryCalls directories;
    DialogCalls dialogs;
    ShellCalls shell;
    MemoryCalls memory;
    PageCalls pages;
    MessageBoxCalls messageBoxes;
    ProcessCalls process;
};

// This platform's own table.
extern const System kPlatformSystem;

// The live table, which the library calls through: a copy of the
// platform's own, constant-initialised, so that it is whole before any
// static object of the library or of a test runs. Only tests change it, and
// only between calls, never while the parallel read's threads use it.
extern System liveSystem;

// The library's block memory, the real memory.resizeBlock.
void* libraryResizeBlock(void* block, size_t bytes, BlockPlace place);

inline const System& platformSystem() { return kPlatformSystem; }

// The table the library calls through: the platform's own unless a test
// has changed calls of it.
inline const System& systemCalls() { return liveSystem; }

}  // namespace tollgram::platform
