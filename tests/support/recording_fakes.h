#pragma once
// The fakes that stand in for the open-file dialog and the shell launch,
// recording what they were asked and giving the answer a test chose. One
// recorder each, shared by the in-process tests (which answer the system
// table's calls with it) and the tests of the real DLL (which patch
// GetOpenFileNameA and ShellExecuteA in its imports).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace tollgram::test {

// What the dialog answers: whether the user chose, and the bytes it writes
// to the file buffer (only when they fit).
struct DialogAnswer {
    bool chosen = false;
    std::string layout;
};

struct SeenDialog {
    int calls = 0;
    std::string filterList;  // up to and with the closing empty text; "<null>" for none
    bool multipleSelection = false;
    std::string initialDirectory;  // "<null>" for none
    std::string title;             // "<null>" for none
    char* fileBuffer = nullptr;
    size_t fileBufferSize = 0;
    bool bufferZeroOnEntry = false;
};

struct RecordingDialog {
    static inline SeenDialog seen;
    static inline DialogAnswer answer;

    static bool ask(const char* filterList, bool multipleSelection, const char* initialDirectory, const char* title,
                    char* fileBuffer, size_t fileBufferSize) {
        ++seen.calls;
        seen.filterList = filterList ? textsUpToEmpty(filterList) : "<null>";
        seen.multipleSelection = multipleSelection;
        seen.initialDirectory = initialDirectory ? initialDirectory : "<null>";
        seen.title = title ? title : "<null>";
        seen.fileBuffer = fileBuffer;
        seen.fileBufferSize = fileBufferSize;
        seen.bufferZeroOnEntry = fileBuffer != nullptr;
        for (size_t i = 0; fileBuffer && i < fileBufferSize; ++i) seen.bufferZeroOnEntry &= fileBuffer[i] == 0;
        if (fileBuffer && answer.layout.size() <= fileBufferSize) {
            std::memcpy(fileBuffer, answer.layout.data(), answer.layout.size());
        }
        return answer.chosen;
    }

    // The texts of a filter list up to the empty text that ends it.
    static std::string textsUpToEmpty(const char* list) {
        std::string bytes;
        for (size_t i = 0;; ++i) {
            bytes.push_back(list[i]);
            if (list[i] == '\0' && i > 0 && list[i - 1] == '\0') return bytes;
            if (i > 1024) return bytes + "<unended>";
        }
    }
};

struct SeenLaunch {
    int calls = 0;
    const void* owner = reinterpret_cast<const void*>(1);  // the window the DLL passed; the in-process call has none
    bool hasVerb = false, hasDirectory = false;
    std::string verb, file, parameters, directory;
    int show = -1;
};

struct RecordingLaunch {
    static inline SeenLaunch seen;
    static inline intptr_t answer = 42;

    static intptr_t launch(const char* verb, const char* file, const char* parameters, const char* directory,
                           int show) {
        ++seen.calls;
        seen.hasVerb = verb != nullptr;
        seen.verb = verb ? verb : "";
        seen.file = file ? file : "<null>";
        seen.parameters = parameters ? parameters : "<null>";
        seen.hasDirectory = directory != nullptr;
        seen.directory = directory ? directory : "";
        seen.show = show;
        return answer;
    }
};

}  // namespace tollgram::test
