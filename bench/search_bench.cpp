// Times the search window's FindFiles on a tree against "cmd /c dir /s /b" of the same tree, in
// one process under the same Wine: FindFiles alone (what the command line runs), FindFiles
// filling the window's list, and how long "&Stop" takes to end a search the window runs.
//   hm_bench_search.exe <tree> [rounds]
// FindFiles is timed as the best of the rounds (default 3) after one warm-up search; the
// reference, which is slow under Wine, runs once.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "search/find_files.h"
#include "search/gui_frm_locate.h"

namespace {

using hm::bench::Now;
using hm::bench::TimeCmd;

constexpr const char* kPatterns = "*.tmp;*.gid;*.swp;*.chk";
constexpr const char* kSettingsKey = "Software\\HushmarkBench\\Lintwell";

class CountingSink : public hm::search::SearchSink {
public:
    bool IncludeSubFolders() override { return true; }
    void SearchingFolder(const std::string&) override { ++folders; }
    void EntryFound(const hm::search::FoundEntry&) override { ++entries; }
    std::size_t folders = 0;
    std::size_t entries = 0;
};

// The reference: the system's own recursive listing of the same tree, written to NUL as
// "dir /s /b > NUL" typed at a console would.
double TimeDirListing(const std::string& tree) {
    return TimeCmd(L"dir /s /b \"" + hm::Widen(tree) + L"\"");
}

HWND stopButton = nullptr;

void CALLBACK ClickStop(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    SendMessageW(stopButton, BM_CLICK, 0, 0);
}

std::string ProgramFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    std::string folder = hm::Narrow(temp) + "hm-search-bench";
    CreateDirectoryW(hm::Widen(folder).c_str(), nullptr);
    return folder;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: hm_bench_search <tree> [rounds]\n");
        return 2;
    }
    const std::string tree = hm::Narrow(argv[1]);
    const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 3;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    hm::LocateServices services;
    services.messageBox = [](HWND, const std::wstring&, const std::wstring&, UINT) { return IDNO; };
    services.settingsKey = kSettingsKey;
    hm::frmLocate window(ProgramFolder(), services);
    const bool haveWindow = window.ShowModeless(nullptr);
    stopButton = haveWindow ? window.Item(hm::frmLocate::cmdAction1) : nullptr;

    // What the user does: the folder and the patterns, then "&Find Files", which clears the
    // list and the stop flag first.
    const auto searchInWindow = [&] {
        SendMessageW(window.Item(hm::frmLocate::cmdAction0), BM_CLICK, 0, 0);
    };
    if (haveWindow) {
        window.ChangeDir(tree);  // the pattern text is still empty: no search yet
        SetWindowTextW(window.Item(hm::frmLocate::Text1), hm::Widen(kPatterns).c_str());
    }

    CountingSink counted;
    hm::search::FindFiles(tree, kPatterns, counted);  // warm-up: the tree in the system's caches
    // The reference is slow under Wine; one run of it is enough.
    const double dirSeconds = TimeDirListing(tree);
    double bestAlone = 1e9;
    double bestWindow = 1e9;
    for (int round = 0; round < rounds; ++round) {
        CountingSink sink;
        double start = Now();
        hm::search::FindFiles(tree, kPatterns, sink);
        bestAlone = std::min(bestAlone, Now() - start);
        if (haveWindow) {
            start = Now();
            searchInWindow();
            bestWindow = std::min(bestWindow, Now() - start);
        }
    }
    std::printf("tree: %zu folders, %zu files found by \"%s\"\n", counted.folders, counted.entries,
                kPatterns);
    std::printf("cmd /c dir /s /b          %8.3f s\n", dirSeconds);
    std::printf("FindFiles, no list        %8.3f s   ratio %.3f   (best of %d)\n", bestAlone,
                bestAlone / dirSeconds, rounds);
    if (!haveWindow) {
        std::printf("FindFiles, window list    (no window: no display)\n");
        return 0;
    }
    std::printf("FindFiles, window list    %8.3f s   ratio %.3f   (best of %d, %zu entries)\n",
                bestWindow, bestWindow / dirSeconds, rounds, window.EntryPaths().size());

    // "&Stop" clicked at moments spread over the search: how long until the search returned.
    double worst = 0;
    int answered = 0;
    for (double fraction : {0.1, 0.3, 0.5, 0.7, 0.9}) {
        const UINT due = static_cast<UINT>(bestWindow * fraction * 1000);
        const double start = Now();
        const UINT_PTR timer = SetTimer(nullptr, 0, due, &ClickStop);
        searchInWindow();
        const double returned = Now();
        KillTimer(nullptr, timer);
        if (returned - start < due / 1000.0) {
            continue;  // it ran out before the click
        }
        ++answered;
        worst = std::max(worst, returned - start - due / 1000.0);
    }
    std::printf("\"&Stop\" answered         %8.0f ms at worst over %d clicks during a search\n",
                worst * 1000, answered);
    hm::DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\HushmarkBench");
    return 0;
}
