// What the benchmarks share: a clock, a file count, and cmd started the way a console starts it.
#pragma once

#include <windows.h>

#include <string>

namespace hm::bench {

// Seconds on the performance counter.
inline double Now() {
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Files below the folder, at every depth.
inline unsigned long CountFiles(const std::wstring& folder) {
    unsigned long count = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            count += CountFiles(folder + L"\\" + name);
        } else {
            ++count;
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

// Runs "cmd /c <line>" with NUL for its standard handles, as typed at a console with its output
// sent to NUL, and returns the seconds it took; -1 when it did not start. (Started without a
// console of its own and without handles, cmd under Wine takes many times as long, which would
// flatter a ratio against it.)
inline double TimeCmd(const std::wstring& line) {
    std::wstring command = L"cmd /c " + line;
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    HANDLE nul =
        CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process = {};
    const double start = Now();
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    const double seconds = Now() - start;
    CloseHandle(nul);
    if (!started) {
        return -1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return seconds;
}

}  // namespace hm::bench
