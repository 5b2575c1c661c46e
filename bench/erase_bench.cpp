// Times DeleteFolderFiles on one copy of a tree against "cmd /c del /f /s /q" on another copy,
// in the same process run, and reports the peak memory of this process.
//   hm_bench_erase <tree for DeleteFolderFiles> <tree for del>
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "engine/erase.h"
#include "platform/text.h"

namespace {

using hm::bench::CountFiles;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

class CountingObserver : public hm::EraseObserver {
public:
    void OnTrace(const hm::Trace& trace) override {
        if (trace.removed()) {
            ++removed;
        } else {
            ++kept;
        }
    }
    unsigned long removed = 0;
    unsigned long kept = 0;
};

double RunDel(const std::wstring& folder) {
    std::wstring command = L"cmd.exe /c del /f /s /q \"" + folder + L"\\*\" >NUL";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&end);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return Seconds(start, end);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: hm_bench_erase <tree for DeleteFolderFiles> <tree for del>\n");
        return 2;
    }
    const std::wstring ours = argv[1];
    const std::wstring theirs = argv[2];
    const unsigned long filesOurs = CountFiles(ours);
    const unsigned long filesTheirs = CountFiles(theirs);

    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);

    CountingObserver observer;
    hm::Eraser eraser(hm::EraseMode::Erase, &observer);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const double counted = eraser.DeleteFolderFiles(hm::Narrow(ours));
    QueryPerformanceCounter(&end);
    const double oursSeconds = Seconds(start, end);

    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);

    const double delSeconds = RunDel(theirs);
    const unsigned long leftOurs = CountFiles(ours);
    const unsigned long leftTheirs = CountFiles(theirs);

    std::printf("files: %lu (DeleteFolderFiles copy), %lu (del copy)\n", filesOurs, filesTheirs);
    std::printf("left after: %lu (DeleteFolderFiles), %lu (del)\n", leftOurs, leftTheirs);
    std::printf("removed reported: %lu, not removed: %lu, bytes counted: %.0f\n", observer.removed,
                observer.kept, counted);
    std::printf("DeleteFolderFiles: %.3f s\n", oursSeconds);
    std::printf("cmd /c del /f /s /q: %.3f s\n", delSeconds);
    std::printf("ratio (DeleteFolderFiles / del): %.3f\n",
                delSeconds > 0 ? oursSeconds / delSeconds : 0.0);
    std::printf("peak working set: %.1f MiB before the walk, %.1f MiB after\n",
                static_cast<double>(before.PeakWorkingSetSize) / 1048576.0,
                static_cast<double>(after.PeakWorkingSetSize) / 1048576.0);
    std::printf("peak private bytes: %.1f MiB before the walk, %.1f MiB after\n",
                static_cast<double>(before.PeakPagefileUsage) / 1048576.0,
                static_cast<double>(after.PeakPagefileUsage) / 1048576.0);
    return leftOurs == 0 && leftTheirs == 0 ? 0 : 1;
}
