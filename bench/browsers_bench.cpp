// Times Google Chrome's cache row of a real cleaning pass (in this process, a settings file that
// ticks only [Today.Chrome] Cache) over the profiles laid out in the user's local application-data
// folder, against "cmd /c rmdir /s /q" of an identical copy of the same cache folders, in the same
// run under the same Wine. The reference runs first, then the pass.
//   hm_bench_browsers <copy of the profiles' cache folders> <work folder> [del]
// With "del" the reference empties each folder with "del /f /s /q" before "rmdir /s /q" takes the
// empty folders: Wine's rmdir /s slows with the square of a folder's size (hours for 50,000
// entries), del does not.
// The copy holds one folder per profile, each with the cache folders of that profile; the work
// folder is made and holds the pass's settings file. Afterwards every cache folder must be gone,
// on both sides, and every profile's Preferences file and "Local State" must still be there:
// otherwise the benchmark says what is wrong and exits with 1.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "config/inifun.h"
#include "engine/clean_run.h"
#include "engine/shared_values.h"
#include "platform/regfun.h"
#include "platform/text.h"

namespace {

using hm::bench::CountFiles;
using hm::bench::Now;
using hm::bench::TimeCmd;

constexpr const wchar_t* kProfiles[] = {L"Default", L"Profile 1", L"Profile 2", L"Profile 3",
                                        L"Profile 4"};
constexpr const wchar_t* kCacheFolders[] = {L"Cache", L"Code Cache", L"GPUCache"};
constexpr const char* kRowSection = "Today.Chrome";
constexpr const char* kRowKey = "Cache";

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The least a pass needs to show: it only notes when the Chrome cache row starts and ends, and
// what the row reported.
class BenchUi : public hm::PassUi, public hm::EraseObserver {
public:
    void Tell(const std::string& text, const std::string& title, hm::MessageIcon) override {
        std::printf("message: %s: %s\n", title.c_str(), text.c_str());
    }
    void BeginPass() override {}
    void NoteItem(const std::string& section, const std::string& key) override {
        inRow_ = section == kRowSection && key == kRowKey;
        ++items;
    }
    void AddRow(const std::string&, const std::string&) override {
        if (inRow_) {
            rowStart = Now();
        }
    }
    void SetRowStatus(const std::string& status) override {
        if (inRow_) {
            rowSeconds = Now() - rowStart;
            rowStatus = status;
            inRow_ = false;
        }
    }
    void SetCaption(const std::string&) override {}
    void SetProgress(int) override {}
    void PumpEvents() override {}
    void EndPass() override {}
    void OnTrace(const hm::Trace& trace) override {
        if (trace.removed()) {
            ++removedTraces;
        } else {
            ++stayedTraces;
            std::printf("stayed: %s (error %lu)\n", trace.path.c_str(),
                        static_cast<unsigned long>(trace.error));
        }
    }

    int items = 0;
    double rowStart = 0;
    double rowSeconds = -1;
    std::string rowStatus;
    unsigned long removedTraces = 0;
    unsigned long stayedTraces = 0;

private:
    bool inRow_ = false;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const bool useDel = argc == 4 && std::wstring(argv[3]) == L"del";
    if (argc != 3 && !useDel) {
        std::fprintf(stderr,
                     "usage: hm_bench_browsers <copy of the cache folders> <work folder> [del]\n");
        return 2;
    }
    const std::wstring reference = argv[1];
    const std::wstring work = argv[2];
    CreateDirectoryW(work.c_str(), nullptr);
    const std::string settings = hm::Narrow(work) + "\\hushsd.dat";
    DeleteFileW(hm::Widen(settings).c_str());
    hm::WriteIniValue(settings, kRowSection, kRowKey, "1");

    BenchUi ui;
    hm::SharedValues values;
    {
        hm::Regfun registry(ui);
        hm::ComputeSharedValues(values, registry);
    }
    const std::wstring userData =
        hm::Widen(values.LocalAppDataFolder) + L"\\Google\\Chrome\\User Data";
    std::printf("Chrome's data folder: %s\n", hm::Narrow(userData).c_str());

    std::vector<std::wstring> caches;
    std::vector<std::wstring> copies;
    std::vector<std::wstring> kept = {userData + L"\\Local State"};
    for (const wchar_t* profile : kProfiles) {
        kept.push_back(userData + L"\\" + profile + L"\\Preferences");
        for (const wchar_t* cache : kCacheFolders) {
            caches.push_back(userData + L"\\" + profile + L"\\" + cache);
            copies.push_back(reference + L"\\" + profile + L"\\" + cache);
        }
    }
    int failures = 0;
    const auto fail = [&failures](const char* what, const std::wstring& path) {
        std::printf("FAIL: %s: %s\n", what, hm::Narrow(path).c_str());
        ++failures;
    };
    unsigned long filesPass = 0;
    unsigned long filesReference = 0;
    for (std::size_t i = 0; i < caches.size(); ++i) {
        if (!Exists(caches[i])) {
            fail("missing before the pass", caches[i]);
        }
        if (!Exists(copies[i])) {
            fail("missing before the reference", copies[i]);
        }
        filesPass += CountFiles(caches[i]);
        filesReference += CountFiles(copies[i]);
    }
    for (const std::wstring& file : kept) {
        if (!Exists(file)) {
            fail("missing before the pass", file);
        }
    }
    if (failures > 0 || filesPass != filesReference) {
        std::printf(
            "FAIL: the layout is not as expected (%lu files for the pass, %lu in the copy)\n",
            filesPass, filesReference);
        return 1;
    }

    // What starting cmd costs by itself, so that the reference's share of process starts shows.
    double cmdStart = 1e9;
    for (int round = 0; round < 3; ++round) {
        cmdStart = std::min(cmdStart, TimeCmd(L"exit"));
    }
    double referenceSeconds = 0;
    for (const std::wstring& copy : copies) {
        const std::wstring quoted = L"\"" + copy + L"\"";
        const double seconds =
            TimeCmd(useDel ? L"del /f /s /q " + quoted + L" & rmdir /s /q " + quoted
                           : L"rmdir /s /q " + quoted);
        if (seconds < 0) {
            fail("cmd did not start for", copy);
            return 1;
        }
        referenceSeconds += seconds;
    }

    hm::PassSetup setup;
    setup.programFolder = hm::Narrow(work);
    setup.now = [] { return std::string("1/2/2026 3:04:05 PM"); };
    setup.mode = hm::EraseMode::Erase;
    setup.observer = &ui;
    hm::CleanRun run(ui, values, setup);
    const double passStart = Now();
    const hm::PassResult result = run.CleanNow();
    const double passSeconds = Now() - passStart;

    unsigned long leftPass = 0;
    unsigned long leftReference = 0;
    for (std::size_t i = 0; i < caches.size(); ++i) {
        if (Exists(caches[i])) {
            leftPass += CountFiles(caches[i]);
            fail("still there after the pass", caches[i]);
        }
        if (Exists(copies[i])) {
            leftReference += CountFiles(copies[i]);
            fail("still there after rmdir", copies[i]);
        }
    }
    for (const std::wstring& file : kept) {
        if (!Exists(file)) {
            fail("removed by the pass", file);
        }
    }
    if (result.start != hm::PassStart::Ran || ui.rowSeconds < 0) {
        std::printf("FAIL: the pass did not run the Chrome cache row\n");
        ++failures;
    }

    std::printf("cache folders: %zu in %zu profiles; files %lu (pass), %lu (copy)\n", caches.size(),
                std::size(kProfiles), filesPass, filesReference);
    std::printf("files removed: %lu (pass), %lu (rmdir); left: %lu, %lu\n", filesPass - leftPass,
                filesReference - leftReference, leftPass, leftReference);
    std::printf("pass: row \"%s\", %d item(s), %lu removed trace(s), %lu stayed, %.0f bytes\n",
                ui.rowStatus.c_str(), ui.items, ui.removedTraces, ui.stayedTraces, result.bytes);
    std::printf("cmd /c %s, %zu runs   %8.3f s   (starting cmd alone: %.3f s a run)\n",
                useDel ? "del /f /s /q & rmdir /s /q" : "rmdir /s /q", copies.size(),
                referenceSeconds, cmdStart);
    std::printf("cleaning pass                %8.3f s   ratio %.3f\n", passSeconds,
                passSeconds / referenceSeconds);
    std::printf("  of which the cache row     %8.3f s   ratio %.3f\n", ui.rowSeconds,
                ui.rowSeconds / referenceSeconds);
    return failures == 0 ? 0 : 1;
}
