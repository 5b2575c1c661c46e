// frmExtentions driven in-process on a throwaway program folder: what it lists, what "&Add",
// "&Remove" and "&Default" write, and the pattern text it hands to the search window.
#include "search/gui_frm_extentions.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/gui_controls.h"
#include "platform/text.h"
#include "search/lintwell_settings.h"
#include "search/search_test_support.h"
#include "support/gui_support.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using F = frmExtentions;
using Lines = std::vector<std::string>;

class ExtensionDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::InitCommonControlsForTests(); }
    ~ExtensionDialog() override { dialog.reset(); }

    void Open(const std::string& list) {
        test::WriteFileText(program / "Ext.txt", list);
        dialog = std::make_unique<frmExtentions>(
            program.path(), settings, [this](const std::string& text) { handed.push_back(text); },
            [this](HWND, const std::wstring& text, const std::wstring& title, UINT type) {
                asked.push_back(Narrow(title) + "|" + Narrow(text) + "|" + std::to_string(type));
                return answer;
            });
        ASSERT_TRUE(dialog->ShowModeless(nullptr));
    }
    Lines Listed() const {
        Lines lines;
        const HWND list = dialog->Item(F::lstFileTypes);
        for (LRESULT index = 0; index < SendMessageW(list, LB_GETCOUNT, 0, 0); ++index) {
            wchar_t text[256] = {};
            SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
            lines.push_back(Narrow(text));
        }
        return lines;
    }
    void Add(const std::string& text) {
        SetText(dialog->Item(F::txtAdd), text);
        SendMessageW(dialog->Item(F::cmdAdd), BM_CLICK, 0, 0);
    }
    void Select(int index) { SendMessageW(dialog->Item(F::lstFileTypes), LB_SETCURSEL, index, 0); }
    void Click(int id) { SendMessageW(dialog->Item(id), BM_CLICK, 0, 0); }
    std::string Stored() const { return test::ReadFileText(program / "Ext.txt"); }
    std::string Box() const { return GetText(dialog->Item(F::txtAdd)); }

    test::TempFolder program;
    test::TempRegKey store;
    search::LintwellSettings settings{store.subKey()};
    Lines handed;
    Lines asked;
    int answer = IDYES;
    std::unique_ptr<frmExtentions> dialog;
};

TEST_F(ExtensionDialog, LoadListsTheValidLinesAndStoresTheLogSizeOnce) {
    Open("*.tmp\r\nreadme.txt\r\n*.\r\n*.gid\r\n");
    EXPECT_EQ(GetText(dialog->hwnd()), "Options");
    EXPECT_EQ(Listed(), (Lines{"*.tmp", "*.gid"}));
    EXPECT_EQ(Box(), "*.");
    EXPECT_EQ(settings.Get("General", "MaxLogSize", ""), "80");
    EXPECT_EQ(GetText(dialog->Item(F::Frame1)), "Extention List:");
    EXPECT_EQ(GetText(dialog->Item(F::Frame2)), "Extention Options:");
    EXPECT_EQ(GetText(dialog->Item(F::Label2)), "Extention:");
    EXPECT_EQ(GetText(dialog->Item(F::cmdRemove)), "&Remove");
    EXPECT_EQ(GetText(dialog->Item(F::cmdDefault)), "&Default");
    EXPECT_EQ(GetText(dialog->Item(F::cmdDone)), "D&one");
    EXPECT_EQ(GetText(dialog->Item(F::cmdAdd)), "&Add");
    test::ExpectVisibleControlsApart(dialog->hwnd(), {F::Frame1, F::Frame2});
    EXPECT_TRUE(handed.empty());

    settings.Save("General", "MaxLogSize", "12");
    Open("");
    EXPECT_EQ(settings.Get("General", "MaxLogSize", ""), "12");
    EXPECT_TRUE(Listed().empty());
}

TEST_F(ExtensionDialog, AddTrimsStoresAndHandsTheLongerPatternTextOn) {
    Open("*.tmp\r\n");
    Add("  *.log ");
    EXPECT_EQ(Stored(), "*.tmp\r\n*.log\r\n");
    EXPECT_EQ(Listed(), (Lines{"*.tmp", "*.log"}));
    EXPECT_EQ(handed, (Lines{"*.tmp;*.log"}));
    EXPECT_EQ(Box(), "*.");
    Add("*.log");  // duplicates are allowed
    EXPECT_EQ(Listed(), (Lines{"*.tmp", "*.log", "*.log"}));
    EXPECT_TRUE(asked.empty());
}

TEST_F(ExtensionDialog, IllegalEntriesAreRefusedWithTheMessage) {
    Open("*.tmp\r\n");
    for (const char* text : {"log", "*log", "*.", "  *. ", ""}) {
        Add(text);
        EXPECT_EQ(Box(), "*.") << text;
        EXPECT_EQ(GetFocus(), dialog->Item(F::txtAdd)) << text;
    }
    EXPECT_EQ(asked.size(), 5u);
    EXPECT_EQ(asked[0], "Error|Please fill a legal extention name and try again!|" +
                            std::to_string(MB_ICONERROR | MB_OK));
    EXPECT_EQ(Stored(), "*.tmp\r\n");
    EXPECT_TRUE(handed.empty());
}

TEST_F(ExtensionDialog, RemoveTakesEveryCopyOfTheSelectionAndKeepsOtherLines) {
    Open("*.tmp\r\nreadme.txt\r\n*.gid\r\n*.tmp\r\n");
    Select(0);
    Click(F::cmdRemove);
    EXPECT_EQ(Stored(), "readme.txt\r\n*.gid\r\n");
    EXPECT_EQ(Listed(), (Lines{"*.gid"}));
    EXPECT_EQ(handed, (Lines{"*.gid"}));
    // Without a selection only empty lines would go.
    test::WriteFileText(program / "Ext.txt", "*.gid\r\n\r\n*.chk\r\n");
    dialog->LoadExtensionList();
    Select(-1);
    Click(F::cmdRemove);
    EXPECT_EQ(Stored(), "*.gid\r\n*.chk\r\n");
    // Removing the last pattern hands nothing on: the search window keeps its text.
    test::WriteFileText(program / "Ext.txt", "*.gid\r\n");
    dialog->LoadExtensionList();
    Select(0);
    Click(F::cmdRemove);
    EXPECT_EQ(Stored(), "");
    EXPECT_EQ(handed, (Lines{"*.gid", "*.gid;*.chk"}));
}

TEST_F(ExtensionDialog, DefaultAsksAndThenLeavesTheFourDefaultLines) {
    Open("*.log\r\n*.bak\r\n");
    answer = IDNO;
    Click(F::cmdDefault);
    EXPECT_EQ(Stored(), "*.log\r\n*.bak\r\n");
    answer = IDYES;
    Click(F::cmdDefault);
    EXPECT_EQ(asked,
              (Lines(2, "Warnning:|Are you sure you want to Return to the defaul settings?|" +
                            std::to_string(MB_YESNO))));
    EXPECT_EQ(Stored(), "*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n");
    EXPECT_EQ(Listed(), (Lines{"*.tmp", "*.gid", "*.swp", "*.chk"}));
    EXPECT_EQ(handed, (Lines{"*.tmp;*.gid;*.swp;*.chk"}));
    Click(F::cmdDone);
    EXPECT_EQ(dialog->hwnd(), nullptr);
}

TEST_F(ExtensionDialog, Screenshot) {
    Open("*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n*.log\r\n");
    Select(4);
    EXPECT_EQ(Listed().size(), 5u);
    test::HoldForScreenshot();
}

}  // namespace
}  // namespace hm
