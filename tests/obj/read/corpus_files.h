#pragma once
// The corpus's OBJ files, in a fixed order.
#include <algorithm>
#include <filesystem>
#include <vector>

namespace tollgram::obj::test {

inline std::vector<std::filesystem::path> corpusObjFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TOLLGRAM_CORPUS_DIR)) {
        if (entry.is_regular_file() && entry.path().extension() == ".obj") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace tollgram::obj::test
