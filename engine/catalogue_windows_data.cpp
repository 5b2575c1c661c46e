// The Windows items. E and B stand for the two key prefixes most items share.
#include <array>

#include "engine/catalogue_rows.h"

namespace hm {
namespace {

#define E "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer"
#define B                                               \
    "Software\\Microsoft\\Internet Explorer\\Explorer " \
    "Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}"
#define ACMRU "Software\\Microsoft\\Search Assistant\\ACMru"

Action Key(std::string_view subKey) {
    return act::DeleteRegKey{kCurrentUser, subKey};
}

Action Tree(std::string_view subKey) {
    return act::DeleteRegTree{kCurrentUser, subKey};
}

// The scandisk folders of drives C: to F:, 000 to 010 each, in that order.
constexpr std::array<std::string_view, 44> kFoundFolders = {
    "C:\\Found.000", "C:\\Found.001", "C:\\Found.002", "C:\\Found.003", "C:\\Found.004",
    "C:\\Found.005", "C:\\Found.006", "C:\\Found.007", "C:\\Found.008", "C:\\Found.009",
    "C:\\Found.010", "D:\\Found.000", "D:\\Found.001", "D:\\Found.002", "D:\\Found.003",
    "D:\\Found.004", "D:\\Found.005", "D:\\Found.006", "D:\\Found.007", "D:\\Found.008",
    "D:\\Found.009", "D:\\Found.010", "E:\\Found.000", "E:\\Found.001", "E:\\Found.002",
    "E:\\Found.003", "E:\\Found.004", "E:\\Found.005", "E:\\Found.006", "E:\\Found.007",
    "E:\\Found.008", "E:\\Found.009", "E:\\Found.010", "F:\\Found.000", "F:\\Found.001",
    "F:\\Found.002", "F:\\Found.003", "F:\\Found.004", "F:\\Found.005", "F:\\Found.006",
    "F:\\Found.007", "F:\\Found.008", "F:\\Found.009", "F:\\Found.010"};

std::vector<Action> FoundFolders() {
    std::vector<Action> actions;
    for (const std::string_view folder : kFoundFolders) {
        actions.push_back(act::DeleteFilesInFolder{{BaseFolder::None, folder}});
    }
    return actions;
}

}  // namespace

void AppendWindows(std::vector<CatalogueItem>& items) {
    Append(items, 11,
           {
               {"recent",
                "Recent Documents History",
                33,
                {"Check24", "Recent Documents History", 0},
                {act::Step{StepId::ClearDocumentsMenu, {BaseFolder::ShellRecent, ""}}}},
               {"run",
                "Start Menu Run History",
                34,
                {"Check25", "Start Menu Run History", 1},
                {Key(E "\\RunMRU")}},
               {"search",
                "Windows Search History",
                35,
                {"Check26", "Windows Search History", 2},
                {Key(E "\\Doc Find Spec MRU"), Key(B "\\ComputerNameMRU"),
                 Key(B "\\ContainingTextMRU"), Key(B "\\FilesNamedMRU"), Key(ACMRU "\\5603"),
                 Key(ACMRU "\\5604"), Key(ACMRU "\\5647"), Key(ACMRU "\\5601"), Key(ACMRU "\\5602"),
                 Key(E "\\FindComputerMRU"), Key(E "\\WordWheelQuery")}},
               {"temp",
                "Windows Temp",
                36,
                {"Check27", "Windows Temp", 3},
                {act::Step{StepId::TempFolders}}},
               // The bin folder of drive C: on the oldest systems is counted, with a fixed amount.
               {"recycle",
                "Recycle Bin",
                37,
                {"Check30", "Recycle Bin", 4},
                {act::Step{StepId::EmptyRecycleBin, {BaseFolder::None, "C:\\RECYCLED"}}}},
               {"open",
                "Open/Save Dialog Box History",
                38,
                {"Check32", "Open/Save Dialog Box History", 5},
                {Tree(E "\\ComDlg32\\OpenSaveMRU"), Tree(E "\\ComDlg32\\OpenSavePidlMRU")}},
               {"scandisk",
                "Scandisk Temp Files",
                39,
                {"Check33", "Scandisk Temp Files", 6},
                FoundFolders()},
               {"passwords",
                "Windows Passwords(Only 9X/Me)",
                40,
                {"Check34", "Windows Passwords(Only 9X/Me)", 7},
                {act::NoAction{}}},
               {"clip",
                "Windows Clipboard",
                41,
                {"Check35", "Windows Clipboard", 8},
                {act::Step{StepId::EmptyClipboard}}},
               {"wordpad",
                "Wordpad Recent Files",
                41,
                {"Check28", "Wordpad Recent Files", 9},
                {Key("Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File "
                     "List")}},
               {"paint",
                "Windows Paint Recent Files",
                41,
                {"Check29", "Windows Paint Recent Files", 10},
                {Key("Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File "
                     "List")}},
               {"picturelocation",
                "The custom locations from the picture location drop-down box",
                0,
                {"Check86", "The Custom Locations From Picture Location Drop-down Box", 14},
                {Key(E "\\Wallpaper")}},
               {"DirectX",
                "DirectX most recent applications",
                0,
                {"Check87", "DirectX Most Recent Applications", 15},
                {act::DeleteRegKey{kLocalMachine,
                                   "SOFTWARE\\Microsoft\\Direct3D\\MostRecentApplication"},
                 act::DeleteRegKey{kLocalMachine,
                                   "SOFTWARE\\Microsoft\\DirectDraw\\MostRecentApplication"}}},
               {"findcomputer",
                "Find computer dialog box",
                0,
                {"Check88", "Find Computer Dialog Box", 16},
                {Key(E "\\FindComputerMRU"), Key(B "\\ComputerNameMRU"), Key(ACMRU)}},
               {"findfiles",
                "Find files dialog box",
                0,
                {"Check89", "Find Files Dialog Box", 17},
                {Key(E "\\Doc Find Spec MRU"),
                 Key("Software\\Microsoft\\Internet Explorer\\Explorer Bars"), Key(ACMRU),
                 Key(B "\\FilesNamedMRU"), Key(E "\\WordWheelQuery")}},
               {"mapnetwork",
                "Map network drive MRU",
                0,
                {"Check90", "Map Network Drive MRU", 18},
                {Key(E "\\Map Network Drive MRU")}},
               {"management",
                "Microsoft management console recent file list",
                0,
                {"Check91", "Microsoft Management Console Recent File List", 19},
                {Key("Software\\Microsoft\\Microsoft Management Console\\Recent File List")}},
               {"notification",
                "Past items from the notification area",
                0,
                {"Check92", "Past Items From The Notification Area", 20},
                {act::DeleteRegValue{kCurrentUser, E "\\TrayNotify", "IconStreams"},
                 act::DeleteRegValue{kCurrentUser, E "\\TrayNotify", "PastIconsStream"},
                 act::DeleteRegValue{
                     kCurrentUser,
                     "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\"
                     "CurrentVersion\\TrayNotify",
                     "IconStreams"},
                 act::DeleteRegValue{
                     kCurrentUser,
                     "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\"
                     "CurrentVersion\\TrayNotify",
                     "PastIconsStream"}}},
               {"registryeditor",
                "Registry editor last opened key",
                0,
                {"Check93", "Registry Editor Last Opened Key", 21},
                {Tree("Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit")}},
               {"searchfolders",
                "Saved search folders from windows vista",
                41,
                {"Check94", "Saved Search Folders From windows Vista", 22},
                {act::DeleteFolderFiles{{BaseFolder::Personal, "\\Searches"}}}},
               {"menuorder",
                "Start menu programs and favorites menu order",
                0,
                {"Check95", "Start Menu Programs And Favorites Menu Order", 23},
                {Tree(E "\\MenuOrder")}},
               {"recentlyused",
                "The list of most recently used files and folders",
                0,
                {"Check96", "The List of Most Recently Used Files and Folders", 24},
                {Tree(E "\\ComDlg32\\LastVisitedMRU"), Tree(E "\\ComDlg32\\OpenSaveMRU"),
                 Tree(E "\\ComDlg32\\CIDSizeMRU"), Tree(E "\\ComDlg32\\LastVisitedPidlMRU"),
                 Tree(E "\\ComDlg32\\OpenSavePidlMRU")}},
               {"thumbs",
                "Thumbs.db",
                42,
                {"Check97", "Thumbs.db", 11},
                {act::Step{StepId::RunAndWait, {BaseFolder::ProgramFolder, "\\delThumbs.bat"}}}},
               {"streams",
                "Windows explorer streams MRUs",
                0,
                {"Check98", "Windows Explorer Streams MRUs/Typed Paths", 25},
                {Tree(E "\\StreamMRU"), Tree(E "\\TypedPaths")}},
               {"swap",
                "windows swap/paging file",
                43,
                {"Check99", "Windows Swap/Paging File", 12},
                {act::NoAction{}}},
               {"userassist",
                "Windows userassist MRUs",
                0,
                {"Check100", "Windows Userassist MRUs", 26},
                {Tree(E "\\UserAssist")}},
               {"unread",
                "Windows unread mail count",
                0,
                {"Check101", "Windows unread mail count", 13},
                {Tree("Software\\Microsoft\\Windows\\CurrentVersion\\UnreadMail")}},
           });
}

#undef E
#undef B
#undef ACMRU

}  // namespace hm
