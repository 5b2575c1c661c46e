// frmcookie driven in-process over the real "Cookies" user shell folder of the test prefix (the
// test's files there are removed afterwards, and the folder too when the test made it) and a
// keepcook.dat in a throwaway program folder.
#include "keeplists/gui_cookie_dialog.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/gui_controls.h"
#include "engine/shared_values.h"
#include "keeplists/gui_url_dialog.h"
#include "keeplists/keep_list_file.h"
#include "platform/files.h"
#include "platform/path_rules.h"
#include "support/gui_support.h"
#include "support/sandbox.h"
#include "support/shred_support.h"

namespace hm {
namespace {

using Lines = std::vector<std::string>;

// Items the test makes in the user's cookie folder; what was there before stays untouched.
class CookieFolderGuard {
public:
    explicit CookieFolderGuard(std::string folder)
        : folder_(std::move(folder)), made_(!test::FolderExists(folder_)) {
        test::MakeFolders(folder_);
    }
    ~CookieFolderGuard() {
        for (const std::string& path : made_ ? Lines{folder_} : created_) {
            test::RemoveTree(path);
            DeleteFileW(files::ToLongPath(path).c_str());
        }
    }
    CookieFolderGuard(const CookieFolderGuard&) = delete;
    CookieFolderGuard& operator=(const CookieFolderGuard&) = delete;

    // The new item's full path; empty when the name is taken.
    std::string Add(const std::string& name, const std::string& text, bool folder = false) {
        const std::string full = JoinPath(folder_, name);
        if (test::FileExists(full) || test::FolderExists(full)) {
            return {};
        }
        created_.push_back(full);
        folder ? test::MakeFolders(full) : test::WriteFileText(full, text);
        return full;
    }

private:
    std::string folder_;
    bool made_;
    Lines created_;
};

void HoldForScreenshot() {
    char seconds[8] = "0";
    GetEnvironmentVariableA("HM_SHOW_SECONDS", seconds, sizeof(seconds));
    const ULONGLONG end = GetTickCount64() + 1000ull * static_cast<unsigned>(atoi(seconds));
    for (MSG message; GetTickCount64() < end; Sleep(20)) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
}

class CookieDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::InitCommonControlsForTests(); }
    CookieDialog() : registry(messages), folder(UserShellFolder(registry, "Cookies")) {}

    void SetUp() override {
        ASSERT_TRUE(IsAbsolutePath(folder)) << folder;
        cookies = std::make_unique<CookieFolderGuard>(folder);
        site = cookies->Add("hmtest@site[1].txt", "name\nvalue\nsite.example/\n");
        bak = cookies->Add("hmtest.txt.bak", "old");
        ASSERT_FALSE(site.empty() || bak.empty());
    }
    void Open() {
        dialog = std::make_unique<frmcookie>(program.path(), registry);
        ASSERT_TRUE(dialog->ShowModeless(nullptr));
    }
    HWND Control(int id) const { return dialog->Item(id); }
    Lines Entries(int id) const { return ListBoxEntries(Control(id)); }
    int IndexOf(int id, const std::string& entry) const {
        const Lines lines = Entries(id);
        return static_cast<int>(std::find(lines.begin(), lines.end(), entry) - lines.begin());
    }
    // A click on an entry: it alone is selected, and the list box tells the dialog.
    void ClickEntry(int id, int index) {
        if (id == frmcookie::lstCookieList) {
            SendMessageW(Control(id), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        } else {
            SendMessageW(Control(id), LB_SETSEL, FALSE, -1);
            SendMessageW(Control(id), LB_SETSEL, TRUE, index);
            SendMessageW(Control(id), LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
        }
        SendMessageW(dialog->hwnd(), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Control(id)));
    }
    void Click(int id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    std::string File() const { return CookieKeepListPath(program.path()); }

    test::RecordingMessages messages;
    Regfun registry;
    std::string folder;
    std::unique_ptr<CookieFolderGuard> cookies;
    std::string site;
    std::string bak;
    test::TempFolder program;
    std::unique_ptr<frmcookie> dialog;
};

TEST_F(CookieDialog, LoadListsCookieFilesByFullPathAndTheTrimmedKeepList) {
    cookies->Add("index.dat", "x");
    cookies->Add("hmtest-upper.TXT", "x");
    cookies->Add("hmtest-folder.txt", "", true);
    test::WriteFileText(File(), site + "   \r\nC:\\gone\\old@x[1].txt");
    Open();
    EXPECT_EQ(dialog->CookieFolder(), folder);
    const Lines found = Entries(frmcookie::lstCookieList);
    EXPECT_EQ(found, dialog->Cookies());
    for (const char* name : {"index.dat", "hmtest-upper.TXT", "hmtest-folder.txt"}) {
        EXPECT_EQ(std::count(found.begin(), found.end(), folder + "\\" + name), 0) << name;
    }
    EXPECT_EQ(std::count(found.begin(), found.end(), site), 1);
    EXPECT_EQ(std::count(found.begin(), found.end(), bak), 1);
    EXPECT_EQ(Entries(frmcookie::List1), (Lines{site, "C:\\gone\\old@x[1].txt"}));
    for (int id : {int(frmcookie::lstCookieList), int(frmcookie::List1)}) {
        const LRESULT extent = SendMessageW(Control(id), LB_GETHORIZONTALEXTENT, 0, 0);
        EXPECT_GT(extent, 8);
        EXPECT_EQ(extent, ListTextWidth(Control(id)));
    }
}

// The buttons share their work with the URL dialog's; here they must act on this dialog's lists.
TEST_F(CookieDialog, AddTwiceGivesTwoLinesAndRemovingOneCopyLeavesTheOther) {
    Open();
    ClickEntry(frmcookie::lstCookieList, IndexOf(frmcookie::lstCookieList, site));
    Click(frmcookie::cmdAdd);
    Click(frmcookie::cmdAdd);
    EXPECT_EQ(test::ReadFileText(File()), site + "\r\n" + site + "\r\n");
    ClickEntry(frmcookie::List1, 0);
    Click(frmcookie::cmdRemove);
    EXPECT_EQ(test::ReadFileText(File()), site + "\r\n");
    EXPECT_EQ(Entries(frmcookie::List1), (Lines{site}));
}

TEST_F(CookieDialog, ClickingACookieShowsItsTextAndAGoneFileChangesNothing) {
    const std::string big = cookies->Add("hmtest@big[1].txt", std::string(100 * 1024, 'b'));
    test::WriteFileText(File(), "C:\\gone\\old@x[1].txt\r\n" + bak);
    Open();
    ClickEntry(frmcookie::lstCookieList, IndexOf(frmcookie::lstCookieList, site));
    EXPECT_EQ(dialog->ItemText(frmcookie::Text1), "name\r\nvalue\r\nsite.example/\r\n");
    ClickEntry(frmcookie::List1, 0);
    EXPECT_EQ(dialog->ItemText(frmcookie::Text1), "name\r\nvalue\r\nsite.example/\r\n");
    ClickEntry(frmcookie::List1, 1);
    EXPECT_EQ(dialog->ItemText(frmcookie::Text1), "old");

    // A large file shows its start and says so.
    ClickEntry(frmcookie::lstCookieList, IndexOf(frmcookie::lstCookieList, big));
    const std::string note = "[Only the first 64 KiB of this 102400-byte file are shown.]\r\n\r\n";
    EXPECT_EQ(dialog->ItemText(frmcookie::Text1), note + std::string(64 * 1024, 'b'));
}

TEST_F(CookieDialog, LayoutKeepsEveryControlInsideAndApart) {
    test::WriteFileText(File(), site + "\r\n");
    Open();
    ClickEntry(frmcookie::lstCookieList, IndexOf(frmcookie::lstCookieList, site));
    const HWND window = dialog->hwnd();
    test::ExpectVisibleControlsApart(window, {IDC_COOKIE_FRAME, IDC_COOKIE_CURRENTFRAME,
                                              IDC_COOKIE_KEEPFRAME, IDC_COOKIE_PREVIEWFRAME});
    EXPECT_EQ(GetText(window), "Cookies Options");
    EXPECT_EQ(dialog->ItemText(IDC_COOKIE_FRAME), "Cookies");
    EXPECT_EQ(dialog->ItemText(IDC_COOKIE_CURRENTFRAME), "&Current Cookies List");
    EXPECT_EQ(dialog->ItemText(IDC_COOKIE_KEEPFRAME), "Cookies &Keep List");
    EXPECT_EQ(dialog->ItemText(frmcookie::cmdAdd), "&Add >");
    EXPECT_EQ(dialog->ItemText(frmcookie::cmdRemove), "< &Remove");
    const LONG_PTR preview = GetWindowLongPtrW(Control(frmcookie::Text1), GWL_STYLE);
    EXPECT_EQ(preview & (ES_READONLY | ES_MULTILINE | WS_VSCROLL | WS_HSCROLL),
              ES_READONLY | ES_MULTILINE | WS_VSCROLL | WS_HSCROLL);
    EXPECT_EQ(GetNextDlgTabItem(window, Control(frmcookie::List1), FALSE),
              Control(frmcookie::Text1));
    HoldForScreenshot();
}

// A browser's data folder made for the test below the user's real application-data folder and
// removed with everything in it afterwards; never one that was there before.
class BrowserFolderGuard {
public:
    explicit BrowserFolderGuard(std::string folder)
        : folder_(std::move(folder)), made_(!test::FolderExists(folder_)) {
        if (made_) {
            test::MakeFolders(folder_);
        }
    }
    ~BrowserFolderGuard() {
        if (made_) {
            test::RemoveTree(folder_);
        }
    }
    BrowserFolderGuard(const BrowserFolderGuard&) = delete;
    BrowserFolderGuard& operator=(const BrowserFolderGuard&) = delete;

    bool made() const { return made_; }
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    bool made_;
};

// A cookie database as the browser leaves it: its table with the given hosts.
void MakeCookieDatabase(const std::string& path, const std::string& journalMode,
                        const std::string& table, const std::string& column, const Lines& hosts) {
    test::MakeFolders(path.substr(0, path.rfind('\\')));
    sqlite3* db = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
        SQLITE_OK);
    std::string sql = "PRAGMA journal_mode=" + journalMode + "; CREATE TABLE " + table + " (" +
                      column + " TEXT, name TEXT);";
    for (const std::string& host : hosts) {
        sql += "INSERT INTO " + table + " VALUES ('" + host + "', 'id');";
    }
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << path;
    sqlite3_close_v2(db);
}

// Every file below the folder with its bytes and last-write time.
Lines FilesAndTimes(const std::string& folder) {
    Lines lines;
    for (const std::string& name : test::ListTree(folder)) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        const std::string path = folder + "\\" + name;
        GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
        lines.push_back(name + " " + std::to_string(data.ftLastWriteTime.dwLowDateTime) + " " +
                        (name.ends_with("\\") ? "" : test::ReadShared(path)));
    }
    return lines;
}

class CookieDialogBrowsers : public CookieDialog {
protected:
    void SetUp() override {
        CookieDialog::SetUp();
        firefox = std::make_unique<BrowserFolderGuard>(
            JoinPath(UserShellFolder(registry, "AppData"), "Mozilla\\Firefox"));
        chrome = std::make_unique<BrowserFolderGuard>(
            JoinPath(UserShellFolder(registry, "Local AppData"), "Google\\Chrome\\User Data"));
        if (!firefox->made() || !chrome->made()) {
            GTEST_SKIP() << "this profile has browser data of its own";
        }
        const std::string profiles = firefox->folder() + "\\Profiles";
        test::MakeFolders(profiles + "\\t1.default");
        test::MakeFolders(profiles + "\\t2.running");
        test::WriteFileText(
            firefox->folder() + "\\profiles.ini",
            "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/t1.default\r\n"
            "[Profile1]\r\nName=running\r\nIsRelative=1\r\nPath=Profiles/t2.running\r\n");
        MakeCookieDatabase(profiles + "\\t1.default\\cookies.sqlite", "wal", "moz_cookies", "host",
                           {".Example.com", "www.example.com", "localhost", "[::1]", ""});
        // The browser runs: its log is beside the database, which is passed over.
        MakeCookieDatabase(profiles + "\\t2.running\\cookies.sqlite", "wal", "moz_cookies", "host",
                           {"running.example"});
        test::WriteFileText(profiles + "\\t2.running\\cookies.sqlite-wal", "");
        const std::string data = chrome->folder();
        test::WriteFileText(data + "\\Default\\Preferences", "{}");
        MakeCookieDatabase(data + "\\Default\\Network\\Cookies", "delete", "cookies", "host_key",
                           {".example.com", "a.example"});
        test::WriteFileText(data + "\\Profile 1\\Preferences", "{}");
        MakeCookieDatabase(data + "\\Profile 1\\Cookies", "truncate", "cookies", "host_key",
                           {"old.example"});
    }

    std::unique_ptr<BrowserFolderGuard> firefox;
    std::unique_ptr<BrowserFolderGuard> chrome;
};

TEST_F(CookieDialogBrowsers, SitesFollowTheCookieFilesOnceSortedAndNoBrowserFileChanges) {
    const Lines firefoxBefore = FilesAndTimes(firefox->folder());
    const Lines chromeBefore = FilesAndTimes(chrome->folder());
    Sleep(50);
    Open();
    const Lines sites = {"a.example", "example.com", "localhost", "old.example", "www.example.com"};
    Lines expected = dialog->Cookies();
    expected.insert(expected.end(), sites.begin(), sites.end());
    EXPECT_EQ(Entries(frmcookie::lstCookieList), expected);
    EXPECT_EQ(std::count(expected.begin(), expected.end(), site), 1);
    ASSERT_EQ(dialog->BrowserSites().size(), sites.size());
    EXPECT_EQ(dialog->BrowserSites()[1].holders,
              (Lines{"Firefox (default)", "Google Chrome (Default)"}));
    EXPECT_EQ(dialog->BrowserSites()[3].holders, (Lines{"Google Chrome (Profile 1)"}));
    EXPECT_EQ(FilesAndTimes(firefox->folder()), firefoxBefore);
    EXPECT_EQ(FilesAndTimes(chrome->folder()), chromeBefore);
}

TEST_F(CookieDialogBrowsers, AddingASiteStoresItBareAndItsPreviewNamesTheBrowsers) {
    const std::string kKeepsBelow = "Kept, the site keeps them and those of every site below it.";
    test::WriteFileText(File(), "C:\\gone\\old@x[1].txt\r\nHTTP://Old.Example/\r\n");
    Open();
    ClickEntry(frmcookie::lstCookieList, IndexOf(frmcookie::lstCookieList, "example.com"));
    EXPECT_EQ(dialog->ItemText(frmcookie::Text1),
              "Cookies of example.com are held by:\r\n    Firefox (default)\r\n"
              "    Google Chrome (Default)\r\n\r\n" +
                  kKeepsBelow);
    Click(frmcookie::cmdAdd);
    EXPECT_EQ(test::ReadFileText(File()),
              "C:\\gone\\old@x[1].txt\r\nHTTP://Old.Example/\r\nexample.com\r\n");
    EXPECT_EQ(Entries(frmcookie::List1),
              (Lines{"C:\\gone\\old@x[1].txt", "HTTP://Old.Example/", "example.com"}));
    // A kept line as typed shows the site it names; a cookie file is still read as a file.
    ClickEntry(frmcookie::List1, 1);
    EXPECT_EQ(dialog->ItemText(frmcookie::Text1),
              "Cookies of old.example are held by:\r\n    Google Chrome (Profile 1)\r\n\r\n" +
                  kKeepsBelow);
    ClickEntry(frmcookie::lstCookieList, IndexOf(frmcookie::lstCookieList, site));
    EXPECT_EQ(dialog->ItemText(frmcookie::Text1), "name\r\nvalue\r\nsite.example/\r\n");
    test::WriteFileText(File(), "gone.example\r\n");
    dialog.reset();
    Open();
    ClickEntry(frmcookie::List1, 0);
    EXPECT_EQ(dialog->ItemText(frmcookie::Text1), "No browser holds cookies of gone.example now.");
    HoldForScreenshot();
}

}  // namespace
}  // namespace hm
