// Starting other programs.
#include "platform/own_calls.h"
#include "platform/shell.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/child_process.h"
#include "platform/command_line.h"

namespace tollgram::platform {

namespace {
constexpr intptr_t kStarted = 33;
constexpr intptr_t kNotFound = 2;       // SE_ERR_FNF
constexpr intptr_t kAccessDenied = 5;   // SE_ERR_ACCESSDENIED
constexpr intptr_t kOutOfResources = 0;

intptr_t start(const std::string& name, const std::vector<std::string>& arguments) {
    const std::string program = findProgram(name);
    if (program.empty()) return kNotFound;
    const int error = startDetached(program, arguments);
    if (error == 0) return kStarted;
    if (error == ENOENT || error == ENOTDIR) return kNotFound;
    if (error == EACCES || error == EPERM) return kAccessDenied;
    return kOutOfResources;
}
}  // namespace

intptr_t own::launchProgram(const char* verb, const char* file, const char* parameters, const char* /*directory*/,
                           int /*show*/) {
    if (file == nullptr || file[0] == '\0') return kNotFound;
    if (verb != nullptr && std::strcmp(verb, "open") == 0) return start("xdg-open", {file});
    return start(file, splitCommandLine(parameters ? parameters : ""));
}

namespace {
bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// argv for exec: the program, then the arguments; pointers into the strings.
std::vector<char*> argumentVector(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}

int waitForExit(pid_t child, int& status) {
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return errno;
    }
    return 0;
}

void closeBoth(int (&fds)[2]) {
    close(fds[0]);
    close(fds[1]);
}
}  // namespace

std::string findProgram(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return isExecutableFile(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    if (path == nullptr) return {};
    // An empty entry of PATH is the current directory.
    std::string_view directories(path);
    for (;;) {
        const size_t end = directories.find(':');
        const std::string_view directory = directories.substr(0, end);
        std::string candidate(directory.empty() ? std::string_view(".") : directory);
        candidate.append("/").append(name);
        if (isExecutableFile(candidate)) return candidate;
        if (end == std::string_view::npos) break;
        directories.remove_prefix(end + 1);
    }
    return {};
}

bool runForOutput(const std::string& program, const std::vector<std::string>& arguments, size_t outputLimit,
                  std::string& output, int& exitStatus) {
    output.clear();
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        closeBoth(pipeFds);
        return false;
    }
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);

    std::vector<char*> argv = argumentVector(program, arguments);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return false;
    }

    bool tooLong = false;
    char chunk[4096];
    for (;;) {
        const ssize_t got = read(pipeFds[0], chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        if (output.size() + static_cast<size_t>(got) > outputLimit) {
            tooLong = true;  // keep reading, so the child never blocks on a full pipe
            continue;
        }
        output.append(chunk, static_cast<size_t>(got));
    }
    close(pipeFds[0]);

    int status = 0;
    if (waitForExit(child, status) != 0 || !WIFEXITED(status) || tooLong) return false;
    exitStatus = WEXITSTATUS(status);
    return true;
}

int startDetached(const std::string& program, const std::vector<std::string>& arguments) {
    // Everything the children need is made before fork: after it, only
    // async-signal-safe calls, as the host may run other threads.
    std::vector<char*> argv = argumentVector(program, arguments);
    char** environment = environ;
    sigset_t allSignals;
    sigemptyset(&allSignals);

    // The program's start is reported through a pipe that closes on exec:
    // end of file means it runs, an errno means exec failed.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return errno;

    const pid_t middle = fork();
    if (middle < 0) {
        const int error = errno;
        closeBoth(report);
        return error;
    }
    if (middle == 0) {
        // The middle child only forks the program and leaves, so the program
        // is adopted by init and the host never has a zombie to reap.
        close(report[0]);
        const pid_t launched = fork();
        if (launched == 0) {
            setsid();
            sigprocmask(SIG_SETMASK, &allSignals, nullptr);
            execve(argv[0], argv.data(), environment);
            const int error = errno;
            (void)!write(report[1], &error, sizeof error);
            _exit(127);
        }
        if (launched < 0) {
            const int error = errno;
            (void)!write(report[1], &error, sizeof error);
        }
        _exit(0);
    }

    close(report[1]);
    int status = 0;
    waitForExit(middle, status);
    int error = 0;
    ssize_t got;
    do {
        got = read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
    std::vector<std::string> arguments;
    size_t i = 0;
    for (;;) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i >= line.size()) break;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !isBlank(line[i]))) {
            if (line[i] == '\\') {
                size_t backslashes = 0;
                while (i < line.size() && line[i] == '\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < line.size() && line[i] == '"') {
                    argument.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        argument.push_back('"');
                        ++i;
                    }
                } else {
                    argument.append(backslashes, '\\');
                }
            } else if (line[i] == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument.push_back('"');
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument.push_back(line[i]);
                ++i;
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace tollgram::platform
