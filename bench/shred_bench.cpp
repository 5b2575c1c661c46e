// Times the shredder against a plain buffered write of the same bytes, in the same run: a set of
// files (1,000 files of 1 MiB by default) is written with WriteFile and closed, without a flush,
// then an equal set, written beforehand and flushed, is shredded with one pass and, afresh,
// with three. Prints each time and the ratio per pass; the target is at most 1.5.
//   hm_bench_shred <work folder> [files] [bytes per file]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/shred_job.h"
#include "platform/text.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

double Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    LARGE_INTEGER zero{};
    return Seconds(zero, now);
}

// Writes the set of files; with flush, each reaches the disk before the next (not timed then).
bool WriteSet(const std::wstring& folder, unsigned files, std::size_t bytes,
              const std::vector<char>& data, bool flush) {
    CreateDirectoryW(folder.c_str(), nullptr);
    for (unsigned i = 0; i < files; ++i) {
        const std::wstring path = folder + L"\\f" + std::to_wstring(i) + L".bin";
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return false;
        }
        for (std::size_t done = 0; done < bytes;) {
            const DWORD chunk =
                static_cast<DWORD>(bytes - done < data.size() ? bytes - done : data.size());
            DWORD put = 0;
            if (!WriteFile(file, data.data(), chunk, &put, nullptr) || put == 0) {
                CloseHandle(file);
                return false;
            }
            done += put;
        }
        if (flush) {
            FlushFileBuffers(file);
        }
        CloseHandle(file);
    }
    return true;
}

void RemoveSet(const std::wstring& folder, unsigned files) {
    for (unsigned i = 0; i < files; ++i) {
        DeleteFileW((folder + L"\\f" + std::to_wstring(i) + L".bin").c_str());
    }
    RemoveDirectoryW(folder.c_str());
}

double TimePlainWrite(const std::wstring& folder, unsigned files, std::size_t bytes,
                      const std::vector<char>& data) {
    const double start = Now();
    const bool ok = WriteSet(folder, files, bytes, data, false);
    const double seconds = Now() - start;
    // Deleting at once drops the unwritten pages, so they cannot slow the next measurement.
    RemoveSet(folder, files);
    return ok ? seconds : -1;
}

double TimeShred(const std::wstring& folder, unsigned files, std::size_t bytes,
                 const std::vector<char>& data, int passes) {
    if (!WriteSet(folder, files, bytes, data, true)) {
        return -1;
    }
    const hm::shred::Plan plan =
        hm::shred::MakePlan({hm::Narrow(folder)}, hm::shred::Guard::ForThisProcess());
    const double start = Now();
    const hm::shred::RunReport report = hm::shred::RunPlan(plan, passes, {});
    const double seconds = Now() - start;
    if (report.filesShredded != files || report.kept != 0) {
        std::printf("shredding left %llu items\n", static_cast<unsigned long long>(report.kept));
        return -1;
    }
    return seconds;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::printf("usage: hm_bench_shred <work folder> [files] [bytes per file]\n");
        return 2;
    }
    const std::wstring work = argv[1];
    const unsigned files = argc > 2 ? static_cast<unsigned>(_wtoi(argv[2])) : 1000;
    const std::size_t bytes = argc > 3 ? static_cast<std::size_t>(_wtoi(argv[3])) : (1u << 20);
    CreateDirectoryW(work.c_str(), nullptr);
    std::vector<char> data(1 << 20);
    unsigned state = 12345;
    for (char& c : data) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 16);
    }
    const double megabytes = static_cast<double>(files) * static_cast<double>(bytes) / 1048576.0;
    std::printf("%u files of %zu bytes (%.0f MiB)\n", files, bytes, megabytes);
    // The disk is shared with whatever else runs: each measurement is repeated, and the median
    // ratio is the figure.
    constexpr int kRounds = 3;
    bool within = true;
    for (int passes : {1, 3}) {
        std::vector<double> ratios;
        for (int round = 0; round < kRounds; ++round) {
            const double plain = TimePlainWrite(work + L"\\plain", files, bytes, data);
            const double shred = TimeShred(work + L"\\shred", files, bytes, data, passes);
            if (plain <= 0 || shred <= 0) {
                std::printf("a measurement failed\n");
                return 1;
            }
            const double perPass = shred / passes;
            ratios.push_back(perPass / plain);
            std::printf(
                "plain buffered write %.2f s (%.0f MiB/s); shred, %d pass%s, %.2f s, "
                "%.2f s per pass (%.0f MiB/s); ratio per pass %.2f\n",
                plain, megabytes / plain, passes, passes == 1 ? "" : "es", shred, perPass,
                megabytes / perPass, ratios.back());
        }
        std::sort(ratios.begin(), ratios.end());
        const double median = ratios[ratios.size() / 2];
        within = within && median <= 1.5;
        std::printf("%d pass%s: median ratio per pass %.2f\n", passes, passes == 1 ? "" : "es",
                    median);
    }
    std::printf(within ? "within 1.5 per pass\n" : "NOT within 1.5 per pass\n");
    return 0;
}
