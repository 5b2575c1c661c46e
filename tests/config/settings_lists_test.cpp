// The clean-items dialog's lists: custom items from cusd.dat and from the pickers, written back
// in one step; plug-ins from the "plus-in" folder with their switches; the "Add" menu and the
// keep-list buttons.
#include "tests/config/settings_dialog_fixture.h"

#include <set>

#include "config/custom_list.h"

namespace hm {
namespace {

using F = frmsettings;
using test::Cell;
using test::SettingsDialogTest;

constexpr std::uint64_t kMegabyte = 1048576;

std::string Rows(HWND list, int columns) {
    std::string rows;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        for (int column = 0; column < columns; ++column) {
            rows += Cell(list, row, column) + (column + 1 < columns ? "|" : "\n");
        }
    }
    return rows;
}

// Sets a file's last-write time to a local date and returns that date as the short date text.
std::string Stamp(const std::string& path, SYSTEMTIME local) {
    SYSTEMTIME universal = {};
    FILETIME stamp = {};
    TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal);
    SystemTimeToFileTime(&universal, &stamp);
    HANDLE file = CreateFileW(Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    SetFileTime(file, nullptr, nullptr, &stamp);
    CloseHandle(file);
    wchar_t date[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 64);
    return Narrow(date);
}

// What the timers below saw; they run inside the modal loops the clicks start.
std::string g_seen;

void CALLBACK ReadAndCloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND shown = FindWindowW(L"#32768", nullptr);
    if (shown == nullptr) {
        return;
    }
    KillTimer(nullptr, timer);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(shown, MN_GETHMENU, 0, 0));
    for (int item = 0; item < GetMenuItemCount(menu); ++item) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(item), text, 64, MF_BYPOSITION);
        g_seen += test::WithoutAccessKey(Narrow(text)) + "=" +
                  std::to_string(GetMenuItemID(menu, item)) + "|";
    }
    EndMenu();
}

// g_seen holds the title of the dialog to wait for.
void CALLBACK CloseKeepListDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    if (HWND shown = FindWindowW(L"#32770", Widen(g_seen).c_str())) {
        KillTimer(nullptr, timer);
        g_seen = "shown, owned by " + GetText(GetWindow(shown, GW_OWNER));
        PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
    }
}

TEST_F(SettingsDialogTest, CustomItemsLoadWhatStillExistsAndAddedOnesAreSavedInOrder) {
    const std::string items = program / "items";
    test::MakeFolders(items + "\\tree");
    test::WriteFileOfSize(items + "\\half.bin", kMegabyte / 2);
    test::WriteFileOfSize(items + "\\twelve.bin", 12 * kMegabyte);
    test::WriteFileOfSize(items + "\\tree\\a", kMegabyte);
    test::WriteFileOfSize(items + "\\tree\\b", kMegabyte / 2);
    test::WriteFileText(items + "\\odd.txt", "x");
    const std::string date = Stamp(items + "\\half.bin", {2021, 3, 4, 4, 5, 6, 7, 0});
    const std::string half = items + "\\half.bin";
    const std::string tree = items + "\\tree";
    const std::string odd = items + "\\odd.txt";
    test::WriteFileText(CustomListPath(program.path()),
                        half + "\tFile\r\n" + tree + "\tFolder\r\n" + items +
                            "\\gone.txt\tFile\r\n" + odd + "\tOther\r\n" + odd + "\r\n" + tree +
                            "\tFile\r\n");
    Open();
    HWND list = Control(F::ListView2);
    EXPECT_EQ(Rows(list, 3), half + "|File|00.50MB\n" + tree + "|Folder|01.50MB\n" + odd + "||\n" +
                                 odd + "||\n" + tree + "|File|\n");
    EXPECT_EQ(Cell(list, 0, 3).rfind(date, 0), 0u) << Cell(list, 0, 3);
    EXPECT_GT(Cell(list, 0, 3).size(), date.size());
    EXPECT_EQ(Cell(list, 4, 3), "");

    Click(F::Command2);  // "Clear"
    EXPECT_EQ(ListView_GetItemCount(list), 0);
    const auto command = [&](int id) {
        SendMessageW(dialog->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    };
    filesFolder = items;
    pickedFiles = items + std::string("\0half.bin\0twelve.bin\0missing.bin", 32);
    command(F::addfiles);
    pickedFiles = half;  // one file comes back as its full path
    command(F::addfiles);
    pickedFiles.reset();  // cancelled
    command(F::addfiles);
    pickedFolder = tree;
    command(F::addfolders);
    command(F::addfolders);  // the same folder twice is two rows
    pickedFolder.reset();
    command(F::addfolders);
    EXPECT_EQ(Rows(list, 3), half + "|File|.5MB\n" + items + "\\twelve.bin|File|12.MB\n" + half +
                                 "|File|.5MB\n" + tree + "|Folder|1.5MB\n" + tree +
                                 "|Folder|1.5MB\n");

    Click(F::Command102);  // nothing selected: nothing removed
    EXPECT_EQ(ListView_GetItemCount(list), 5);
    ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
    Click(F::Command102);
    EXPECT_EQ(ListView_GetItemCount(list), 4);
    Save();
    EXPECT_EQ(test::ReadFileText(CustomListPath(program.path())),
              half + "\tFile\r\n" + items + "\\twelve.bin\tFile\r\n" + tree + "\tFolder\r\n" +
                  tree + "\tFolder\r\n");

    Open();
    list = Control(F::ListView2);
    EXPECT_EQ(Cell(list, 0, 2) + " " + Cell(list, 1, 2) + " " + Cell(list, 2, 2),
              "00.50MB 12.00MB 01.50MB");
    Click(F::Command2);
    Save();
    EXPECT_TRUE(test::FileExists(CustomListPath(program.path())));
    EXPECT_EQ(test::ReadFileText(CustomListPath(program.path())), "");
}

TEST_F(SettingsDialogTest, TheListIsReplacedInOneStepOrKeptWhole) {
    const std::string file = CustomListPath(program.path());
    const std::string kept = "C:\\kept\tFolder\r\n";
    ASSERT_TRUE(WriteCustomListFile(file, {{"C:\\kept", "Folder", true}}));
    EXPECT_EQ(test::ReadFileText(file), kept);
    EXPECT_EQ(test::ListTree(program.path()), std::vector<std::string>{"cusd.dat"});

    // The new list is written beside the old one: where it cannot be, the old one stays.
    const std::string beside = file + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    test::MakeFolders(beside);
    EXPECT_FALSE(WriteCustomListFile(file, {}));
    EXPECT_EQ(test::ReadFileText(file), kept);
    test::RemoveTree(beside);
    // Where it cannot take the old one's place, it goes again.
    test::TempFolder other;
    test::MakeFolders(other / "cusd.dat");
    EXPECT_FALSE(WriteCustomListFile(CustomListPath(other.path()), {}));
    EXPECT_EQ(test::ListTree(other.path()), std::vector<std::string>{"cusd.dat\\"});

    // A read-only list is kept; "OK" still saves everything else.
    test::SetAttributes(file, FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(WriteCustomListFile(file, {}));
    Open();
    ClickBox("Check2");
    Save();
    EXPECT_EQ(ReadIniValue(Settings(), "EXPLORER", "history"), "0");
    test::SetAttributes(file, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(test::ReadFileText(file), kept);
    EXPECT_EQ(test::ListTree(program.path()), (std::vector<std::string>{"cusd.dat", "hushsd.dat"}));
    EXPECT_TRUE(WriteCustomListFile(file, {}));
    EXPECT_EQ(test::ReadFileText(file), "");
}

TEST_F(SettingsDialogTest, PluginSwitchesGoToTheFilesNamedAfterTheirAppnames) {
    const std::string plugins = program / "plus-in";
    test::MakeFolders(plugins + "\\sub.hmx");
    const auto plugin = [&](const std::string& name, const std::string& appname,
                            const std::string& on) {
        test::WriteFileText(
            plugins + "\\" + name,
            "[name]\r\nappname=" + appname + "\r\n[version]\r\nappver=" + name.substr(0, 1) +
                ".0\r\n[dec]\r\ndecs=Cleans " + appname + "\r\n[swich]\r\non=" + on + "\r\n");
    };
    plugin("Alpha.hmx", "Alpha", "1");
    plugin("beta.HMX", "Beta", "0");
    plugin("Gamma.hmx", "Gamma", "1");
    plugin("other.hmx", "Gamma", "1");  // named otherwise: its switch is Gamma.hmx's
    plugin("old.hmx", "Delta", "1");    // no Delta.hmx: its switch goes nowhere
    plugin("escape.hmx", "..\\escaped", "1");
    plugin("readme.txt", "Text", "1");
    plugin("sub.hmx\\Inner.hmx", "Inner", "1");
    const std::vector<std::string> files = test::ListTree(program.path());
    Open();
    HWND list = Control(F::ListView1);
    EXPECT_NE(ListView_GetExtendedListViewStyle(list) & LVS_EX_CHECKBOXES, 0u);
    std::multiset<std::string> shown;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        shown.insert(Cell(list, row, 0) + "|" + Cell(list, row, 1) + "|" + Cell(list, row, 2) +
                     "|" + (ListView_GetCheckState(list, row) ? "on" : "off"));
        ListView_SetCheckState(list, row, !ListView_GetCheckState(list, row));
    }
    EXPECT_EQ(shown,
              (std::multiset<std::string>{
                  "Alpha|A.0|Alpha A.0 Cleans Alpha|on", "Beta|b.0|Beta b.0 Cleans Beta|off",
                  "Gamma|G.0|Gamma G.0 Cleans Gamma|on", "Gamma|o.0|Gamma o.0 Cleans Gamma|on",
                  "Delta|o.0|Delta o.0 Cleans Delta|on",
                  "..\\escaped|e.0|..\\escaped e.0 Cleans ..\\escaped|on"}));
    Save();
    EXPECT_EQ(ReadIniValue(plugins + "\\Alpha.hmx", "swich", "on"), "0");
    EXPECT_EQ(ReadIniValue(plugins + "\\beta.HMX", "swich", "on"), "1");
    EXPECT_EQ(ReadIniValue(plugins + "\\Gamma.hmx", "swich", "on"), "0");
    for (const char* kept : {"other.hmx", "old.hmx", "escape.hmx", "readme.txt"}) {
        EXPECT_EQ(ReadIniValue(plugins + "\\" + kept, "swich", "on"), "1") << kept;
    }
    // No file comes into being for Delta nor anywhere the path-like appname points.
    std::vector<std::string> expected = files;
    expected.insert(expected.begin(), {"cusd.dat", "hushsd.dat"});
    EXPECT_EQ(test::ListTree(program.path()), expected);

    // AddList adds the matching files of any folder to the rows already shown.
    Open();
    dialog->AddList(plugins + "\\sub.hmx", "HMX");
    list = Control(F::ListView1);
    EXPECT_EQ(ListView_GetItemCount(list), 7);
    EXPECT_EQ(Cell(list, 6, 0), "Inner");
}

TEST_F(SettingsDialogTest, AddPopsUpItsMenuAndOptionsOpenTheKeepLists) {
    Open();
    g_seen.clear();
    SetTimer(nullptr, 0, 50, &ReadAndCloseMenu);
    Click(F::Command101);
    EXPECT_EQ(g_seen, "Add Files=" + std::to_string(F::addfiles) +
                          "|Add Folders=" + std::to_string(F::addfolders) + "|");

    for (const auto& [button, title] :
         {std::pair{F::Command7, L"URL Drop-List Options"}, {F::Command8, L"Cookies Options"}}) {
        g_seen = Narrow(title);
        SetTimer(nullptr, 0, 50, &CloseKeepListDialog);
        Click(button);
        EXPECT_EQ(g_seen, "shown, owned by Cleaning Settings");
    }
}

}  // namespace
}  // namespace hm
