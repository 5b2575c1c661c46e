// "Analyze" in the main window, driven in-process: the preview pass fills the result list,
// changes nothing, its details dialog lists and sorts a row's traces, and the real pass that
// follows removes exactly what the analysis listed.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/details_ids.h"
#include "app/gui_application.h"
#include "app/gui_controls.h"
#include "config/inifun.h"
#include "platform/text.h"
#include "support/gui_support.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::RowText;

constexpr const char* kRunMru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

std::string ShellFolder(int id) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, id, nullptr, 0, path);
    return Narrow(path);
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Every file and folder below the folder, as lower-case full paths.
std::set<std::string> Tree(const std::string& folder) {
    std::set<std::string> paths;
    for (std::string relative : test::ListTree(folder)) {
        if (!relative.empty() && relative.back() == '\\') {
            relative.pop_back();
        }
        paths.insert(Lowered(folder + "\\" + relative));
    }
    return paths;
}

// The three columns of the details list.
std::vector<std::vector<std::string>> DetailRows(HWND list) {
    std::vector<std::vector<std::string>> rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < 3; ++column) {
            wchar_t buffer[512] = {};
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = buffer;
            item.cchTextMax = 512;
            SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
            cells.push_back(Narrow(buffer));
        }
        rows.push_back(cells);
    }
    return rows;
}

// What a timer, standing in for the user, saw in the details dialog the main window opened.
struct DetailsSeen {
    std::string caption;
    std::string summary;
    std::vector<std::vector<std::string>> asOpened;
    std::vector<std::vector<std::string>> bySize;
    std::vector<std::vector<std::string>> bySizeAgain;
    std::vector<std::vector<std::string>> byPath;
    int listGrowth = 0;  // how much wider the list got when the dialog was made 200 wider
};
HWND g_main = nullptr;
DetailsSeen g_seen;
int g_dialogs = 0;

void ClickHeader(HWND dialog, int column) {
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = GetDlgItem(dialog, IDC_DETAILS_LIST);
    click.hdr.idFrom = IDC_DETAILS_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageW(dialog, WM_NOTIFY, IDC_DETAILS_LIST, reinterpret_cast<LPARAM>(&click));
}

BOOL CALLBACK ReadDetails(HWND window, LPARAM) {
    if (GetWindow(window, GW_OWNER) != g_main || !IsWindowVisible(window)) {
        return TRUE;
    }
    ++g_dialogs;
    HWND list = GetDlgItem(window, IDC_DETAILS_LIST);
    g_seen.caption = GetText(window);
    g_seen.summary = GetText(GetDlgItem(window, IDC_DETAILS_SUMMARY));
    g_seen.asOpened = DetailRows(list);
    ClickHeader(window, 2);
    g_seen.bySize = DetailRows(list);
    ClickHeader(window, 2);
    g_seen.bySizeAgain = DetailRows(list);
    ClickHeader(window, 1);
    g_seen.byPath = DetailRows(list);
    RECT before = {};
    GetWindowRect(list, &before);
    RECT box = {};
    GetWindowRect(window, &box);
    SetWindowPos(window, nullptr, 0, 0, box.right - box.left + 200, box.bottom - box.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT after = {};
    GetWindowRect(list, &after);
    g_seen.listGrowth = (after.right - after.left) - (before.right - before.left);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return FALSE;
}

void CALLBACK ReadDetailsTimer(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &ReadDetails, 0);
}

class AnalyzeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::InitCommonControlsForTests(); }

    AnalyzeTest() {
        AppServices services;
        services.messageBox = [this](HWND, const std::wstring& text, const std::wstring&, UINT) {
            boxes.push_back(Narrow(text));
            return IDOK;
        };
        services.now = [] { return std::string("1/2/2026 3:04:05 PM"); };
        services.endProcess = [] {};
        app = std::make_unique<Application>(program.path(), "", services);
    }
    ~AnalyzeTest() override {
        app.reset();
        test::RemoveTree(roaming);
        test::RemoveTree(local);
        RegDeleteTreeW(HKEY_CURRENT_USER, Widen(kRunMru).c_str());
    }

    // Firefox's address bar, cookies, cache and history items and the Run history, over two
    // profiles; prefs.js belongs to none of them.
    void Seed() {
        // Only what this test puts there: other tests share the sandbox's profile.
        test::RemoveTree(roaming);
        test::RemoveTree(local);
        test::WriteFileOfSize(roaming + "\\p1\\places.sqlite", 3000);
        test::WriteFileOfSize(roaming + "\\p1\\cookies.sqlite", 700);
        test::WriteFileOfSize(roaming + "\\p1\\prefs.js", 10);
        test::WriteFileOfSize(roaming + "\\p2\\cookies.sqlite", 1200);
        test::WriteFileOfSize(local + "\\p1\\cache\\a\\entry", 100);
        test::WriteFileOfSize(local + "\\p1\\cache\\b", 200);
        test::WriteFileOfSize(local + "\\p1\\places.sqlite", 400);
        test::SetRegText(kRunMru, "a", "notepad\\1");
        test::SetRegText(kRunMru, "MRUList", "a");
        for (const char* key : {"Address", "Cookies", "cache", "History"}) {
            WriteIniValue(Settings(), "FIREFOX", key, "1");
        }
        WriteIniValue(Settings(), "WINDOWS", "run", "1");
        WriteIniValue(Settings(), "Options", "lastclean", "3/4/2025 10:00:00 AM");
        WriteIniValue(Settings(), "Options", "regnum", "12");
        WriteIniValue(Settings(), "Options", "filesize", "5242880");
        ASSERT_TRUE(app->Load(GetModuleHandleW(nullptr)));
    }

    std::string Settings() const { return program / "hushsd.dat"; }
    HWND Main() const { return app->window().hwnd(); }
    HWND Control(int id) const { return app->window().Control(id); }
    void Click(int id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    std::vector<RowText> Rows() const { return test::ListRows(Control(IDC_LISTVIEW1)); }
    std::string HeaderText(int column) const {
        wchar_t text[64] = {};
        LVCOLUMNW header = {};
        header.mask = LVCF_TEXT;
        header.pszText = text;
        header.cchTextMax = 64;
        SendMessageW(Control(IDC_LISTVIEW1), LVM_GETCOLUMNW, column,
                     reinterpret_cast<LPARAM>(&header));
        return Narrow(text);
    }
    std::set<std::string> Disk() const {
        std::set<std::string> all = Tree(roaming);
        all.merge(Tree(local));
        return all;
    }
    // The files and folders of the last analysis, lower case.
    std::set<std::string> Analyzed() const {
        std::set<std::string> paths;
        for (const AnalyzedItem& item : app->analysis()) {
            for (const Trace& trace : item.traces) {
                if (trace.kind == TraceKind::File || trace.kind == TraceKind::Folder) {
                    paths.insert(Lowered(trace.path));
                }
            }
        }
        return paths;
    }

    test::TempFolder program;
    const std::string roaming = ShellFolder(CSIDL_APPDATA) + "\\Mozilla\\Firefox\\Profiles";
    const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Mozilla\\Firefox\\Profiles";
    std::vector<std::string> boxes;
    std::unique_ptr<Application> app;
};

TEST_F(AnalyzeTest, AnalyzeListsWhatThePassWouldRemoveAndTheCleanThenRemovesExactlyThat) {
    Seed();
    const std::set<std::string> before = Disk();
    const std::string settingsBefore = test::ReadFileText(Settings());
    const std::string totalsLine = GetText(Control(IDC_LABEL14));

    Click(IDC_ANALYZE);

    // Address takes the roaming places.sqlite, so the history item finds nothing left; the
    // cache item takes the cache folder (whole tree, 300 bytes) and the local places.sqlite.
    EXPECT_EQ(Rows(), (std::vector<RowText>{
                          {"Firefox Address Bar History", "1 file, 2.9 KB"},
                          {"Firefox Cookies", "2 files, 1.9 KB"},
                          {"Firefox Cache", "1 file, 1 folder, 700 bytes"},
                          {"Firefox History Files", "Nothing"},
                          {"Start Menu Run History", "1 key"},
                          {"Analysis complete", "4 files, 1 folder, 1 key, 5.5 KB"},
                      }));
    EXPECT_EQ(HeaderText(1), "Would remove");
    EXPECT_EQ(GetText(Control(IDC_SKINLABEL5)), "Analysis complete. Nothing was changed.");
    // Nothing changed: not the disk, the registry, the settings file or the home panel's totals.
    EXPECT_EQ(Disk(), before);
    EXPECT_TRUE(test::RegValueExists(kRunMru, "a"));
    EXPECT_EQ(test::ReadFileText(Settings()), settingsBefore);
    EXPECT_EQ(app->values().RegistryKeysTotal, 12);
    EXPECT_EQ(GetText(Control(IDC_LABEL14)), totalsLine);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_ANALYZE)));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_COMMAND1)));

    // A double click on the cookies row opens its details; a click on "Size" puts the largest
    // first, a second reverses, "Path" sorts by path.
    LVITEMW select = {};
    select.stateMask = LVIS_SELECTED;
    select.state = LVIS_SELECTED;
    SendMessageW(Control(IDC_LISTVIEW1), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&select));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_DETAILS)));
    g_main = Main();
    g_seen = {};
    g_dialogs = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &ReadDetailsTimer);
    NMITEMACTIVATE doubleClick = {};
    doubleClick.hdr.hwndFrom = Control(IDC_LISTVIEW1);
    doubleClick.hdr.idFrom = IDC_LISTVIEW1;
    doubleClick.hdr.code = NM_DBLCLK;
    doubleClick.iItem = 1;
    SendMessageW(Main(), WM_NOTIFY, IDC_LISTVIEW1, reinterpret_cast<LPARAM>(&doubleClick));
    KillTimer(nullptr, timer);
    ASSERT_EQ(g_dialogs, 1);
    EXPECT_EQ(g_seen.caption, "Details: Firefox Cookies");
    EXPECT_EQ(g_seen.summary, "Would remove 2 files, 1.9 KB");
    const std::vector<std::string> small = {"file", roaming + "\\p1\\cookies.sqlite", "700 bytes"};
    const std::vector<std::string> large = {"file", roaming + "\\p2\\cookies.sqlite", "1.2 KB"};
    const auto lowered = [](std::vector<std::vector<std::string>> rows) {
        for (auto& row : rows) {
            row[1] = Lowered(row[1]);
        }
        return rows;
    };
    using Table = std::vector<std::vector<std::string>>;
    EXPECT_EQ(lowered(g_seen.bySize), lowered(Table{large, small}));
    EXPECT_EQ(lowered(g_seen.bySizeAgain), lowered(Table{small, large}));
    EXPECT_EQ(lowered(g_seen.byPath), lowered(Table{small, large}));
    EXPECT_EQ(g_seen.asOpened.size(), 2u);
    EXPECT_EQ(g_seen.listGrowth, 200);

    // The closing row has no details.
    SendMessageW(Control(IDC_LISTVIEW1), LVM_SETITEMSTATE, 5, reinterpret_cast<LPARAM>(&select));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_DETAILS)));

    const std::set<std::string> analyzed = Analyzed();
    Click(IDC_COMMAND1);

    // What went is exactly what the analysis listed (with what lay inside its folders).
    const std::set<std::string> after = Disk();
    std::set<std::string> gone;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::inserter(gone, gone.end()));
    std::set<std::string> goneOnTop;
    for (const std::string& path : gone) {
        const size_t cut = path.find_last_of('\\');
        if (gone.count(path.substr(0, cut)) == 0) {
            goneOnTop.insert(path);
        }
    }
    EXPECT_EQ(goneOnTop, analyzed);
    EXPECT_EQ(analyzed.size(), 5u);
    EXPECT_FALSE(test::RegKeyExists(kRunMru));
    EXPECT_TRUE(after.count(Lowered(roaming + "\\p1\\prefs.js")) == 1);
    // The list shows the clean's results again, without details.
    EXPECT_EQ(Rows().front(), (RowText{"Firefox Address Bar History", "Done"}));
    EXPECT_EQ(Rows().back(), (RowText{"Task complete Successfully!", ""}));
    EXPECT_EQ(HeaderText(1), "Status");
    EXPECT_EQ(app->window().SelectedAnalysisRow(), -1);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_DETAILS)));
    EXPECT_EQ(ReadIniValue(Settings(), "Options", "lastclean"), "1/2/2026 3:04:05 PM");
}

// The tray's "Analyze" brings the window back; requests that come while a pass of either kind
// runs are dropped.
TEST_F(AnalyzeTest, TheTrayAnalyzesAndRequestsDuringAPassAreIgnored) {
    Seed();
    const std::set<std::string> before = Disk();
    ShowWindow(Main(), SW_HIDE);
    // A clean requested while the analysis runs does not run.
    PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDC_COMMAND1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(IDC_COMMAND1)));
    test::Probe probe;
    probe.Post([] {});
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDM_ANALYZE2, 0), 0);
    EXPECT_EQ(probe.runs, 1);
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_TRUE(app->window().StatusPanelShown());
    EXPECT_EQ(Rows().back().item, "Analysis complete");
    EXPECT_EQ(Disk(), before);
    EXPECT_TRUE(boxes.empty());

    // An analysis requested while the clean runs does not run either: the list ends with the
    // clean's results.
    PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDC_ANALYZE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(IDC_ANALYZE)));
    PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDM_ANALYZE2, 0), 0);
    probe.Post([] {});
    Click(IDC_COMMAND1);
    EXPECT_EQ(probe.runs, 2);
    EXPECT_EQ(Rows().back(), (RowText{"Task complete Successfully!", ""}));
    EXPECT_TRUE(app->analysis().empty());
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_NE(Disk(), before);
}

}  // namespace
}  // namespace hm
