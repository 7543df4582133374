#include "host_tool/input_files.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace tollgram::host_tool {

namespace fs = std::filesystem;

std::string whyUnreadable(const std::string& path) {
    std::error_code failure;
    const fs::file_status status = fs::status(path, failure);
    if (status.type() == fs::file_type::not_found || status.type() == fs::file_type::none) {
        if (fs::path(path).is_absolute()) return "there is no such file";
        const fs::path here = fs::current_path(failure);
        return "there is no such file (relative paths start in " + (failure ? std::string(".") : here.string()) + ")";
    }
    if (status.type() == fs::file_type::directory) return "it is a folder";
    return "it cannot be opened";
}

bool readWholeStream(std::FILE* stream, std::string& bytes) {
    bytes.clear();
    char chunk[64 * 1024];
    size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, stream)) > 0) bytes.append(chunk, count);
    return std::ferror(stream) == 0;
}

bool isFolder(const std::string& path) {
    std::error_code failure;
    return fs::is_directory(path, failure);
}

bool readInputFile(const std::string& path, std::string& bytes, std::string& why) {
    bytes.clear();
    if (isFolder(path)) {
        why = whyUnreadable(path);
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        why = whyUnreadable(path);
        return false;
    }
    const bool whole = readWholeStream(file, bytes);
    std::fclose(file);
    if (!whole) {
        bytes.clear();
        why = "it could not be read to its end";
    }
    return whole;
}

bool holdsBinaryData(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char bytes[4096];
    file.read(bytes, sizeof bytes);
    const std::streamsize count = file.gcount();
    for (std::streamsize i = 0; i < count; ++i)
        if (bytes[i] == '\0') return true;
    return false;
}

}  // namespace tollgram::host_tool
