// The Windows items, run as passes against the sandbox's real registry and folders.
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/erase.h"
#include "engine/shared_values.h"
#include "platform/path_rules.h"
#include "platform/text.h"
#include "support/pass_fixture.h"

namespace hm {
namespace {

using test::TempFolder;

constexpr const char* kE = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr const char* kB =
    "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}";
constexpr const char* kAcMru = "Software\\Microsoft\\Search Assistant\\ACMru";

class WindowsItemsTest : public test::PassTest {};

std::string Under(const char* prefix, const std::string& rest) {
    return std::string(prefix) + "\\" + rest;
}

// Registry counts are fixed per operation and added whether or not the keys existed; a key with
// sub-keys deleted by name stays.
TEST_F(WindowsItemsTest, RegistryItemsCountTheirOperationsAndRemoveTheirKeys) {
    test::SetRegText(Under(kE, "RunMRU"), "a", "notepad");
    test::SetRegText(Under(kB, "FilesNamedMRU"), "000", "*.doc");
    test::SetRegText(Under(kAcMru, "5603"), "000", "report");
    test::SetRegText(Under(kAcMru, "9999"), "000", "kept, for ACMru keeps a sub-key");
    test::SetRegText(Under(kE, "ComDlg32\\OpenSaveMRU\\txt"), "a", "C:\\x.txt");
    test::SetRegText(Under(kE, "TrayNotify"), "IconStreams", "x");
    test::SetRegText(Under(kE, "TrayNotify"), "Other", "stays");
    test::SetRegText(Under(kE, "UserAssist\\{GUID}\\Count"), "x", "1");
    const struct {
        const char* key;
        double count;
    } items[] = {
        {"run", 3},        {"search", 33},         {"open", 10},        {"wordpad", 3},
        {"paint", 3},      {"DirectX", 6},         {"findcomputer", 9}, {"findfiles", 15},
        {"mapnetwork", 3}, {"management", 3},      {"notification", 4}, {"registryeditor", 5},
        {"menuorder", 5},  {"recentlyused", 25},   {"streams", 10},     {"userassist", 5},
        {"unread", 5},     {"picturelocation", 3}, {"passwords", 0},    {"swap", 0}};
    double total = 0;
    for (const auto& item : items) {
        Tick("WINDOWS", item.key);
        total += item.count;
    }
    Run();
    EXPECT_EQ(result.registryKeys, total);
    EXPECT_EQ(result.bytes, 0);
    EXPECT_FALSE(test::RegKeyExists(Under(kE, "RunMRU")));
    EXPECT_FALSE(test::RegKeyExists(Under(kB, "FilesNamedMRU")));
    EXPECT_FALSE(test::RegKeyExists(Under(kAcMru, "5603")));
    EXPECT_TRUE(test::RegKeyExists(Under(kAcMru, "9999")));
    EXPECT_FALSE(test::RegKeyExists(Under(kE, "ComDlg32\\OpenSaveMRU")));
    EXPECT_FALSE(test::RegValueExists(Under(kE, "TrayNotify"), "IconStreams"));
    EXPECT_TRUE(test::RegValueExists(Under(kE, "TrayNotify"), "Other"));
    EXPECT_FALSE(test::RegKeyExists(Under(kE, "UserAssist")));
    EXPECT_EQ(Status("Windows Search History"), "Done");
    EXPECT_EQ(Status("windows swap/paging file"), "Done");
    EXPECT_EQ(Status("Windows Passwords(Only 9X/Me)"), "Done");
}

// Each temporary folder is emptied and made anew, both results counted; a local application
// data folder without "Application Data" in its path has no temp folder beside it.
TEST_F(WindowsItemsTest, TempEmptiesThreeFoldersAndCountsBothResultsOfEach) {
    TempFolder place;
    values.LocalAppDataFolder = place / "Local Settings\\Application Data";
    values.WindowsFolder = place / "Windows";
    test::WriteFileOfSize(place / "Local Settings\\temp\\a.tmp", 100);
    test::WriteFileOfSize(place / "Local Settings\\temp\\sub\\b.tmp", 50);
    test::WriteFileOfSize(place / "Windows\\temp\\c.tmp", 10);
    test::WriteFileOfSize(place / "user-temp\\d.tmp", 7);
    wchar_t savedTemp[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TEMP", savedTemp, MAX_PATH);
    SetEnvironmentVariableW(L"TEMP", Widen(place / "user-temp").c_str());
    Tick("WINDOWS", "temp");
    Run();
    SetEnvironmentVariableW(L"TEMP", savedTemp);
    // Each folder: the file walk counts its top files plus 10000 and removes every file at every
    // depth, so the reset that follows measures nothing but empty folders.
    EXPECT_EQ(result.bytes, (10000 + 100) + 0 + (10000 + 10) + 0 + (10000 + 7) + 0);
    for (const char* folder : {"Local Settings\\temp", "Windows\\temp", "user-temp"}) {
        EXPECT_TRUE(test::FolderExists(place / folder)) << folder;
        EXPECT_TRUE(test::ListTree(place / folder).empty()) << folder;
    }

    // TEMP naming the first folder again: the second round finds it empty.
    values.LocalAppDataFolder = place / "Local";
    test::WriteFileOfSize(place / "Windows\\temp\\c.tmp", 10);
    SetEnvironmentVariableW(L"TEMP", Widen(place / "Windows\\temp").c_str());
    Run();
    SetEnvironmentVariableW(L"TEMP", savedTemp);
    EXPECT_EQ(result.bytes, (10000 + 10) + 0 + 10000 + 0);
}

TEST_F(WindowsItemsTest, ScandiskEmptiesTheFoundFoldersOfTheDrivesThatHaveThem) {
    test::WriteFileOfSize("C:\\Found.000\\FILE0000.CHK", 40);
    test::WriteFileOfSize("C:\\Found.010\\FILE0001.CHK", 2);
    test::WriteFileOfSize("C:\\Found.011\\FILE0002.CHK", 5);
    Tick("WINDOWS", "scandisk");
    Run();
    EXPECT_EQ(result.bytes, 42);
    EXPECT_TRUE(test::ListTree("C:\\Found.000").empty());
    EXPECT_TRUE(test::FolderExists("C:\\Found.010"));
    EXPECT_TRUE(test::FileExists("C:\\Found.011\\FILE0002.CHK"));
    for (const char* folder : {"C:\\Found.000", "C:\\Found.010", "C:\\Found.011"}) {
        test::RemoveTree(folder);
    }
}

TEST_F(WindowsItemsTest, RecentDocumentsGoFromTheShellListAndTheRecentFolder) {
    Regfun registry(messages);
    const std::string recent = UserShellFolder(registry, "Recent");
    ASSERT_TRUE(IsAbsolutePath(recent)) << recent;
    test::WriteFileOfSize(recent + "\\report.doc.lnk", 300);
    test::WriteFileOfSize(recent + "\\notes.txt", 5);
    Tick("WINDOWS", "recent");
    Run();
    EXPECT_EQ(result.registryKeys, 1);
    EXPECT_EQ(result.bytes, 0);
    EXPECT_FALSE(test::FileExists(recent + "\\report.doc.lnk"));
    EXPECT_TRUE(test::FileExists(recent + "\\notes.txt"));
    DeleteFileW(Widen(recent + "\\notes.txt").c_str());
}

TEST_F(WindowsItemsTest, RecycleBinAddsItsKeyAndOnlyCountsAnOldBinFolder) {
    Tick("WINDOWS", "recycle");
    Run();
    EXPECT_EQ(result.registryKeys, 1);
    EXPECT_EQ(result.bytes, 0);
    test::WriteFileOfSize("C:\\RECYCLED\\DC1.txt", 25);
    Run();
    EXPECT_EQ(result.bytes, 25 + 100000);
    test::RemoveTree("C:\\RECYCLED");
}

// The batch file runs hidden and the pass waits for it to end.
TEST_F(WindowsItemsTest, ThumbsRunsTheBatchFileAndWaitsForIt) {
    test::WriteFileText(program / "delThumbs.bat",
                        "@echo off\r\nping -n 2 127.0.0.1 >nul\r\necho done> \"%~dp0ran.txt\"\r\n");
    Tick("WINDOWS", "thumbs");
    Run();
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_NE(launches[0].commandLine.find("/c \"\"" + program.path() + "\\delThumbs.bat\"\""),
              std::string::npos)
        << launches[0].commandLine;
    EXPECT_TRUE(launches[0].wait);
    EXPECT_EQ(launches[0].show, 0);
    // Without the batch file nothing starts.
    DeleteFileW(Widen(program / "delThumbs.bat").c_str());
    Run();
    EXPECT_TRUE(launches.empty());
    EXPECT_EQ(Status("Thumbs.db"), "Done");
}

// A program started with the wait flag has ended when the launch returns.
TEST(Launch, AWaitedProgramHasEndedWhenTheLaunchReturns) {
    TempFolder dir;
    test::WriteFileText(dir / "slow.bat",
                        "@echo off\r\nping -n 2 127.0.0.1 >nul\r\necho done> \"%~dp0ran.txt\"\r\n");
    int pumped = 0;
    Eraser eraser(EraseMode::Erase, nullptr, [&] { ++pumped; });
    LaunchRequest request;
    request.commandLine = "cmd.exe /c \"\"" + dir.path() + "\\slow.bat\"\"";
    request.wait = true;
    EXPECT_EQ(eraser.Launch(request), 0u);
    EXPECT_TRUE(test::FileExists(dir / "ran.txt"));
    EXPECT_GT(pumped, 0);
}

}  // namespace
}  // namespace hm
