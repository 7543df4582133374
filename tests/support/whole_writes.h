#pragma once
// Whole writes: on a full disk, over existing files and to targets that are
// no files, through any way of calling the exports by name (in process, or
// through the real DLL). The disk is a small file system that
// tools/full-disk.sh mounts for the test run (a tmpfs: root only) and whose
// folder the environment variable TOLLGRAM_FULL_DISK names; a test skips
// when there is none. Every writer is tried on a target that exists and on
// one that does not, with the disk filled to the last byte: each must fail
// and leave the folder exactly as it was. With room again each must write
// the very bytes it writes on any other disk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "support/time_limit.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

namespace tollgram::test {

class FullDisk {
public:
    FullDisk() {
        const char* folder = std::getenv("TOLLGRAM_FULL_DISK");
        if (folder == nullptr || *folder == '\0') {
            reason_ = "TOLLGRAM_FULL_DISK names no folder (the tests' full-disk fixture did not run)";
            return;
        }
        std::string path = folder;
#if defined(_WIN32)
        // A Unix path of the Wine host, seen through its Z: drive.
        if (!path.empty() && path[0] == '/') path = "Z:" + path;
        for (char& c : path) c = c == '/' ? '\\' : c;
#endif
        path_ = path;
        std::error_code error;
        // With a trailing separator: without one the Windows runtime may
        // answer for the folder's parent.
        const std::filesystem::space_info space = std::filesystem::space(path_ / "", error);
        if (error || space.capacity == 0 || space.capacity > kLargest) {
            reason_ = "no small file system is mounted at " + path +
                      " (tools/full-disk.sh mounts a tmpfs there, which needs root)";
        }
    }

    // Why the disk can't be had; empty when it can.
    const std::string& unavailable() const { return reason_; }

    std::string at(const std::string& name) const { return (path_ / name).string(); }

    // Everything on the disk, name and bytes.
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            found[entry.path().filename().string()] = contentOf(entry.path().string());
        }
        return found;
    }

    void clear() const {
        for (const auto& entry : std::filesystem::directory_iterator(path_)) std::filesystem::remove_all(entry.path());
    }

    // Takes every byte that is left.
    void fill() const {
        std::ofstream filler(at("filler.bin"), std::ios::binary);
        const std::string chunk(4096, 'f');
        while (filler.write(chunk.data(), static_cast<std::streamsize>(chunk.size()))) {
        }
    }

    // Takes every byte but the given number of pages.
    void leaveFree(uintmax_t pages) const {
        fill();
        const std::filesystem::path filler = path_ / "filler.bin";
        const uintmax_t size = std::filesystem::file_size(filler);
        const uintmax_t freed = pages * kPage;
        std::filesystem::resize_file(filler, size > freed ? size - freed : 0);
    }

    static constexpr uintmax_t kPage = 4096;

private:
    static constexpr uintmax_t kLargest = uintmax_t{16} << 20;
    std::filesystem::path path_;
    std::string reason_;
};

// An export called by name with a text, a value and the host's records.
using CallByName = float (*)(const char* name, const char* text, double value, void* context);

struct Writer {
    const char* name;
    const char* exportName;
    double value;
};

// What each writer is called with; the caller has loaded a model with a
// group and smoothing group 1, named a copy source and set a thumbnail size.
inline const std::vector<Writer>& writers() {
    static const std::vector<Writer> all = {
        {"whole-model export", "ExportOBJGroup", 0.0},
        {"group export", "ExportOBJGroup", 1.0},
        {"smoothing-group export", "ExportOBJSmoothGroup", 1.0},
        {"file copy", "FileCopyTo", 0.0},
        {"thumbnail", "SaveTextureThumbnail", 0.0},
    };
    return all;
}

inline void expectWritesOnAFullDiskChangeNothing(const FullDisk& disk, CallByName call, void* context) {
    const TempFolder elsewhere;
    const std::string old(110592, 'o');
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        const std::string reference = elsewhere.at(std::string(writer.name) + ".out");
        ASSERT_EQ(call(writer.exportName, reference.c_str(), writer.value, context), 0.0f);
        const std::string bytes = contentOf(reference);

        disk.clear();
        const std::string target = disk.at("target.out");
        std::ofstream(target, std::ios::binary) << old;
        disk.fill();
        const std::map<std::string, std::string> full = disk.files();
        EXPECT_EQ(call(writer.exportName, target.c_str(), writer.value, context), -1.0f) << "over an existing file";
        EXPECT_EQ(call(writer.exportName, disk.at("new.out").c_str(), writer.value, context), -1.0f) << "a new file";
        EXPECT_TRUE(disk.files() == full) << "the disk holds other files or bytes than before";
        EXPECT_EQ(contentOf(target).size(), old.size());

        disk.clear();
        std::ofstream(target, std::ios::binary) << old;
        EXPECT_EQ(call(writer.exportName, target.c_str(), writer.value, context), 0.0f) << "with room again";
        EXPECT_TRUE(contentOf(target) == bytes) << "other bytes than on another disk";
        EXPECT_EQ(disk.files().size(), 1u) << "a staging file stayed";
    }
    disk.clear();
}

// Each writer replaces an existing file whole, named by a path relative to
// the current folder as well as by a full one, and leaves nothing beside it.
inline void expectWritesReplaceExistingFiles(CallByName call, void* context) {
    const TempFolder elsewhere;
    const TempFolder folder;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        const std::string reference = elsewhere.at("reference.out");
        ASSERT_EQ(call(writer.exportName, reference.c_str(), writer.value, context), 0.0f);
        for (const std::string& target : {std::string("relative.out"), folder.at("full.out")}) {
            folder.write(std::filesystem::path(target).filename().string(), std::string(200000, 'o'));
            EXPECT_EQ(call(writer.exportName, target.c_str(), writer.value, context), 0.0f) << target;
            EXPECT_TRUE(contentOf(target) == contentOf(reference)) << target;
        }
        size_t entries = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            (void)entry;
            ++entries;
        }
        EXPECT_EQ(entries, 2u) << "a staging file stayed";
    }
    std::filesystem::current_path(previous);
}

// Targets that exist and are no regular file: devices, a directory and, on
// POSIX, a FIFO. A writer that went wrong would remove or overwrite them, so
// on POSIX they are made in the test's own folder, never the system's.
inline std::vector<std::string> targetsThatAreNoFiles(const TempFolder& folder) {
    std::filesystem::create_directory(folder.path() / "folder.out");
#if defined(_WIN32)
    return {"NUL", "COM1", folder.at("aux.out"), folder.at("folder.out")};
#else
    std::vector<std::string> targets = {folder.at("folder.out"), folder.at("pipe.out")};
    EXPECT_EQ(mkfifo(targets.back().c_str(), 0600), 0);
    // A null device of the folder's own, where nodes can be made (root).
    if (mknod(folder.at("null.out").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) targets.push_back(folder.at("null.out"));
    return targets;
#endif
}

inline void expectWritesToNoFileAreRefused(CallByName call, void* context) {
    const TempFolder folder;
    const std::vector<std::string> targets = targetsThatAreNoFiles(folder);
    for (const std::string& target : targets) {
        for (const Writer& writer : writers()) {
            float result = 0.0f;
            // A writer that opened a FIFO or a serial port would wait for ever.
            withinTimeLimit((std::string(writer.name) + " to " + target).c_str(),
                            [&] { result = call(writer.exportName, target.c_str(), writer.value, context); });
            EXPECT_EQ(result, -1.0f) << writer.name << " to " << target;
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.path() / "folder.out"));
    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        (void)entry;
        ++entries;
    }
#if defined(_WIN32)
    EXPECT_EQ(entries, 1u) << "only the folder";
#else
    EXPECT_EQ(entries, targets.size()) << "only the targets";
    for (const std::string& target : targets) EXPECT_FALSE(std::filesystem::is_regular_file(target)) << target;
#endif
}

}  // namespace tollgram::test
