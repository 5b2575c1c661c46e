// The clean-items dialog's "Community Rules" tab: which rules of winapp2.ini it lists and how,
// the warning asked before a tick, what "OK" and "Cancel" store, and "Import rules...".
#include "tests/config/settings_dialog_fixture.h"

namespace hm {
namespace {

using F = frmsettings;
using test::SettingsDialogTest;

class SettingsWinapp2Test : public SettingsDialogTest {
protected:
    // Rules aimed at folders of the throwaway program folder: two groups of rules that apply
    // (one with a warning), one that does not, and one refused for emptying the Windows folder.
    std::string Rules() const {
        test::MakeFolders(program / "app\\cache");
        const std::string app = program / "app";
        return "; community rules\r\n"
               "[Zeta Viewer *]\r\nSection=Viewers\r\nDetectFile=" +
               app +
               "\r\n"
               "FileKey1=" +
               app +
               "\\cache|*.tmp\r\n"
               "[Absent Tool *]\r\nSection=Viewers\r\nDetectFile=" +
               program / "missing" +
               "\r\n"
               "FileKey1=" +
               program / "missing" +
               "|*.*\r\n"
               "[Windows Sweep *]\r\nSection=Everything\r\n"
               "FileKey1=%WinDir%|*.*|RECURSE\r\n"
               "[Alpha Logs *]\r\nSection=Viewers\r\nDetectFile=" +
               app +
               "\\cache\r\n"
               "Warning=Crash reports go too.\r\nFileKey1=" +
               app + "|*.log\r\n";
    }
    HWND List() const { return Control(F::Winapp2List); }
    // Each row as "text|note|box" (box: - none, 0 clear, 1 ticked).
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        const int count = static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) {
            const auto image = (SendMessageW(List(), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) &
                                LVIS_STATEIMAGEMASK) >>
                               12;
            rows.push_back(test::Cell(List(), row, 0) + "|" + test::Cell(List(), row, 1) + "|" +
                           (image == 0   ? "-"
                            : image == 2 ? "1"
                                         : "0"));
        }
        return rows;
    }
    // As the user's click on a row's box does.
    void Tick(int row, bool ticked) {
        LVITEMW item = {};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
        SendMessageW(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
        test::PumpPending();
    }
    // As the space bar on the focused row does.
    void PressSpace(int row) {
        Reveal(List());
        SetFocus(List());
        LVITEMW item = {};
        item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
        item.state = LVIS_FOCUSED | LVIS_SELECTED;
        SendMessageW(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
        MSG key = {List(), WM_KEYDOWN, VK_SPACE, 0, 0, {}};
        if (!IsDialogMessageW(dialog->hwnd(), &key)) {
            DispatchMessageW(&key);
        }
        test::PumpPending();
    }
    std::string Stored(const char* name) const { return ReadIniValue(Settings(), "Winapp2", name); }
};

constexpr const char* kRefusedRow = "Windows Sweep|Refused: FileKey1 reaches";

TEST_F(SettingsWinapp2Test, ListsTheRulesThatApplyByGroupAndRefusedOnesWithoutABox) {
    Open();
    EXPECT_EQ(Rows().size(), 0u);
    EXPECT_NE(GetText(Control(F::Winapp2Note)).find("No winapp2.ini"), std::string::npos);
    Click(F::Command3);

    test::WriteFileText(program / "winapp2.ini", Rules());
    WriteIniValue(Settings(), "Winapp2", "Zeta Viewer", "1");
    WriteIniValue(Settings(), "Winapp2", "Windows Sweep", "1");
    Open();
    EXPECT_EQ(GetText(Control(F::Winapp2Note)),
              "3 rules of 4 in winapp2.ini apply to this computer; 1 refused.");
    const std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], "Everything||-");
    EXPECT_EQ(rows[1].rfind(kRefusedRow, 0), 0u) << rows[1];
    EXPECT_NE(rows[1].find("protected folder"), std::string::npos) << rows[1];
    EXPECT_NE(rows[1].find("with RECURSE|"), std::string::npos) << rows[1];
    EXPECT_EQ(rows[1].back(), '-');
    EXPECT_EQ(rows[2], "Viewers||-");
    EXPECT_EQ(rows[3], "Zeta Viewer||1");
    EXPECT_EQ(rows[4], "Alpha Logs|Warning: Crash reports go too.|0");
    // Neither a group's title nor a refused rule takes a tick.
    Tick(0, true);
    Tick(1, true);
    EXPECT_EQ(Rows(), rows);
    EXPECT_TRUE(asked.empty());
    // The tab is laid out like the others and shows its list.
    Reveal(List());
    EXPECT_TRUE(IsWindowVisible(List()));
    EXPECT_EQ(test::WithoutAccessKey(GetText(Control(F::Winapp2Import))), "Import rules...");
}

TEST_F(SettingsWinapp2Test, AWarningIsAskedOnceBeforeTheTickAndOkStoresWhatCancelDoesNot) {
    test::WriteFileText(program / "winapp2.ini", Rules());
    Open();
    answers = {IDCANCEL};
    Tick(4, true);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Alpha Logs:\r\n\r\nCrash reports go too.");
    EXPECT_EQ(asked[0].title, "Hushmark");
    EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING));
    EXPECT_EQ(Rows()[4].back(), '0');
    answers = {IDOK};
    PressSpace(4);
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(Rows()[4].back(), '1');
    PressSpace(3);  // no warning: ticks at once
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(Rows()[3].back(), '1');

    Click(F::Command3);
    EXPECT_EQ(test::ListTree(program.path()),
              (std::vector<std::string>{"app\\", "app\\cache\\", "winapp2.ini"}));

    Open();
    EXPECT_EQ(Rows()[3].back(), '0');
    Tick(4, true);
    Tick(3, true);
    Tick(3, false);  // clearing asks nothing
    EXPECT_EQ(asked.size(), 3u);
    Save();
    EXPECT_EQ(Stored("Alpha Logs"), "1");
    EXPECT_EQ(Stored("Zeta Viewer"), "0");
    EXPECT_EQ(Stored("Windows Sweep"), "");
    EXPECT_EQ(Stored("Absent Tool"), "");
    // A stored tick comes back without a question.
    Open();
    EXPECT_EQ(Rows()[4].back(), '1');
    EXPECT_EQ(asked.size(), 3u);
}

TEST_F(SettingsWinapp2Test, ImportCopiesTheFileBesideTheProgramAndRefusesGarbage) {
    test::TempFolder elsewhere;
    const std::string chosen = elsewhere / "my rules.ini";
    test::WriteFileText(chosen, Rules());
    Open();
    Click(F::Winapp2Import);  // cancelled: nothing happens
    EXPECT_FALSE(test::FileExists(program / "winapp2.ini"));
    pickedRuleFile = chosen;
    Click(F::Winapp2Import);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(test::ReadFileText(program / "winapp2.ini"), Rules());
    ASSERT_EQ(Rows().size(), 5u);
    EXPECT_EQ(Rows()[3], "Zeta Viewer||0");
    Tick(3, true);

    // Garbage is refused with a message; the old rules and the tick stay.
    const std::string garbage = elsewhere / "garbage.ini";
    test::WriteFileText(garbage, std::string("\x89PNG\r\n\x1a\n\0\0[]=|", 14) + "no rules here");
    pickedRuleFile = garbage;
    Click(F::Winapp2Import);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].text.find("holds no cleaning rules"), std::string::npos) << asked[0].text;
    EXPECT_EQ(test::ReadFileText(program / "winapp2.ini"), Rules());
    EXPECT_EQ(Rows()[3], "Zeta Viewer||1");
    EXPECT_EQ(test::ListTree(elsewhere.path()),
              (std::vector<std::string>{"garbage.ini", "my rules.ini"}));

    // A new file replaces the old; ticks given since the dialog opened stay where the rule does.
    test::WriteFileText(chosen, "[Zeta Viewer *]\r\nFileKey1=" + program / "app" + "|*.bak\r\n");
    pickedRuleFile = chosen;
    Click(F::Winapp2Import);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Other||-", "Zeta Viewer||1"}));
    EXPECT_EQ(test::ListTree(program.path()),
              (std::vector<std::string>{"app\\", "app\\cache\\", "winapp2.ini"}));
    Save();
    EXPECT_EQ(Stored("Zeta Viewer"), "1");
}

}  // namespace
}  // namespace hm
