// Writes on POSIX to targets that replacing would change or could not
// reach: another user's file written by a member of its group, in a plain
// and in a sticky folder, and targets thousands of characters long.
#if !defined(_WIN32)
#include <gtest/gtest.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/call_in_process.h"
#include "support/kept_targets.h"
#include "support/temp_folder.h"
#include "support/whole_writes.h"
#include "support/writer_scene.h"

namespace tollgram {
namespace {

using test::callInProcess;

uid_t unusedUser(uid_t from) {
    while (getpwuid(from) != nullptr) ++from;
    return from;
}
gid_t unusedGroup(gid_t from) {
    while (getgrgid(from) != nullptr) ++from;
    return from;
}

// Who writes: a user of its own group, also a member of the shared group.
struct Member {
    uid_t user;
    gid_t own;
    gid_t shared;
};

// The writer's result, called in a child process that has given up root to
// become the member; -99 when it could not.
float callAs(const Member& member, const test::Writer& writer, const std::string& target, void* context) {
    const pid_t child = fork();
    if (child == 0) {
        int status = 3;
        if (setgroups(1, &member.shared) == 0 && setresgid(member.own, member.own, member.own) == 0 &&
            setresuid(member.user, member.user, member.user) == 0) {
            const float result = callInProcess(writer.exportName, target.c_str(), writer.value, context);
            status = result == 0.0f ? 0 : result == -1.0f ? 1 : 2;
        }
        _exit(status);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -99.0f;
    const int code = WEXITSTATUS(status);
    return code == 0 ? 0.0f : code == 1 ? -1.0f : code == 2 ? -98.0f : -99.0f;
}

TEST(OtherUsersFiles, AGroupMemberWritesTheFileAndItKeepsItsOwnerGroupAndMode) {
    if (geteuid() != 0) GTEST_SKIP() << "only root makes another user's file and gives up its rights to write it";
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    const uid_t owner = unusedUser(61000);
    const gid_t shared = unusedGroup(61000);
    const Member member{unusedUser(owner + 1), unusedGroup(shared + 1), shared};
    for (const mode_t folderMode : {mode_t{0777}, mode_t{01777}}) {
        const test::TempFolder folder;
        ASSERT_EQ(chmod(folder.text().c_str(), folderMode), 0);
        const std::string target = folder.write("shared.out", "old");
        ASSERT_EQ(chown(target.c_str(), owner, shared), 0);
        ASSERT_EQ(chmod(target.c_str(), 0660), 0);
        for (const test::Writer& writer : test::writers()) {
            SCOPED_TRACE(std::string(writer.name) + (folderMode & S_ISVTX ? " in a sticky folder" : " in a plain folder"));
            const std::string bytes = test::writtenBy(writer, &callInProcess, scene.context());
            EXPECT_EQ(callAs(member, writer, target, scene.context()), 0.0f);
            EXPECT_TRUE(test::contentOf(target) == bytes) << "other bytes than written";
            struct stat after {};
            ASSERT_EQ(stat(target.c_str(), &after), 0);
            EXPECT_EQ(after.st_uid, owner) << "the file changed hands";
            EXPECT_EQ(after.st_gid, shared);
            EXPECT_EQ(after.st_mode & 07777, 0660u);
            EXPECT_EQ(test::entriesIn(folder.path()), 1u) << "a staging file stayed";
        }
    }
}

// A file of exactly length characters in folder, through folders of 200
// characters each.
std::string pathOfLength(const test::TempFolder& folder, size_t length) {
    std::string path = folder.text();
    while (length - path.size() > 250) path += "/" + std::string(200, 'd');
    std::filesystem::create_directories(path);
    return path + "/" + std::string(length - path.size() - 5, 'n') + ".out";
}

TEST(LongTargets, TargetsOfThousandsOfCharactersAreWrittenNewAndOver) {
    test::WriterScene scene(&callInProcess);
    ASSERT_TRUE(scene.ready());
    for (const size_t length : {size_t{1175}, size_t{1778}, size_t{3185}}) {
        const test::TempFolder folder;
        const std::string target = pathOfLength(folder, length);
        ASSERT_EQ(target.size(), length);
        const std::filesystem::path parent = std::filesystem::path(target).parent_path();
        for (const test::Writer& writer : test::writers()) {
            SCOPED_TRACE(std::string(writer.name) + ", " + std::to_string(length) + " characters");
            const std::string bytes = test::writtenBy(writer, &callInProcess, scene.context());
            std::filesystem::remove(target);
            EXPECT_EQ(callInProcess(writer.exportName, target.c_str(), writer.value, scene.context()), 0.0f) << "new";
            EXPECT_TRUE(test::contentOf(target) == bytes);
            std::ofstream(target, std::ios::binary) << std::string(100000, 'o');
            EXPECT_EQ(callInProcess(writer.exportName, target.c_str(), writer.value, scene.context()), 0.0f) << "over";
            EXPECT_TRUE(test::contentOf(target) == bytes);
            EXPECT_EQ(test::entriesIn(parent), 1u) << "a staging file stayed";
        }
    }
}

}  // namespace
}  // namespace tollgram
#endif
