// frmLocate: what its load stores and shows, what a search lists, and how a running search
// answers "&Stop", a second search, a folder change and the window's close.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/path_rules.h"
#include "search/locate_fixture.h"
#include "search/search_test_support.h"

namespace hm {
namespace {

class LocateWindow : public test::LocateFixture {};

TEST_F(LocateWindow, LoadStoresItsDefaultsAndShowsTheExtensionPatterns) {
    const search::LintwellSettings before(store.subKey());
    before.Save("General", "Prompt", "0");
    before.Save("StartUp", "Recycele", "0");
    before.Save("StartUp", "SubFolders", "0");
    Open();
    EXPECT_EQ(GetText(window->hwnd()), "Search & Erase");
    EXPECT_EQ(Setting("StartUp", "AppPath"), program.path());
    EXPECT_EQ(Setting("StartUp", "Recycele"), "1");
    EXPECT_EQ(Setting("StartUp", "SubFolders"), "1");
    EXPECT_EQ(Setting("General", "TipNumber"), "1");
    EXPECT_EQ(Setting("General", "Prompt"), "1");
    EXPECT_EQ(Setting("General", "MaxLogSize"), "(missing)");
    EXPECT_TRUE(Checked(F::Check1));
    EXPECT_TRUE(Checked(F::chkDelType));
    EXPECT_EQ(Text(F::Text1), "*.tmp;*.gid;*.swp;*.chk");
    EXPECT_EQ(window->DirPath(), program.path());
    // The folder change of the load searched with an empty pattern text: nothing.
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(Text(F::Status), "");
    const std::pair<int, const char*> captions[] = {
        {F::Label1, "Search String"},
        {F::Check1, "Include Sub Directories"},
        {F::Options, "Search and clean options"},
        {F::chkDelType, "Delete to RecycleBin"},
        {F::cmdAction0, "&Find Files"},
        {F::cmdAction1, "E&xit"},
        {F::cmdSelectAll, "Sele&ct All"},
        {F::cmdUnSelectAll, "Select N&one"},
        {F::cmdOption, "Option&s"},
        {F::cmdDelete, "&Delete selected"},
    };
    for (const auto& [id, caption] : captions) {
        EXPECT_EQ(Text(id), caption) << id;
    }
    wchar_t item[64] = {};
    const HMENU menu = GetMenu(window->hwnd());
    std::string menus;
    for (int id :
         {int(F::mnuFileSub), int(F::mnuOptions), int(F::menuResetAll), int(F::mnuAbout)}) {
        GetMenuStringW(menu, static_cast<UINT>(id), item, 64, MF_BYCOMMAND);
        menus += Narrow(item) + "|";
    }
    EXPECT_EQ(menus, "E&xit|Op&tions|&Reset All|Abou&t|");
    test::ExpectVisibleControlsApart(window->hwnd(), {F::Options});
}

struct SearchCase {
    const char* patterns;
    std::vector<std::string> files;
    std::vector<std::string> listed;
};

TEST_F(LocateWindow, SearchesListWhatThePatternsFindAndSelectEverything) {
    const SearchCase cases[] = {
        {"*.tmp;*.gid;*.swp;*.chk",
         {"a.tmp", "s\\A.TMP", ".tmp", "a.tmp1", "x", "b.gid"},
         {"a.tmp", "b.gid", "s\\A.TMP"}},
        {"~*;*log*",
         {"~WRL1.tmp", "a~", "Setup.LOG", "catalog.dat", "log"},
         {"Setup.LOG", "catalog.dat", "~WRL1.tmp"}},
        {"a*b", {"aXb", "a.b"}, {}},
        {"*.tmp",
         {"p\\Recycled\\r.tmp", "q\\RECYCLED\\R.tmp", "WIN386.SWP"},
         {"q\\RECYCLED\\R.tmp"}},
        {"*.swp", {"win386.swp", "pagefile.swp"}, {"pagefile.swp"}},
        {"*.tmp", {"日本語\\ファイル.tmp", "Ωμέγα.TMP"}, {"Ωμέγα.TMP", "日本語\\ファイル.tmp"}},
    };
    Open();
    for (const SearchCase& c : cases) {
        test::RemoveTree(tree.path());
        test::MakeFolders(tree.path());
        Make(c.files);
        Find(c.patterns);
        EXPECT_EQ(Listed(), c.listed) << c.patterns;
        EXPECT_EQ(SelectedCount(), static_cast<LRESULT>(c.listed.size())) << c.patterns;
        EXPECT_EQ(Text(F::Status).substr(0, Text(F::Status).find("  Files Found")),
                  std::to_string(c.listed.size()))
            << Text(F::Status);
        EXPECT_EQ(Text(F::cmdAction1), "E&xit");
    }
    Click(F::cmdUnSelectAll);
    EXPECT_EQ(SelectedCount(), 0);
    Click(F::cmdSelectAll);
    EXPECT_EQ(SelectedCount(), 2);
}

TEST_F(LocateWindow, AnExactNameIsListedOncePerSearchAndTheSummaryCountsIt) {
    Make({"a\\Thumbs.db", "a\\b\\Thumbs.db", "c.tmp"});
    Open();
    Find("*.tmp;Thumbs.db");
    EXPECT_EQ(Listed(), (Lines{"a\\Thumbs.db", "c.tmp"}));
    EXPECT_EQ(Text(F::Status),
              "2  Files Found      .tmp - 1    Thumbs.db - 1\r\nTotal size: 0.001kb");
    Click(F::cmdAction0);
    EXPECT_EQ(Listed(), (Lines{"a\\Thumbs.db", "c.tmp"}));
}

TEST_F(LocateWindow, TheSubFolderBoxIsStoredAndLimitsTheSearch) {
    Make({"a.tmp", "sub\\b.tmp"});
    Open();
    Click(F::Check1);
    EXPECT_EQ(Setting("StartUp", "SubFolders"), "0");
    Find("*.tmp");
    EXPECT_EQ(Listed(), (Lines{"a.tmp"}));
    Click(F::chkDelType);
    EXPECT_EQ(Setting("StartUp", "Recycele"), "0");
}

TEST_F(LocateWindow, EnterFindsInThePatternTextAndOpensAFolderInTheFolderList) {
    Make({"a.tmp", "sub\\b.tmp"});
    Open();
    window->ChangeDir(tree.path());
    EXPECT_EQ(Setting("StartUp", "AppPath"), tree.path());
    SendMessageW(Control(F::List1), LB_RESETCONTENT, 0, 0);
    SetFocus(Control(F::Text1));
    MSG enter = {GetFocus(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    IsDialogMessageW(window->hwnd(), &enter);
    EXPECT_EQ(Listed(), (Lines{"a.tmp", "sub\\b.tmp"}));

    // The folder list: the open folders from the root down, then the sub-folders.
    const HWND dirs = Control(F::Dir1);
    const LRESULT count = SendMessageW(dirs, LB_GETCOUNT, 0, 0);
    ASSERT_GE(count, 2);
    wchar_t last[MAX_PATH] = {};
    SendMessageW(dirs, LB_GETTEXT, count - 1, reinterpret_cast<LPARAM>(last));
    EXPECT_EQ(std::string(TrimBlanks(Narrow(last))), "sub");
    SendMessageW(dirs, LB_SETCURSEL, count - 1, 0);
    SetFocus(dirs);
    enter.hwnd = dirs;
    IsDialogMessageW(window->hwnd(), &enter);
    EXPECT_EQ(window->DirPath(), tree / "sub");
    EXPECT_EQ(Listed(), (Lines{"sub\\b.tmp"}));
    wchar_t first[8] = {};
    SendMessageW(dirs, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(Narrow(first), "C:\\");
    // A double click on an open folder above goes back up.
    SendMessageW(dirs, LB_SETCURSEL, count - 2, 0);
    SendMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(F::Dir1, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(dirs));
    EXPECT_EQ(window->DirPath(), tree.path());
}

TEST_F(LocateWindow, TheDriveListOffersTheDrivesAndMovesTheFolderList) {
    Open();
    const HWND drives = Control(F::Drive1);
    const LRESULT c = SendMessageW(drives, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(L"C:"));
    ASSERT_GE(c, 0);
    EXPECT_EQ(SendMessageW(drives, CB_GETCURSEL, 0, 0), c);
    SetChecked(F::Check1, false);
    SetControlText(F::Text1, "no-such-file-anywhere.none");
    SendMessageW(drives, CB_SETCURSEL, static_cast<WPARAM>(c), 0);
    SendMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(F::Drive1, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(drives));
    EXPECT_EQ(window->DirPath(), "C:\\");
    EXPECT_EQ(Text(F::Status).substr(0, 15), "0  Files Found ");
}

// Many files against many patterns: a search long enough to be interrupted.
void MakeSlowTree(const test::TempFolder& tree, std::string& patterns) {
    for (int folder = 0; folder < 20; ++folder) {
        for (int file = 0; file < 150; ++file) {
            test::WriteFileText(
                tree / ("f" + std::to_string(folder) + "\\n" + std::to_string(file) + ".dat"), "");
        }
    }
    for (int index = 0; index < 3000; ++index) {
        patterns += (patterns.empty() ? "*.p" : ";*.p") + std::to_string(index);
    }
}

HWND stopButton = nullptr;

// A click on "&Stop" that waits in the queue like a real one until the search lets events run.
void CALLBACK ClickStop(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    SendMessageW(stopButton, BM_CLICK, 0, 0);
}

TEST_F(LocateWindow, StopEndsARunningSearchWithinATenthOfASecond) {
    std::string patterns;
    MakeSlowTree(tree, patterns);
    Make({"f0\\hit.p1"});
    Open();
    SetChecked(F::Check1, true);
    window->ChangeDir(tree.path());
    SetControlText(F::Text1, patterns);
    stopButton = Control(F::cmdAction1);
    const ULONGLONG clickDue = GetTickCount64() + 60;
    ASSERT_NE(SetTimer(nullptr, 0, 60, &ClickStop), 0u);
    Click(F::cmdAction0);
    const ULONGLONG returned = GetTickCount64();
    EXPECT_EQ(Text(F::cmdAction1), "E&xit");
    // Stopped: the status still shows a folder, not the summary.
    EXPECT_EQ(Text(F::Status).rfind(tree.path(), 0), 0u) << Text(F::Status);
    EXPECT_LT(returned, clickDue + 100);
    EXPECT_FALSE(window->Searching());
}

TEST_F(LocateWindow, ASecondSearchOrAFolderChangeStopsTheRunningOneFirst) {
    std::string patterns;
    MakeSlowTree(tree, patterns);
    Make({"f0\\hit.p1", "f1\\other\\x.tmp"});
    Open();
    window->ChangeDir(tree.path());
    SetControlText(F::Text1, patterns);
    test::Probe probe;
    probe.Post([&] {
        ASSERT_TRUE(window->Searching());
        EXPECT_EQ(Text(F::cmdAction1), "&Stop");
        Click(F::cmdAction0);  // the same search again: it restarts once the first has stopped
    });
    Click(F::cmdAction0);
    EXPECT_EQ(probe.runs, 1);
    EXPECT_EQ(Listed(), (Lines{"f0\\hit.p1"}));
    EXPECT_NE(Text(F::Status).find("1  Files Found"), std::string::npos);

    probe.Post([&] {
        SetControlText(F::Text1, "*.tmp");
        window->ChangeDir(tree / "f1");
    });
    Click(F::cmdAction0);
    EXPECT_EQ(probe.runs, 2);
    EXPECT_EQ(window->DirPath(), tree / "f1");
    EXPECT_EQ(Listed(), (Lines{"f1\\other\\x.tmp"}));
    EXPECT_EQ(Text(F::cmdAction1), "E&xit");
}

TEST_F(LocateWindow, ClosingTheWindowDuringASearchEndsTheSearch) {
    std::string patterns;
    MakeSlowTree(tree, patterns);
    Open();
    window->ChangeDir(tree.path());
    SetControlText(F::Text1, patterns);
    test::Probe probe;
    probe.Post([&] { SendMessageW(window->hwnd(), WM_COMMAND, IDCANCEL, 0); });
    Click(F::cmdAction0);
    EXPECT_EQ(probe.runs, 1);
    EXPECT_EQ(window->hwnd(), nullptr);
    EXPECT_FALSE(window->Searching());
}

TEST_F(LocateWindow, ExitAndTheFileMenuCloseTheWindowAndAboutShowsTheBox) {
    Open();
    Menu(F::mnuAbout);
    EXPECT_EQ(abouts, 1);
    Click(F::cmdAction1);
    EXPECT_EQ(window->hwnd(), nullptr);
    Open();
    Menu(F::mnuFileSub);
    EXPECT_EQ(window->hwnd(), nullptr);
}

TEST_F(LocateWindow, Screenshot) {
    Make({"Temp\\~DF1A2B.tmp", "Temp\\setup.log.tmp", "Cache\\index.gid", "old.chk"});
    Open();
    window->ChangeDir(tree.path());
    EXPECT_EQ(Listed().size(), 4u);
    test::HoldForScreenshot();
}

}  // namespace
}  // namespace hm
