#pragma once
// The platform's own calls behind the system table (system.h), part by
// part: each platform defines every one of them in the file of its concern
// (posix/, win32/), and system_table.cpp puts them in the table. Nothing
// else calls them: the library goes through the table.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "platform/system.h"

namespace tollgram::platform::own {

// files (files.cpp)
int removeFile(const char* path);
bool sameFile(const char* first, const char* second);
bool openWholeFile(const char* path, FileHandle* file);
size_t writeFile(FileHandle file, const void* bytes, size_t count);
void cutAndClose(FileHandle file);
// The runtime's streams open every other mode (runtime_calls.h).
std::FILE* openRegularFileForReading(const char* path);
uint64_t streamSize(std::FILE* stream);

// staging (files.cpp)
TargetKind targetKind(const char* path);
bool finalPath(const char* target, StagingPath& path);
bool createStagingFile(const char* target, StagingPath& staging);
bool createStagingFileElsewhere(StagingPath& staging);
bool replacingKeepsTarget(const char* target, const char* staging);
bool commitStagingFile(const char* staging, const char* target);
bool writeStagedInPlace(const char* staging, const char* target);
void removeStagingFile(const char* staging);

// directories (directories.cpp)
int makeDirectory(const char* path);
int removeDirectory(const char* path);
bool searchDirectory(const char* pattern, DirectoryVisitor visitor, void* context);

// dialogs (dialogs.cpp)
bool openFileDialog(const OpenFileRequest& request);

// shell (shell.cpp)
intptr_t launchProgram(const char* verb, const char* file, const char* parameters, const char* directory, int show);

// pages (memory.cpp)
void* allocatePageRun(size_t bytes);
void releasePageRun(void* run, size_t bytes);

// message boxes (message_box.cpp)
int showMessageBox(const char* caption, const char* text, unsigned style);

// process (process.cpp)
unsigned usableProcessors();
const char* setting(const char* name);

}  // namespace tollgram::platform::own
