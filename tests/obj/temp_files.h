#pragma once
// A private directory for the files a test writes, removed with everything in
// it when the object goes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "obj/obj_model.h"

namespace tollgram::obj::test {

class TempDir {
public:
    TempDir() {
        static std::atomic<unsigned> serial{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("tollgram-obj-" + std::to_string(stamp) + "-" + std::to_string(serial++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Writes the bytes as they are (no line-end translation); returns the
    // file's path with "/" separators.
    std::string write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path file = path_ / name;
        std::ofstream out(file, std::ios::binary);
        out << bytes;
        return file.generic_string();
    }
    std::string pathOf(const std::string& name) const { return (path_ / name).generic_string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct ReadOutcome {
    bool ok;
    std::unique_ptr<OBJModel> model;
    std::string path;
};

// Reads the text as an OBJ file named model.obj in dir.
inline ReadOutcome readText(const TempDir& dir, const std::string& text) {
    ReadOutcome outcome{false, std::make_unique<OBJModel>(), dir.write("model.obj", text)};
    outcome.ok = outcome.model->readOBJ(outcome.path);
    return outcome;
}

inline std::vector<int32_t> listOf(const FaceIndexList& list) { return {list.begin(), list.end()}; }

}  // namespace tollgram::obj::test
