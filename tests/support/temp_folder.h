#pragma once
// A fresh folder under the system's temporary directory, uniquely named for
// each use (the Wine prefix, and with it its temporary folder, is shared by
// every test run on the machine), with helpers to make and read files in it;
// removed with everything in it when it goes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tollgram::test {

// How the folder spells the paths it hands out: with the platform's
// separator, or with "/" everywhere (the OBJ tests, whose messages quote
// the paths as given).
enum class PathForm { Native, Generic };

// The bytes of a file, or "(missing)" when it can't be read, so that a file
// that went is told from one left empty.
inline std::string contentOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "(missing)";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TempFolder {
public:
    explicit TempFolder(PathForm form = PathForm::Native) : form_(form) {
        static std::atomic<unsigned> serial{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("tollgram-test-" + std::to_string(stamp) + "-" + std::to_string(serial++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // A path inside the folder, as the library's exports take it.
    std::string at(const std::string& name) const { return spelled(path_ / name); }
    std::string pathOf(const std::string& name) const { return at(name); }
    std::string text() const { return spelled(path_); }

    // Writes the bytes as they are (no line-end translation); returns the
    // file's path.
    std::string write(const std::string& name, const std::string& content) const {
        const std::string file = at(name);
        std::ofstream(path_ / name, std::ios::binary) << content;
        return file;
    }
    std::string read(const std::string& name) const { return contentOf(at(name)); }

private:
    std::string spelled(const std::filesystem::path& path) const {
        return form_ == PathForm::Generic ? path.generic_string() : path.string();
    }

    PathForm form_;
    std::filesystem::path path_;
};

}  // namespace tollgram::test
