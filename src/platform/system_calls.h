#pragma once
// The functions each platform (posix/, win32/) defines for the system table;
// only the table (system.cpp) names them.
#include "platform/dialogs.h"
#include "platform/directories.h"
#include "platform/system.h"

namespace tollgram::platform {

int systemRemoveFile(const char* path);
bool systemSameFile(const char* first, const char* second);
bool systemOpenWholeFile(const char* path, FileHandle* file);
size_t systemWriteFile(FileHandle file, const void* bytes, size_t count);
// Drops whatever follows the current position, then closes.
void systemCutAndClose(FileHandle file);
bool systemCreateStagingFile(const char* target, char* staging, size_t capacity);

int systemMakeDirectory(const char* path);
int systemRemoveDirectory(const char* path);
bool systemDirectorySearch(const char* pattern, DirectoryVisitor visitor, void* context);

bool systemOpenFileDialog(const OpenFileRequest& request);

intptr_t systemShellLaunch(const char* verb, const char* file, const char* parameters, const char* directory,
                           int show);

void* systemAllocatePageRun(size_t bytes);
void systemReleasePageRun(void* run, size_t bytes);

int systemMessageBox(const char* caption, const char* text, unsigned style);

}  // namespace tollgram::platform
