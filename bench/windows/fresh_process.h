#pragma once
// A measurement in a fresh process: the command started and waited for, so
// that each read begins with nothing of an earlier one in memory.
#include <windows.h>

#include <string>

namespace tollgram::bench {

// Runs command to its end; false when it could not start. exitCode is its
// exit code (1 when that could not be told).
inline bool runToEnd(std::string command, DWORD& exitCode) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    exitCode = 1;
    if (!GetExitCodeProcess(process.hProcess, &exitCode)) exitCode = 1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace tollgram::bench
