// frmLocate's "&Delete selected" (for good and to the Recycle Bin, with its one-time warning),
// "&Reset All", and the extension dialog opened from it.
#include <gtest/gtest.h>
#include <windows.h>

#include "search/gui_frm_extentions.h"
#include "search/locate_fixture.h"
#include "search/search_test_support.h"

namespace hm {
namespace {

constexpr const char* kWarning =
    "Deleting file from your Hard Disk is risky... make sure you know what your doing!\r\n"
    "Do you want to continue?\r\n"
    "(if you click yes, this message will no apear again)";

class LocateDelete : public test::LocateFixture {
protected:
    void Delete() { Click(F::cmdDelete); }
    void SelectOnly(const std::string& fragment) {
        Click(F::cmdUnSelectAll);
        const Lines entries = Entries();
        for (std::size_t index = 0; index < entries.size(); ++index) {
            if (entries[index].find(fragment) != std::string::npos) {
                SendMessageW(Control(F::List1), LB_SETSEL, TRUE, static_cast<LPARAM>(index));
            }
        }
    }
};

TEST_F(LocateDelete, DeletingForGoodWarnsOnceThenSearchesAgainWithoutSubFolders) {
    Make({"a.tmp", "b.gid", "keep.txt", "sub\\c.tmp", "sub\\d.tmp"});
    Open();
    SetChecked(F::chkDelType, false);
    Find("*.tmp;*.gid");
    SelectOnly("a.tmp");
    Delete();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, kWarning);
    EXPECT_EQ(asked[0].title, "Note");
    EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_ICONWARNING | MB_YESNO));
    EXPECT_EQ(Setting("General", "Prompt"), "0");
    EXPECT_FALSE(test::FileExists(tree / "a.tmp"));
    EXPECT_TRUE(test::FileExists(tree / "sub\\c.tmp"));
    // The search ran again, in the folder alone.
    EXPECT_FALSE(Checked(F::Check1));
    EXPECT_EQ(Setting("StartUp", "SubFolders"), "0");
    EXPECT_EQ(Listed(), (Lines{"b.gid"}));
    EXPECT_EQ(Text(F::cmdAction1), "E&xit");

    // All entries are selected after a search: the next delete takes them all, unasked.
    SetChecked(F::Check1, true);
    Click(F::cmdAction0);
    EXPECT_EQ(SelectedCount(), 3);
    Delete();
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(test::ListTree(tree.path()), (Lines{"keep.txt", "sub\\"}));

    // Each opening stores "1" again.
    Open();
    Make({"e.tmp"});
    SetChecked(F::chkDelType, false);
    Find("*.tmp");
    Delete();
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_FALSE(test::FileExists(tree / "e.tmp"));
}

TEST_F(LocateDelete, NoToTheWarningDeletesNothing) {
    Make({"a.tmp"});
    Open();
    SetChecked(F::chkDelType, false);
    Find("*.tmp");
    answer = IDNO;
    Delete();
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_TRUE(test::FileExists(tree / "a.tmp"));
    EXPECT_EQ(Setting("General", "Prompt"), "1");
    EXPECT_TRUE(Checked(F::Check1));
    EXPECT_EQ(Listed(), (Lines{"a.tmp"}));
}

TEST_F(LocateDelete, TheStoredPathIsDeletedNotTheTextBeforeTwoBlanks) {
    // The decoy is what the entry's text names up to its first two blanks.
    Make({"junk  report.tmp", "junk", "Thumbs.db", "x.tmp"});
    Open();
    SetChecked(F::chkDelType, false);
    Find("*.tmp;Thumbs.db");
    EXPECT_EQ(Listed(), (Lines{"Thumbs.db", "junk  report.tmp", "x.tmp"}));
    SelectOnly("junk");
    Delete();
    EXPECT_FALSE(test::FileExists(tree / "junk  report.tmp"));
    EXPECT_TRUE(test::FileExists(tree / "junk"));
    // An exact-name entry holds its file too.
    Find("Thumbs.db");
    Delete();
    EXPECT_FALSE(test::FileExists(tree / "Thumbs.db"));
    EXPECT_TRUE(test::FileExists(tree / "x.tmp"));
}

TEST_F(LocateDelete, DeletingToTheRecycleBinMovesTheFilesToTheTrash) {
    const std::string trash = test::TrashFilesFolder();
    if (trash.empty()) {
        GTEST_SKIP() << "no Wine trash folder";
    }
    const std::string name = "bin-" + std::to_string(GetTickCount64()) + "-ファイル.tmp";
    Make({name, "sub\\other.tmp"});
    Open();
    ASSERT_TRUE(Checked(F::chkDelType));
    Find("*.tmp");
    SelectOnly("ファイル");
    Delete();
    EXPECT_FALSE(test::FileExists(tree / name));
    EXPECT_EQ(test::ReadFileText(trash + "\\" + name), "x");
    EXPECT_TRUE(test::FileExists(tree / "sub\\other.tmp"));
    DeleteFileW(Widen(trash + "\\" + name).c_str());
    DeleteFileW(Widen(trash.substr(0, trash.size() - 5) + "info\\" + name + ".trashinfo").c_str());
}

TEST_F(LocateDelete, ResetAllRestoresTheSettingsAndTheDefaultExtensions) {
    Open();
    window->ChangeDir(tree.path());
    SetChecked(F::Check1, false);
    SetChecked(F::chkDelType, false);
    window->settings().Save("General", "Prompt", "0");
    test::WriteFileText(program / "Ext.txt", "*.log\r\n");
    SetControlText(F::Text1, "*.log");
    Menu(F::menuResetAll);
    EXPECT_TRUE(asked.empty());  // "Uses" is missing: one use, no question
    EXPECT_TRUE(Checked(F::Check1));
    EXPECT_TRUE(Checked(F::chkDelType));
    const std::pair<const char*, const char*> stored[] = {
        {"StartUp\\AppPath", nullptr},
        {"StartUp\\Log", "1"},
        {"StartUp\\Recycele", "1"},
        {"StartUp\\SubFolders", "1"},
        {"General\\Tips", "1"},
        {"General\\TipNumber", "1"},
        {"General\\Prompt", "1"},
        {"General\\MaxLogSize", "80"},
        {"General\\DeleteDirs", "c:\\windows\\temp\\;C:\\WINDOWS\\Temporary Internet Files\\;"},
    };
    for (const auto& [path, value] : stored) {
        const std::string section(path, std::string(path).find('\\'));
        const std::string key = std::string(path).substr(section.size() + 1);
        EXPECT_EQ(Setting(section.c_str(), key.c_str()), value ? value : program.path() + "\\")
            << path;
    }
    EXPECT_EQ(test::ReadFileText(program / "Ext.txt"), "*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n");
    EXPECT_EQ(Text(F::Text1), "*.log");  // until the list is next changed or the window reopens

    window->settings().Save("General", "Uses", "3");
    window->settings().Save("General", "Prompt", "0");
    answer = IDNO;
    Menu(F::menuResetAll);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Do you want to reset all of the parameters to default? ");
    EXPECT_EQ(asked[0].title, "Are you sure?");
    EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(Setting("General", "Prompt"), "0");
}

// Drives the modal extension dialog once its loop runs: adds "*.log" and closes it.
void CALLBACK AddLogAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowW(L"#32770", L"Options");
    if (dialog == nullptr) {
        return;
    }
    KillTimer(nullptr, timer);
    SetWindowTextW(GetDlgItem(dialog, frmExtentions::txtAdd), L"  *.log ");
    SendMessageW(GetDlgItem(dialog, frmExtentions::cmdAdd), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(dialog, frmExtentions::cmdDone), BM_CLICK, 0, 0);
}

TEST_F(LocateDelete, TheExtensionDialogHandsItsNewPatternsToThePatternText) {
    Open();
    for (int id : {int(F::cmdOption), int(F::mnuOptions)}) {
        SetTimer(nullptr, 0, 20, &AddLogAndClose);
        if (id == F::cmdOption) {
            Click(id);
        } else {
            Menu(id);
        }
    }
    EXPECT_EQ(Text(F::Text1), "*.tmp;*.gid;*.swp;*.chk;*.log;*.log");
    EXPECT_EQ(Setting("General", "MaxLogSize"), "80");
}

}  // namespace
}  // namespace hm
