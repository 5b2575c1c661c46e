// The shredder's window driven in-process: files arrive as a real drop, buttons are clicked
// through their own messages, the confirmation and the report are recorded instead of shown.
#include "shredder/gui_shredder_window.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/gui_controls.h"
#include "platform/text.h"
#include "shredder/shredder_ids.h"
#include "support/gui_support.h"
#include "support/sandbox.h"
#include "support/shred_support.h"

namespace hm {
namespace {

using test::RowText;
using test::TempFolder;

struct Asked {
    std::string text;
    UINT type;
};

class ShredderWindowTest : public ::testing::Test {
protected:
    ShredderWindowTest() {
        test::InitCommonControlsForTests();
        ShredderServices services;
        services.messageBox = [this](HWND, const std::wstring& text, const std::wstring&,
                                     UINT type) {
            asked.push_back({Narrow(text), type});
            if (whenAsked) {
                whenAsked();
            }
            return answer;
        };
        services.showReport = [this](HWND, const ShredReport& report) {
            reports.push_back(report);
        };
        services.startProgram = [this](const std::string& command) { started.push_back(command); };
        window = std::make_unique<ShredderWindow>(services);
        EXPECT_TRUE(window->ShowModeless(nullptr));
    }

    // Drops the paths on the window the way Explorer does.
    void Drop(const std::vector<std::string>& paths) {
        std::wstring names;
        for (const std::string& path : paths) {
            names += Widen(path) + L'\0';
        }
        names += L'\0';
        const size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GHND, bytes);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        memcpy(reinterpret_cast<BYTE*>(drop) + sizeof(DROPFILES), names.data(),
               names.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        SendMessageW(window->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }
    void Click(int id) { SendMessageW(window->Item(id), BM_CLICK, 0, 0); }
    std::vector<RowText> Rows() const { return test::ListRows(window->Item(IDC_SHR_LIST)); }
    std::string Text(int id) const { return GetText(window->Item(id)); }

    std::unique_ptr<ShredderWindow> window;
    std::vector<Asked> asked;
    std::vector<ShredReport> reports;
    std::vector<std::string> started;
    int answer = IDYES;
    std::function<void()> whenAsked;
    TempFolder area;
};

TEST_F(ShredderWindowTest, DroppedItemsAreListedWithSizesAndGoAfterOneConfirmation) {
    test::WriteFileText(area / "tree\\a.txt", test::SecretText(1000));
    test::WriteFileText(area / "tree\\sub\\b.txt", test::SecretText(234));
    test::WriteFileText(area / "single.txt", "12345");
    Drop({area / "tree", area / "single.txt"});
    EXPECT_EQ(Rows(), (std::vector<RowText>{{area / "tree", "1,234"}, {area / "single.txt", "5"}}));
    EXPECT_EQ(Text(IDC_SHR_TOTAL), "2 items: 3 files, 1,239 bytes");
    EXPECT_TRUE(asked.empty());

    Click(IDC_SHR_SHRED);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text.rfind("Shred 3 files (1,239 bytes) for good?", 0), 0u) << asked[0].text;
    EXPECT_EQ(asked[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(asked[0].type & MB_DEFMASK, static_cast<UINT>(MB_DEFBUTTON2));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].summary, "Shredded 3 files (1,239 bytes) with one pass of random data.");
    EXPECT_EQ(reports[0].results.size(), 5u);  // three files, two folders
    EXPECT_TRUE(test::ListTree(area.path()).empty());
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(Text(IDC_SHR_STATUS), reports[0].summary);
}

TEST_F(ShredderWindowTest, AnsweringNoDestroysNothing) {
    test::WriteFileText(area / "a.txt", "x");
    Drop({area / "a.txt"});
    answer = IDNO;
    Click(IDC_SHR_SHRED);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_TRUE(reports.empty());
    EXPECT_TRUE(test::FileExists(area / "a.txt"));
    EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(ShredderWindowTest, RefusedItemsAreNamedWithTheReasonAndNotListed) {
    Drop({test::ExecutableFolder(), area / "missing.txt"});
    EXPECT_TRUE(Rows().empty());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].text.find(test::ExecutableFolder() + ": it is this program's own folder"),
              std::string::npos)
        << asked[0].text;
    EXPECT_NE(asked[0].text.find("missing.txt: not found"), std::string::npos);
    EXPECT_FALSE(IsWindowEnabled(window->Item(IDC_SHR_SHRED)));
}

TEST_F(ShredderWindowTest, StopEndsTheRunAndKeepsWhatWasNotFinished) {
    test::WriteFileText(area / "big.bin", test::SecretText(6 << 20));
    test::WriteFileText(area / "other.bin", test::SecretText(6 << 20));
    Drop({area / "big.bin", area / "other.bin"});
    // The stop is clicked while the first file is being written; the probe looks at the window
    // at the same moment.
    test::Probe probe;
    bool stopEnabled = false;
    bool shredEnabled = true;
    std::string status;
    whenAsked = [&] {
        probe.Post([&] {
            stopEnabled = IsWindowEnabled(window->Item(IDC_SHR_STOP));
            shredEnabled = IsWindowEnabled(window->Item(IDC_SHR_SHRED));
            status = Text(IDC_SHR_STATUS);
            Click(IDC_SHR_STOP);
        });
    };
    Click(IDC_SHR_SHRED);
    EXPECT_EQ(probe.runs, 1);
    EXPECT_TRUE(stopEnabled);
    EXPECT_FALSE(shredEnabled);
    EXPECT_EQ(status.rfind("Shredding file 1 of 2: ", 0), 0u) << status;
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].summary.find("Stopped: 1 file not started."), std::string::npos)
        << reports[0].summary;
    EXPECT_TRUE(test::FileExists(area / "big.bin"));
    EXPECT_TRUE(test::FileExists(area / "other.bin"));
    EXPECT_EQ(Rows().size(), 2u);
    EXPECT_FALSE(IsWindowEnabled(window->Item(IDC_SHR_STOP)));
    EXPECT_TRUE(IsWindowEnabled(window->Item(IDC_SHR_SHRED)));
}

TEST_F(ShredderWindowTest, AFileInUseIsReportedWithTheReasonAndStaysListed) {
    test::WriteFileText(area / "open.db", test::SecretText(100));
    test::WriteFileText(area / "closed.db", test::SecretText(100));
    test::HeldOpen browser(area / "open.db");
    Drop({area / "open.db", area / "closed.db"});
    Click(IDC_SHR_SHRED);
    ASSERT_EQ(reports.size(), 1u);
    ASSERT_EQ(reports[0].results.size(), 2u);
    EXPECT_EQ(reports[0].results[0].error, static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(reports[0].results[1].error, 0u);
    EXPECT_EQ(Rows(), (std::vector<RowText>{{area / "open.db", "100"}}));
    EXPECT_EQ(test::ReadShared(area / "open.db"), test::SecretText(100));
}

TEST_F(ShredderWindowTest, LinksInADroppedFolderKeepTheirTargets) {
    Drop({test::kShredFixture + "\\window"});
    ASSERT_EQ(Rows().size(), 1u);
    Click(IDC_SHR_SHRED);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_TRUE(test::PreciousIntact());
    EXPECT_FALSE(test::FileExists(test::kShredFixture + "\\window\\plain.txt"));
}

TEST_F(ShredderWindowTest, RemoveClearMethodAndHelp) {
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) {
        test::WriteFileText(area / name, "x");
    }
    Drop({area / "1.txt", area / "2.txt", area / "3.txt", area / "2.txt"});
    EXPECT_EQ(Rows().size(), 3u);  // dropped twice, listed once
    ListView_SetItemState(window->Item(IDC_SHR_LIST), 1, LVIS_SELECTED, LVIS_SELECTED);
    Click(IDC_SHR_REMOVE);
    EXPECT_EQ(window->ListedPaths(), (std::vector<std::string>{area / "1.txt", area / "3.txt"}));

    SendMessageW(window->Item(IDC_SHR_METHOD), CB_SETCURSEL, ShredderWindow::kThreePasses, 0);
    answer = IDNO;
    Click(IDC_SHR_SHRED);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].text.find("3 passes of random data"), std::string::npos);

    Click(IDC_SHR_CLEAR);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(test::ListTree(area.path()).size(), 3u);

    Click(IDC_SHR_HELP);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_NE(started[0].find("hh.exe\" \""), std::string::npos) << started[0];
    EXPECT_NE(started[0].find("\\help.chm::/shredder.html\""), std::string::npos) << started[0];
}

// Every static text and button shows its whole caption at the screen's DPI.
void ExpectCaptionsFit(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[16] = {};
        GetClassNameW(child, kind, 16);
        const bool button = lstrcmpiW(kind, L"Button") == 0;
        const std::wstring text = Widen(GetText(child));
        if (text.empty() || !(button || lstrcmpiW(kind, L"Static") == 0)) {
            continue;
        }
        RECT box = {};
        GetClientRect(child, &box);
        HDC dc = GetDC(child);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(child, WM_GETFONT, 0, 0)));
        RECT need = {0, 0, box.right, 0};
        DrawTextW(dc, text.c_str(), -1, &need,
                  DT_CALCRECT | (button ? DT_SINGLELINE : DT_WORDBREAK));
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        EXPECT_LE(need.right, box.right) << Narrow(text);
        EXPECT_LE(need.bottom, box.bottom) << Narrow(text);
    }
}

TEST_F(ShredderWindowTest, ControlsDoNotOverlapAndCaptionsFit) {
    test::WriteFileText(area / "a.txt", "x");
    Drop({area / "a.txt"});
    test::ExpectVisibleControlsApart(window->hwnd(), {});
    ExpectCaptionsFit(window->hwnd());
}

}  // namespace
}  // namespace hm
