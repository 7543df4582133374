#pragma once
// Files past 2 GiB and 4 GiB made in an instant: the file is given its size
// first, a hole that the file system keeps no blocks for, and then only a
// few bytes are written at their offsets. The standard library seeks in 64
// bits in every build, 32-bit Windows included.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace tollgram::test {

inline constexpr uint64_t kGiB = uint64_t{1} << 30;

// A file of size bytes, all of them zero; false when it can't be made.
inline bool makeSparseFile(const std::filesystem::path& path, uint64_t size) {
    { std::ofstream(path, std::ios::binary | std::ios::trunc); }
    std::error_code error;
    std::filesystem::resize_file(path, size, error);
    return !error && std::filesystem::file_size(path, error) == size && !error;
}

// Writes bytes over the file's own from offset on (the file grows when they
// go past its end); false when any of them could not be written.
class PlacedBytes {
public:
    explicit PlacedBytes(const std::filesystem::path& path)
        : file_(path, std::ios::binary | std::ios::in | std::ios::out) {}

    bool place(uint64_t offset, const std::string& bytes) {
        file_.seekp(static_cast<std::streamoff>(offset));
        file_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(file_);
    }
    bool close() {
        file_.close();
        return !file_.fail();
    }

private:
    std::fstream file_;
};

// The bytes of the file from offset on, at most count of them.
inline std::string bytesAt(const std::filesystem::path& path, uint64_t offset, size_t count) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

}  // namespace tollgram::test
