// Mobrin's window driven in-process over a throwaway key that stands for both hives: the list
// with its tick boxes, "Fix selected" with its backup, "Restore...", and the layout.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "app/gui_message_loop.h"
#include "regclean/gui_cleaner_dialog.h"
#include "seeded_registry.h"
#include "support/gui_support.h"

namespace hm::regclean {
namespace {

using D = RegistryCleanerDialog;

struct Row {
    std::vector<std::string> texts;
    bool ticked = false;
};

std::vector<Row> Rows(HWND list) {
    std::vector<Row> rows;
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row) {
        Row read;
        for (int column = 0; column < D::kColumnCount; ++column) {
            wchar_t text[1024] = {};
            ListView_GetItemText(list, row, column, text, 1024);
            read.texts.push_back(Narrow(text));
        }
        read.ticked = ListView_GetCheckState(list, row) != FALSE;
        rows.push_back(read);
    }
    return rows;
}

class CleanerWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { hm::test::InitCommonControlsForTests(); }

    CleanerWindowTest()
        : seeded(root.fullPath() + "\\user", root.fullPath() + "\\machine", files.path()) {}
    ~CleanerWindowTest() override { dialog.reset(); }

    void Open(bool scanOnOpen = false, bool includeMachine = true) {
        CleanerSettings settings;
        settings.scope = {root.fullPath() + "\\user", root.fullPath() + "\\machine",
                          includeMachine};
        settings.backupsFolder = backups / "Backups";
        settings.scanOnOpen = scanOnOpen;
        settings.ask = [this](HWND, const std::string& text, UINT) {
            asked.push_back(text);
            return answer;
        };
        settings.chooseBackup = [this](HWND, const std::string& folder) {
            chooserFolder = folder;
            return chosen;
        };
        dialog = std::make_unique<D>(std::move(settings));
        ASSERT_TRUE(dialog->ShowModeless(nullptr));
    }
    void Click(int id) { SendMessageW(dialog->Item(id), BM_CLICK, 0, 0); }
    HWND List() const { return dialog->Item(D::List); }
    std::vector<std::string> Backups() {
        return hm::test::FolderExists(backups / "Backups") ? hm::test::ListTree(backups / "Backups")
                                                           : std::vector<std::string>{};
    }

    hm::test::TempRegKey root;
    hm::test::TempFolder files;
    hm::test::TempFolder backups;
    test::SeededRegistry seeded;
    std::unique_ptr<D> dialog;
    std::vector<std::string> asked;
    int answer = IDYES;
    std::string chosen;
    std::string chooserFolder;
};

TEST_F(CleanerWindowTest, FixesOnlyTheTickedRowsAfterABackupAndRestoresThem) {
    const test::Snapshot before = test::Take({root.fullPath()});
    Open(true);
    EXPECT_EQ(dialog->ItemText(D::Scope), D::ScopeText(true));
    hm::message_loop::PumpPending();  // the scan posted at opening
    std::vector<Row> rows = Rows(List());
    ASSERT_EQ(rows.size(), seeded.broken().size());
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const Row& shown = rows[static_cast<std::size_t>(row)];
        EXPECT_EQ(shown.ticked, shown.texts[D::kCategory] != "Uninstall") << shown.texts[D::kKey];
        EXPECT_NE(shown.texts[D::kReason], "");
        // Keep one start-up entry: untick it.
        if (shown.texts[D::kValue] == "HmGone " + seeded.tag()) {
            EXPECT_EQ(shown.texts[D::kKey], seeded.userSoftware(kRunKey));
            EXPECT_EQ(shown.texts[D::kPointsAt],
                      files.path() + "\\Gone " + seeded.tag() + "\\gone app.exe");
            ListView_SetCheckState(List(), row, FALSE);
        }
    }
    Click(D::FixButton);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].rfind("Remove " + std::to_string(rows.size() - 2) + " entries", 0), 0u)
        << asked[0];
    ASSERT_EQ(Backups().size(), 1u);
    const std::size_t fixed = rows.size() - 2;

    rows = Rows(List());
    ASSERT_EQ(rows.size(), 2u);  // the unticked start-up entry and the uninstall entry
    for (const Row& row : rows) {
        EXPECT_TRUE(row.texts[D::kValue] == "HmGone " + seeded.tag() ||
                    row.texts[D::kCategory] == "Uninstall")
            << row.texts[D::kKey];
    }
    EXPECT_EQ(dialog->ItemText(D::Status).rfind("Removed " + std::to_string(fixed), 0), 0u)
        << dialog->ItemText(D::Status);

    chosen = backups / ("Backups\\" + Backups()[0]);
    Click(D::RestoreButton);
    EXPECT_EQ(chooserFolder, backups / "Backups");
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(test::Take({root.fullPath()}), before);
    EXPECT_EQ(Rows(List()).size(), seeded.broken().size());
    EXPECT_EQ(dialog->ItemText(D::Status).rfind("Restored ", 0), 0u) << dialog->ItemText(D::Status);
}

TEST_F(CleanerWindowTest, WithoutAdministratorRightsOnlyTheUsersEntriesAreListed) {
    Open(false, false);
    EXPECT_EQ(dialog->ItemText(D::Scope), D::ScopeText(false));
    EXPECT_NE(D::ScopeText(false), D::ScopeText(true));
    Click(D::ScanButton);
    const std::vector<Row> rows = Rows(List());
    EXPECT_EQ(rows.size() + 2, seeded.broken().size());  // the machine's Run value and shared DLL
    for (const Row& row : rows) {
        EXPECT_EQ(row.texts[D::kKey].rfind(root.fullPath() + "\\user\\", 0), 0u);
    }
}

TEST_F(CleanerWindowTest, AnsweringNoChangesNothing) {
    const test::Snapshot before = test::Take({root.fullPath()});
    Open();
    Click(D::ScanButton);
    answer = IDNO;
    Click(D::FixButton);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_TRUE(Backups().empty());
    chosen = "";
    Click(D::RestoreButton);  // cancelled in the chooser: no question, no change
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(test::Take({root.fullPath()}), before);
    for (int row = 0; row < ListView_GetItemCount(List()); ++row) {
        ListView_SetCheckState(List(), row, FALSE);
    }
    answer = IDYES;
    Click(D::FixButton);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(dialog->ItemText(D::Status), "Tick the entries to fix first.");
}

TEST_F(CleanerWindowTest, ControlsStayApartAndTheListTakesTheRoomWhenResized) {
    Open();
    hm::test::ExpectVisibleControlsApart(dialog->hwnd(), {});
    SendMessageW(dialog->hwnd(), WM_COMMAND, IDOK, 0);  // Enter
    ASSERT_NE(dialog->hwnd(), nullptr);
    RECT list = {};
    GetWindowRect(List(), &list);
    RECT window = {};
    GetWindowRect(dialog->hwnd(), &window);
    SetWindowPos(dialog->hwnd(), nullptr, 0, 0, window.right - window.left + 200,
                 window.bottom - window.top + 120, SWP_NOMOVE | SWP_NOZORDER);
    hm::test::ExpectVisibleControlsApart(dialog->hwnd(), {});
    RECT grown = {};
    GetWindowRect(List(), &grown);
    EXPECT_EQ(grown.right - grown.left, list.right - list.left + 200);
    EXPECT_EQ(grown.bottom - grown.top, list.bottom - list.top + 120);
    // Never smaller than the template.
    SetWindowPos(dialog->hwnd(), nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
    RECT shrunk = {};
    GetWindowRect(dialog->hwnd(), &shrunk);
    EXPECT_EQ(shrunk.right - shrunk.left, window.right - window.left);
}

}  // namespace
}  // namespace hm::regclean
