// frmurl driven in-process: it loads the real typed-address key of the test prefix (saved and
// restored around each test) and keepurl.dat from a throwaway program folder; clicks go in as
// BM_CLICK after LB_SETSEL, and the lists and the file are read back.
#include "keeplists/gui_url_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/gui_controls.h"
#include "keeplists/keep_list_file.h"
#include "keeplists/keep_lists.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "support/gui_support.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using Lines = std::vector<std::string>;

// Keeps a copy of the user's typed-address key in a throwaway key and puts it back when it goes.
class TypedUrlsGuard {
public:
    TypedUrlsGuard() {
        RegKey typed;
        RegKey copy;
        existed_ = typed.Open(HKEY_CURRENT_USER, kTypedUrlsSubKey, KEY_READ) == ERROR_SUCCESS;
        if (existed_ && copy.Open(HKEY_CURRENT_USER, saved_.subKey(), KEY_ALL_ACCESS) == 0) {
            RegCopyTreeW(typed.get(), nullptr, copy.get());
        }
    }
    ~TypedUrlsGuard() {
        RegDeleteTreeW(HKEY_CURRENT_USER, Widen(kTypedUrlsSubKey).c_str());
        RegKey typed;
        RegKey copy;
        if (existed_ && typed.Create(HKEY_CURRENT_USER, kTypedUrlsSubKey) == 0 &&
            copy.Open(HKEY_CURRENT_USER, saved_.subKey(), KEY_READ) == 0) {
            RegCopyTreeW(copy.get(), nullptr, typed.get());
        }
    }
    TypedUrlsGuard(const TypedUrlsGuard&) = delete;
    TypedUrlsGuard& operator=(const TypedUrlsGuard&) = delete;

    // Empties the key and fills it with url1, url2, ... in order.
    static void Set(const Lines& addresses) {
        RegDeleteTreeW(HKEY_CURRENT_USER, Widen(kTypedUrlsSubKey).c_str());
        for (std::size_t i = 0; i < addresses.size(); ++i) {
            test::SetRegText(kTypedUrlsSubKey, "url" + std::to_string(i + 1), addresses[i]);
        }
    }

private:
    test::TempRegKey saved_;
    bool existed_ = false;
};

// With HM_SHOW_SECONDS set, keeps the window up that long so that a screenshot can be taken.
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

class UrlDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::InitCommonControlsForTests(); }

    void Open() {
        dialog = std::make_unique<frmurl>(program.path());
        ASSERT_TRUE(dialog->ShowModeless(nullptr));
    }
    HWND List(int id) const { return dialog->Item(id); }
    Lines Entries(int id) const { return ListBoxEntries(List(id)); }
    int Extent(int id) const {
        return static_cast<int>(SendMessageW(List(id), LB_GETHORIZONTALEXTENT, 0, 0));
    }
    void Select(int id, int index) {
        if (id == frmurl::List1) {
            SendMessageW(List(id), LB_SETSEL, TRUE, index);  // adds to the selection
        } else {
            SendMessageW(List(id), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    }
    void Click(int id) { SendMessageW(dialog->Item(id), BM_CLICK, 0, 0); }
    std::string File() const { return UrlKeepListPath(program.path()); }

    TypedUrlsGuard typedUrls;
    test::TempFolder program;
    std::unique_ptr<frmurl> dialog;
};

TEST_F(UrlDialog, LoadShowsTheDropListAndTheTrimmedKeepListBothScrollable) {
    // The registry routine reads at most 255 bytes of a value: a longer address is left out, and
    // the listing goes on after it.
    const std::string longAddress = "http://long.example/" + std::string(230, 'q');
    TypedUrlsGuard::Set({"http://a.example/", "http://too-long.example/" + std::string(240, 'q'),
                         longAddress, "http://c.example/?a&b"});
    test::WriteFileText(File(), "http://k1.example/   \r\n\r\nhttp://k2.example/");
    Open();
    EXPECT_EQ(Entries(frmurl::List2),
              (Lines{"http://a.example/", longAddress, "http://c.example/?a&b"}));
    EXPECT_EQ(Entries(frmurl::List1), (Lines{"http://k1.example/", "", "http://k2.example/"}));
    // The pass reads the same entries without the window.
    EXPECT_EQ(KeepListFiles(program.path()).KeptAddresses(), Entries(frmurl::List1));
    EXPECT_GT(Extent(frmurl::List1), 8);
    EXPECT_EQ(Extent(frmurl::List1), ListTextWidth(List(frmurl::List1)));
    EXPECT_EQ(Extent(frmurl::List2), ListTextWidth(List(frmurl::List2)));
    EXPECT_GT(Extent(frmurl::List2), 4 * Extent(frmurl::List1));

    // No keep list: the long typed addresses still scroll.
    dialog.reset();
    DeleteFileW(Widen(File()).c_str());
    Open();
    EXPECT_TRUE(Entries(frmurl::List1).empty());
    EXPECT_EQ(Extent(frmurl::List2), ListTextWidth(List(frmurl::List2)));
}

TEST_F(UrlDialog, AddTwiceGivesTwoTrimmedLinesAndRemovingOneCopyLeavesTheOther) {
    TypedUrlsGuard::Set({"http://x.example/", "http://dup.example/   "});
    Open();
    Click(frmurl::cmdAdd);  // nothing selected: nothing added
    EXPECT_FALSE(test::FileExists(File()));
    Select(frmurl::List2, 1);
    Click(frmurl::cmdAdd);
    Click(frmurl::cmdAdd);
    EXPECT_EQ(test::ReadFileText(File()), "http://dup.example/\r\nhttp://dup.example/\r\n");
    EXPECT_EQ(Entries(frmurl::List1), (Lines{"http://dup.example/", "http://dup.example/"}));
    EXPECT_EQ(Extent(frmurl::List1), ListTextWidth(List(frmurl::List1)));

    Select(frmurl::List1, 1);
    Click(frmurl::cmdRemove);
    EXPECT_EQ(test::ReadFileText(File()), "http://dup.example/\r\n");
    EXPECT_EQ(Entries(frmurl::List1), (Lines{"http://dup.example/"}));
}

TEST_F(UrlDialog, RemoveTakesEverySelectedEntryAndRewritesTheRestInOrder) {
    TypedUrlsGuard::Set({});
    test::WriteFileText(File(),
                        "http://a/\r\nhttp://b/\r\nhttp://c/\r\nhttp://d/\r\nhttp://ee/\r\n");
    Open();
    for (int index : {1, 3, 4}) {
        Select(frmurl::List1, index);
    }
    Click(frmurl::cmdRemove);
    EXPECT_EQ(Entries(frmurl::List1), (Lines{"http://a/", "http://c/"}));
    EXPECT_EQ(test::ReadFileText(File()), "http://a/\r\nhttp://c/\r\n");
    EXPECT_EQ(test::ListTree(program.path()), (Lines{"keepurl.dat"}));

    Select(frmurl::List1, 0);
    Select(frmurl::List1, 1);
    Click(frmurl::cmdRemove);
    EXPECT_TRUE(Entries(frmurl::List1).empty());
    ASSERT_TRUE(test::FileExists(File()));
    EXPECT_EQ(test::ReadFileText(File()), "");
    EXPECT_EQ(Extent(frmurl::List1), 0);
}

TEST_F(UrlDialog, ListTextWidthMeasuresTheWidestEntryInTheListsOwnFont) {
    TypedUrlsGuard::Set({"iiii", "WWWW"});
    Open();
    const HWND list = List(frmurl::List2);
    const int both = ListTextWidth(list);
    SendMessageW(list, LB_DELETESTRING, 1, 0);
    const int narrow = ListTextWidth(list);
    EXPECT_GT(narrow, 8);
    EXPECT_GT(both, narrow);
    const HFONT big = CreateFontW(-60, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH, L"Tahoma");
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
    EXPECT_GT(ListTextWidth(list), 2 * narrow);
    dialog.reset();
    DeleteObject(big);
}

TEST_F(UrlDialog, LayoutKeepsEveryControlInsideAndApart) {
    TypedUrlsGuard::Set({"http://a.example/"});
    test::WriteFileText(File(), "http://k.example/\r\n");
    Open();
    const HWND window = dialog->hwnd();
    test::ExpectVisibleControlsApart(window, {IDC_URL_FRAME});
    EXPECT_EQ(GetText(window), "URL Drop-List Options");
    EXPECT_EQ(dialog->ItemText(IDC_URL_FRAME), "URL Drop-List");
    EXPECT_EQ(dialog->ItemText(IDC_URL_LIST2LABEL), "&Current URL List");
    EXPECT_EQ(dialog->ItemText(IDC_URL_LIST1LABEL), "URL &Keep List");
    EXPECT_EQ(dialog->ItemText(frmurl::cmdAdd), "&Add >");
    EXPECT_EQ(dialog->ItemText(frmurl::cmdRemove), "< &Remove");
    EXPECT_NE(GetWindowLongPtrW(List(frmurl::List1), GWL_STYLE) & LBS_EXTENDEDSEL, 0);
    // Tab runs from the drop list through the buttons to the keep list.
    EXPECT_EQ(GetNextDlgTabItem(window, List(frmurl::List2), FALSE), dialog->Item(frmurl::cmdAdd));
    EXPECT_EQ(GetNextDlgTabItem(window, dialog->Item(frmurl::cmdRemove), FALSE),
              List(frmurl::List1));
    HoldForScreenshot();
}

}  // namespace
}  // namespace hm
