// frmcookie driven in-process over the real "Cookies" user shell folder of the test prefix (the
// test's files there are removed afterwards, and the folder too when the test made it) and a
// keepcook.dat in a throwaway program folder.
#include "keeplists/gui_cookie_dialog.h"

#include <gtest/gtest.h>
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

}  // namespace
}  // namespace hm
