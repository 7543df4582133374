#pragma once
// The one seam between the library and the system: every call the library
// makes to the file system, the dialogs, the shell, the heap, the page
// allocator and the message box goes through this table, grouped by
// concern. Each platform's functions (posix/, win32/) fill the real table;
// in-process tests put a table of their own in its place for the length of a
// scope and call on to the real one where they only watch.
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
    // Writing a file in one go: open an existing file for reading and writing
    // or create it (false when neither works), write from its start (the
    // bytes written; fewer when the write fell short), cut it at the position
    // reached and close it.
    bool (*openWhole)(const char* path, FileHandle* file);
    size_t (*write)(FileHandle file, const void* bytes, size_t count);
    void (*cutAndClose)(FileHandle file);
    // The runtime's byte-mode streams; mode "rb" opens regular files only.
    std::FILE* (*openStream)(const char* path, const char* mode);
    StreamRead (*readStream)(void* buffer, size_t size, std::FILE* stream);
    size_t (*writeStream)(const void* buffer, size_t size, std::FILE* stream);
    int (*closeStream)(std::FILE* stream);
    // A new, empty file in the target's folder for its content, its path
    // put in staging (capacity bytes); false when the folder takes none.
    bool (*createStaging)(const char* target, char* staging, size_t capacity);
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
    // The runtime heap behind tracked allocation and per-call buffers
    // (malloc's contract).
    void* (*allocate)(size_t bytes);
    // Every block and index list of the model (realloc's contract: a null
    // block allocates, a failure leaves the block as it was; place only
    // matters for a new block). The real one is the library's block memory
    // (defined beside the block pool, obj/block_memory.cpp), which takes
    // the pool's slabs from the pages below and the rest from the heap.
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

struct System {
    FileCalls files;
    DirectoryCalls directories;
    DialogCalls dialogs;
    ShellCalls shell;
    MemoryCalls memory;
    PageCalls pages;
    MessageBoxCalls messageBoxes;
};

// The library's block memory, the real memory.resizeBlock.
void* libraryResizeBlock(void* block, size_t bytes, BlockPlace place);

// This platform's own table.
const System& platformSystem();

// The table the library calls through: the platform's own unless a test
// has changed calls of it.
const System& systemCalls();

// The same table, for tests to change between calls of the library; the
// scoped form in tests/support puts the whole table back.
System& changeableSystemCalls();

}  // namespace tollgram::platform
