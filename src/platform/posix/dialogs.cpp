// The open-file dialog.
#include "platform/dialogs.h"
#include "platform/own_calls.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/child_process.h"
#include "platform/paths.h"
#include "platform/zenity_dialog.h"

namespace tollgram::platform {

namespace {
// More than any answer that could fit a file buffer; an answer beyond it is
// read to its end and then refused.
constexpr size_t kAnswerLimit = 1 << 20;
}  // namespace

bool own::openFileDialog(const OpenFileRequest& request) {
    const std::string zenity = findProgram("zenity");
    if (zenity.empty()) return false;  // no dialog to show: as if cancelled
    std::string answer;
    int status = 1;
    if (!runForOutput(zenity, zenityArguments(request), kAnswerLimit, answer, status)) return false;
    if (status != 0) return false;  // 1 is cancel; anything else a failed dialog
    return layoutSelection(answer, request.fileBuffer, request.fileBufferSize);
}

namespace {
// Windows separates patterns with ';', zenity with blanks.
std::string zenityPatterns(std::string_view patterns) {
    std::string result(patterns);
    for (char& c : result) {
        if (c == ';') c = ' ';
    }
    return result;
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> result;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (!line.empty()) result.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return result;
}

// The directory part of a path, without the trailing slash except for the
// root itself (the Windows dialog likewise gives C:\ for a drive's root).
std::string_view folderOf(std::string_view path) {
    const std::string_view directory = directoryOf(path, "/");
    return directory.size() > 1 ? directory.substr(0, directory.size() - 1) : directory;
}
}  // namespace

std::vector<std::string> zenityArguments(const OpenFileRequest& request) {
    std::vector<std::string> arguments{"--file-selection", "--separator=\n"};
    if (request.title) arguments.push_back(std::string("--title=") + request.title);
    if (request.multipleSelection) arguments.emplace_back("--multiple");
    if (request.initialDirectory && request.initialDirectory[0] != '\0') {
        std::string directory = request.initialDirectory;
        if (directory.back() != '/') directory += '/';  // a trailing slash opens the directory itself
        arguments.push_back("--filename=" + directory);
    }
    for (const char* entry = request.filterList; entry && entry[0] != '\0';) {
        const char* patterns = entry + std::strlen(entry) + 1;
        if (patterns[0] == '\0') break;  // a description without patterns filters nothing
        arguments.push_back("--file-filter=" + std::string(entry) + " | " + zenityPatterns(patterns));
        entry = patterns + std::strlen(patterns) + 1;
    }
    return arguments;
}

bool layoutSelection(std::string_view answer, char* buffer, size_t capacity) {
    const std::vector<std::string_view> paths = lines(answer);
    if (paths.empty()) return false;

    std::string layout;
    if (paths.size() == 1) {
        layout.append(paths[0]).push_back('\0');
    } else {
        const std::string_view directory = folderOf(paths[0]);
        if (directory.empty()) return false;
        layout.append(directory).push_back('\0');
        for (std::string_view path : paths) {
            const std::string_view name = path.substr(path.rfind('/') + 1);
            if (folderOf(path) != directory || name.empty()) return false;
            layout.append(name).push_back('\0');
        }
    }
    layout.push_back('\0');
    if (layout.size() > capacity) return false;
    std::copy(layout.begin(), layout.end(), buffer);  // NULs inside, by design
    return true;
}

}  // namespace tollgram::platform
