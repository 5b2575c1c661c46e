// The AOL Explorer, MSN Explorer, Maxthon, Chrome and Safari items, run as passes against the
// sandbox's real registry and profile folders. Programs are recorded, not started.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "config/inifun.h"
#include "engine/shared_values.h"
#include "platform/text.h"
#include "support/items_fixture.h"
#include "support/process.h"

namespace hm {
namespace {

using test::TempFolder;

constexpr const char* kTyped = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr const char* kClear = "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess ";
constexpr const char* kMaxthonKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Maxthon2";

std::vector<std::string> Sorted(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
}

class OtherBrowsersTest : public test::ItemsTest {
protected:
    std::string ShellFolder(const char* name) {
        Regfun registry(messages);
        return UserShellFolder(registry, name);
    }
    int Traces(TraceKind kind) const {
        return static_cast<int>(std::count_if(ui.traces.begin(), ui.traces.end(),
                                              [&](const Trace& t) { return t.kind == kind; }));
    }
};

// The same stores and steps as Internet Explorer's items, with the two differences: ten more
// registry entries for the addresses, and the history store emptied on every Windows version
// before the browser's own clearing (version 7 on) runs as well.
TEST_F(OtherBrowsersTest, AolExplorerSharesInternetExplorersStepsWithTwoDifferences) {
    test::SetRegText(kTyped, "url1", "http://bank.example/");
    test::SetRegText(kTyped, "url2", "http://kept.example/");
    test::WriteFileText(program / "keepurl.dat", "http://kept.example/\r\n");
    const std::string cookies = ShellFolder("Cookies");
    const std::string cache = ShellFolder("Cache");
    Seed(cookies + "\\user@bank.txt", 100);
    Seed(cookies + "\\user@kept.txt", 200);
    Seed(cache + "\\page.htm", 300);
    Seed(cache + "\\deeper\\img.gif", 400);
    test::WriteFileText(program / "keepcook.dat", cookies + "\\user@kept.txt\r\n");
    for (const char* key : {"Address", "cookies", "cache", "history"}) {
        Tick("AOL", key);
    }
    values.IEMajorVersion = 7;
    values.WindowsVersion = "6.1";  // where Internet Explorer's own item would skip the store
    Run();
    EXPECT_EQ(Launched(),
              (std::vector<std::string>{std::string(kClear) + "8 ", std::string(kClear) + "1"}));
    EXPECT_EQ(Traces(TraceKind::UrlHistory), 1);
    // Addresses 3 + 10, history 15; the unkept cookie, the cache's top file + 10000, 500000.
    EXPECT_EQ(result.registryKeys, 3 + 10 + 15);
    EXPECT_EQ(result.bytes, 100 + 300 + 10000 + 500000);
    EXPECT_EQ(Gone(), Sorted({cache + "\\deeper\\img.gif", cache + "\\page.htm",
                              cookies + "\\user@bank.txt"}));
    std::uint32_t type = 0;
    EXPECT_EQ(Regfun::QueryRegValue(kCurrentUser, kTyped, "url1", type), "http://kept.example/");
    EXPECT_EQ(Regfun::QueryRegValue(kCurrentUser, kTyped, "url2", type), "error");
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(ui.rows[i].status, "Done") << ui.rows[i].label;
    }

    // Version 6: the store still goes, nothing is started; an empty keep list leaves an empty
    // key and the item still counts 13.
    values.IEMajorVersion = 6;
    DeleteFileW(Widen(program / "keepurl.dat").c_str());
    Run();
    EXPECT_TRUE(launches.empty());
    EXPECT_EQ(Traces(TraceKind::UrlHistory), 1);
    EXPECT_EQ(result.registryKeys, 13 + 15);
    EXPECT_TRUE(test::RegKeyExists(kTyped));
    EXPECT_EQ(Regfun::QueryRegValue(kCurrentUser, kTyped, "url1", type), "error");
    DeleteFileW(Widen(cookies + "\\user@kept.txt").c_str());
    test::RemoveTree(cache + "\\deeper");
}

// Three items only show their row; the cache item adds a fixed amount; the address item deletes
// its key by name, which leaves a key that has sub-keys.
TEST_F(OtherBrowsersTest, MsnExplorerErasesOnlyItsAddressKey) {
    constexpr const char* kUsers = "Software\\Microsoft\\MSN6\\Users";
    OwnKey(kCurrentUser, "Software\\Microsoft\\MSN6");
    test::SetRegText(kUsers, "last", "someone@example.com");
    for (const char* key : {"Location", "cookies", "cache", "history"}) {
        Tick("MSN", key);
    }
    Run();
    EXPECT_FALSE(test::RegKeyExists(kUsers));
    EXPECT_EQ(result.registryKeys, 3);
    EXPECT_EQ(result.bytes, 500000);
    ASSERT_EQ(ui.traces.size(), 1u);  // nothing else changed
    EXPECT_EQ(ui.traces[0].kind, TraceKind::RegistryKey);
    ASSERT_EQ(ui.rows.size(), 5u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(ui.rows[i].status, "Done") << ui.rows[i].label;
    }

    test::SetRegText(std::string(kUsers) + "\\1234", "name", "someone");
    RunOnly("MSN", "Location");
    EXPECT_TRUE(test::RegKeyExists(kUsers + std::string("\\1234")));
    EXPECT_EQ(result.registryKeys, 3);
}

struct FileCase {
    const char* section;
    const char* key;
    std::vector<std::string> gone;
    double bytes;
};

// Each Maxthon item in turn on an installation whose folder the uninstall key names with a
// trailing backslash, as installers write it.
TEST_F(OtherBrowsersTest, MaxthonItemsWorkBelowTheInstallationFolder) {
    TempFolder install;
    OwnKey(kLocalMachine, kMaxthonKey);
    SetValue(kLocalMachine, kMaxthonKey, "InstallLocation", "  " + install.path() + "\\ ");
    const std::string m = install / "SharedAccount\\";
    const std::string ini = "[Other]\r\nzoom=100\r\n[TypedUrls]\r\nurl1=http://bank.example/\r\n";
    SeedText(m + "Config\\Config.ini", ini);
    Seed(m + "Data\\Dynamic.ini", 10);
    Seed(m + "Data\\history2.dat", 20);
    Seed(m + "Data\\LastSession.ini", 30);
    Seed(m + "Data\\TmpSession.ini", 40);
    Seed(m + "Data\\old\\history2.dat", 50);  // below the folder: not looked at
    Seed(m + "Downloads\\setup.exe", 60);
    Seed(m + "Downloads\\music\\song.mp3", 70);
    const auto config = static_cast<double>(ini.size());
    const std::vector<FileCase> cases = {
        {"Maxthon", "keywords", {}, 0},
        {"Maxthon", "pages", {"Config\\Config.ini", "Data\\Dynamic.ini"}, 10 + config},
        {"Maxthon", "settings", {"Config\\Config.ini"}, config},
        {"Maxthon",
         "groups",
         {"Data\\LastSession.ini", "Data\\TmpSession.ini", "Data\\history2.dat"},
         20 + 30 + 40},
        {"Maxthon", "folder", {"Downloads\\music\\song.mp3", "Downloads\\setup.exe"}, 60 + 70},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.key);
        Reseed();
        RunOnly(c.section, c.key);
        std::vector<std::string> gone;
        for (const std::string& file : c.gone) {
            gone.push_back(m + file);
        }
        EXPECT_EQ(Gone(), Sorted(gone));
        EXPECT_EQ(result.bytes, c.bytes);
        EXPECT_EQ(result.registryKeys, 0);
        ExpectOneDoneRow();
    }
    // The typed addresses' section went; the rest of the file stayed.
    Reseed();
    RunOnly("Maxthon", "keywords");
    EXPECT_EQ(ReadIniSectionNames(m + "Config\\Config.ini"), std::vector<std::string>{"Other"});
    // The download folder is there again, empty.
    RunOnly("Maxthon", "folder");
    EXPECT_TRUE(test::FolderExists(m + "Downloads"));
    EXPECT_TRUE(test::ListTree(m + "Downloads").empty());
}

// Each item reads the installation folder anew: a folder that changes between two items is
// followed by the second.
TEST_F(OtherBrowsersTest, EachMaxthonItemReadsTheFolderAnew) {
    TempFolder first;
    TempFolder second;
    OwnKey(kLocalMachine, kMaxthonKey);
    SetValue(kLocalMachine, kMaxthonKey, "InstallLocation", first.path());
    for (const TempFolder* install : {&first, &second}) {
        Seed(*install / "SharedAccount\\Data\\Dynamic.ini", 1);
        Seed(*install / "SharedAccount\\Data\\history2.dat", 2);
    }
    ui.onPump = [&] {
        if (ui.rows.size() == 1) {
            SetValue(kLocalMachine, kMaxthonKey, "InstallLocation", second.path());
        }
    };
    Tick("Maxthon", "pages");
    Tick("Maxthon", "groups");
    Run();
    EXPECT_EQ(Gone(), Sorted({first / "SharedAccount\\Data\\Dynamic.ini",
                              second / "SharedAccount\\Data\\history2.dat"}));
}

// Without Maxthon every ticked item shows "Done" and nothing is deleted or made, not even in the
// current folder, which the unread folder's "Error" text would otherwise point into.
TEST_F(OtherBrowsersTest, MaxthonNotInstalledDeletesAndMakesNothing) {
    OwnKey(kLocalMachine, kMaxthonKey);
    TempFolder current;
    test::WriteFileOfSize(current / "Error\\SharedAccount\\Data\\history2.dat", 5);
    test::WriteFileText(current / "Error\\SharedAccount\\Config\\Config.ini", "[TypedUrls]\r\n");
    const std::vector<std::string> before = test::ListTree(current.path());
    test::CurrentFolderGuard guard(current.path());
    for (const char* key : {"keywords", "pages", "settings", "groups", "folder"}) {
        Tick("Maxthon", key);
    }
    Run();
    ASSERT_EQ(ui.rows.size(), 6u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(ui.rows[i].status, "Done") << ui.rows[i].label;
    }
    EXPECT_EQ(result.bytes, 0);
    EXPECT_TRUE(ui.traces.empty());
    EXPECT_EQ(test::ListTree(current.path()), before);
}

// Chrome's "Default" profile only, with its named files at any depth; Safari's files directly in
// their folders only.
TEST_F(OtherBrowsersTest, ChromeAndSafariItemsTakeTheirFilesAndNothingElse) {
    const std::string google = values.LocalAppDataFolder + "\\Google";
    const std::string appleLocal = values.LocalAppDataFolder + "\\Apple Computer";
    const std::string appleRoaming = values.AppDataFolder + "\\Apple Computer";
    OwnFolder(google);
    OwnFolder(appleLocal);
    OwnFolder(appleRoaming);
    const std::string d = google + "\\Chrome\\User Data\\Default\\";
    const std::string l = appleLocal + "\\Safari\\";
    const std::string r = appleRoaming + "\\Safari\\";
    const std::map<std::string, std::size_t> files = {
        {d + "History", 100},
        {d + "History-journal", 7},
        {d + "Archived\\History", 11},
        {d + "Cookies", 200},
        {d + "Cache\\data_1", 300},
        {d + "Cache\\index\\f_0001", 13},
        {d + "Web Data", 400},
        {d + "Last Session", 50},
        {d + "Current Session", 60},
        {d + "Top Sites", 70},
        {google + "\\Chrome\\User Data\\Profile 1\\History", 17},
        {google + "\\Chrome\\User Data\\Profile 1\\Cookies", 19},
        {l + "History\\h1", 10},
        {l + "History\\old\\h2", 20},
        {r + "History.plist", 30},
        {r + "Backup\\History.plist", 31},
        {r + "LastSession.plist", 40},
        {r + "TopSites.plist", 50},
        {l + "Cache.db", 60},
        {l + "WebpageIcons.db", 70},
        {r + "Cookies\\Cookies.plist", 80},
        {r + "Downloads.plist", 90},
        {r + "Form Values.plist", 100},
        {r + "Preferences\\keychain.plist", 110},
        {l + "Webpage Previews\\p1.jpg", 120},
        {l + "Webpage Previews\\old\\p2.jpg", 130},
        {appleRoaming + "\\Preferences\\com.apple.Safari.plist", 140},
    };
    for (const auto& [file, bytes] : files) {
        Seed(file, bytes);
    }
    // Chrome's walks count the files directly in the profile folder, plus 10000 each.
    const std::vector<FileCase> cases = {
        {"Chrome", "download", {d + "Archived\\History", d + "History"}, 10100},
        {"Chrome", "Cookies", {d + "Cookies"}, 10200},
        {"Chrome", "Cache", {d + "Cache\\data_1", d + "Cache\\index\\f_0001"}, 10300},
        {"Chrome", "History", {d + "Archived\\History", d + "History"}, 10100},
        {"Chrome", "Forms", {d + "Web Data"}, 10400},
        {"Chrome",
         "Session",
         {d + "Current Session", d + "Last Session", d + "Top Sites"},
         50 + 60 + 70 + 3 * 10000},
        {"Safari", "History", {l + "History\\h1", r + "History.plist"}, 40},
        {"Safari", "pages", {r + "LastSession.plist", r + "TopSites.plist"}, 90},
        {"Safari", "Cache", {l + "Cache.db", l + "WebpageIcons.db"}, 130},
        {"Safari", "Cookies", {r + "Cookies\\Cookies.plist"}, 80},
        {"Safari", "download", {r + "Downloads.plist"}, 90},
        {"Safari",
         "Autocomplete",
         {r + "Form Values.plist", r + "Preferences\\keychain.plist"},
         210},
        {"Safari", "Images", {l + "Webpage Previews\\p1.jpg"}, 120},
        {"Safari", "RecentSearches", {appleRoaming + "\\Preferences\\com.apple.Safari.plist"}, 140},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(std::string(c.section) + " " + c.key);
        Reseed();
        RunOnly(c.section, c.key);
        EXPECT_EQ(Gone(), Sorted(c.gone));
        EXPECT_EQ(result.bytes, c.bytes);
        ExpectOneDoneRow();
    }
    // The cache walk keeps the folders.
    EXPECT_TRUE(test::FolderExists(d + "Cache\\index"));
}

}  // namespace
}  // namespace hm
