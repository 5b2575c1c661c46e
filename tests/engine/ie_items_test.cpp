// The Internet Explorer items, run as passes against the sandbox's real registry and folders.
// Internet Explorer's clearing entry point is recorded, not started.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/normal.h"
#include "engine/shared_values.h"
#include "platform/path_rules.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "support/pass_fixture.h"
#include "support/process.h"

namespace hm {
namespace {

using test::TempFolder;

constexpr const char* kTyped = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr const char* kClear = "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess ";

class IeItemsTest : public test::PassTest {
protected:
    std::string ShellFolder(const char* name) {
        Regfun registry(messages);
        const std::string folder = UserShellFolder(registry, name);
        EXPECT_TRUE(IsAbsolutePath(folder)) << name << ": " << folder;
        return folder;
    }
    std::vector<std::pair<std::string, std::string>> TypedUrls() {
        RegKey key;
        std::vector<std::string> names;
        std::vector<std::pair<std::string, std::string>> urls;
        if (key.Open(HKEY_CURRENT_USER, kTyped, KEY_READ) != ERROR_SUCCESS ||
            key.ValueNames(names) != ERROR_SUCCESS) {
            return urls;
        }
        for (const std::string& name : names) {
            std::uint32_t type = 0;
            urls.emplace_back(name, Regfun::QueryRegValue(kCurrentUser, kTyped, name, type));
        }
        std::sort(urls.begin(), urls.end());
        return urls;
    }
};

// The typed-address list ends up holding exactly the kept addresses, in keep-list order.
TEST_F(IeItemsTest, TheTypedAddressListKeepsOnlyTheKeepListInItsOrder) {
    test::SetRegText(kTyped, "url1", "http://bank.example/");
    test::SetRegText(kTyped, "url2", "http://news.example/");
    test::SetRegText(kTyped, "url7", "http://shop.example/");
    test::WriteFileText(program / "keepurl.dat",
                        "http://news.example/\r\nhttp://mail.example/\r\n");
    Tick("EXPLORER", "location");
    Run();
    EXPECT_EQ(result.registryKeys, 3);
    EXPECT_EQ(TypedUrls(),
              (std::vector<std::pair<std::string, std::string>>{{"url1", "http://news.example/"},
                                                                {"url2", "http://mail.example/"}}));
    EXPECT_EQ(Status("IE Location Bar History"), "Done");

    // An empty keep list leaves an empty key.
    DeleteFileW(Widen(program / "keepurl.dat").c_str());
    Run();
    EXPECT_TRUE(test::RegKeyExists(kTyped));
    EXPECT_TRUE(TypedUrls().empty());
}

// Only a path written letter for letter as the file's full path spares a cookie.
TEST_F(IeItemsTest, CookiesGoExceptThoseTheKeepListNamesExactly) {
    const std::string cookies = ShellFolder("Cookies");
    test::WriteFileOfSize(cookies + "\\user@bank.txt", 100);
    test::WriteFileOfSize(cookies + "\\user@shop.txt", 200);
    test::WriteFileOfSize(cookies + "\\user@ads.txt", 300);
    test::SetAttributes(cookies + "\\user@ads.txt",
                        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    test::WriteFileOfSize(cookies + "\\sub\\deeper.txt", 1);
    std::string shopInOtherCase = cookies + "\\USER@SHOP.TXT";
    test::WriteFileText(program / "keepcook.dat",
                        cookies + "\\user@bank.txt\r\n" + shopInOtherCase + "\r\n");
    Tick("EXPLORER", "cookies");
    Run();
    EXPECT_EQ(result.bytes, 200 + 300);
    EXPECT_TRUE(test::FileExists(cookies + "\\user@bank.txt"));
    EXPECT_FALSE(test::FileExists(cookies + "\\user@shop.txt"));
    EXPECT_FALSE(test::FileExists(cookies + "\\user@ads.txt"));
    EXPECT_TRUE(test::FileExists(cookies + "\\sub\\deeper.txt"));
    test::RemoveTree(cookies + "\\sub");
    DeleteFileW(Widen(cookies + "\\user@bank.txt").c_str());
}

// The clearing entry point runs with the flags the installed version supports.
TEST_F(IeItemsTest, TheBrowsersOwnClearingRunsByVersion) {
    Tick("EXPLORER", "cache");
    Tick("EXPLORER", "autocomplete");
    Tick("EXPLORER", "addons");
    values.IEMajorVersion = 9;
    Run();
    EXPECT_EQ(Launched(),
              (std::vector<std::string>{std::string(kClear) + "8 ", std::string(kClear) + "16",
                                        std::string(kClear) + "32", std::string(kClear) + "4351"}));
    for (const LaunchRequest& request : launches) {
        EXPECT_EQ(request.show, 2);
        EXPECT_FALSE(request.wait);
    }
    // Autocomplete 3 + 3 + 3, add-ons 15.
    EXPECT_EQ(result.registryKeys, 9 + 15);
    EXPECT_EQ(Status("IE Add-ons Settings"), "Done");

    // Version 6: no entry point; the options dialog instead, keys for its window only.
    values.IEMajorVersion = 6;
    Run();
    ASSERT_EQ(Launched(),
              (std::vector<std::string>{"rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,3"}));
    EXPECT_EQ(launches[0].show, 0);
    EXPECT_EQ(launches[0].keys,
              (std::vector<unsigned short>{'U', 'C', VK_RETURN, VK_ESCAPE, VK_ESCAPE}));
    EXPECT_EQ(result.registryKeys, 9);

    values.IEMajorVersion = 5;
    Run();
    EXPECT_TRUE(launches.empty());
}

// The history goes through the browser's clearing on Windows 6.x and later, through its URL
// history store before; a store that cannot answer (as here) leaves the pass going, and the row
// says that something stayed.
TEST_F(IeItemsTest, HistoryUsesTheStoreOnOldWindowsAndTheEntryPointOnNewer) {
    Tick("EXPLORER", "history");
    values.WindowsVersion = "6.1";
    Run();
    EXPECT_EQ(Launched(), (std::vector<std::string>{std::string(kClear) + "1"}));
    EXPECT_EQ(result.registryKeys, 15);
    EXPECT_EQ(result.bytes, 500000);
    EXPECT_EQ(Status("IE Internet History Files"), "Done");

    values.WindowsVersion = "5.1";
    Run();
    EXPECT_TRUE(launches.empty());
    EXPECT_EQ(result.registryKeys, 15);
    ASSERT_EQ(ui.traces.size(), 1u);
    EXPECT_EQ(ui.traces[0].kind, TraceKind::UrlHistory);
    EXPECT_EQ(Status("IE Internet History Files"),
              ui.traces[0].removed() ? "Done" : "Done, 1 not removed");
}

TEST_F(IeItemsTest, DownloadsNeedVersionNine) {
    TempFolder place;
    test::WriteFileOfSize(place / "ie\\setup.exe", 70);
    test::WriteFileOfSize(place / "downloads\\song.mp3", 30);
    test::SetRegText("Software\\Microsoft\\Internet Explorer\\Main", "Default Download Directory",
                     place / "ie");
    test::SetRegText("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     "{374DE290-123F-4565-9164-39C4925E467B}", place / "downloads");
    Tick("EXPLORER", "downloaded");
    Tick("EXPLORER", "downloadedhistory");
    values.IEMajorVersion = 8;
    Run();
    EXPECT_EQ(Status("IE Downloaded Files(Only IE9)"), "Only Support IE9.");
    EXPECT_EQ(Status("IE Downloaded History(Only IE9)"), "Only Support IE9.");
    EXPECT_TRUE(test::FileExists(place / "ie\\setup.exe"));

    values.IEMajorVersion = 9;
    Run();
    EXPECT_EQ(Status("IE Downloaded Files(Only IE9)"), "Done");
    EXPECT_EQ(Status("IE Downloaded History(Only IE9)"), "Done");
    EXPECT_EQ(result.bytes, 100);
    EXPECT_TRUE(test::ListTree(place / "ie").empty());
    EXPECT_TRUE(test::ListTree(place / "downloads").empty());
}

// The index files are scheduled for deletion at restart; the row says to restart only when one
// was, and says so plainly when scheduling needs rights the user does not have.
TEST_F(IeItemsTest, IndexFilesAskForARestartOnlyWhenOneWasScheduled) {
    Tick("EXPLORER", "index");
    const std::string index = ShellFolder("Cookies") + "\\index.dat";
    DeleteFileW(Widen(index).c_str());
    Run();
    EXPECT_EQ(result.bytes, 3500000);
    EXPECT_EQ(Status("IE Index.dat Files"), "Done");

    test::WriteFileOfSize(index, 16);
    rebootError = ERROR_ACCESS_DENIED;
    Run();
    EXPECT_EQ(Status("IE Index.dat Files"), "Needs administrator rights");
    rebootError = 0;
    Run();
    EXPECT_EQ(Status("IE Index.dat Files"), "Need to reboot your computer!");
    EXPECT_TRUE(test::FileExists(index));
    DeleteFileW(Widen(index).c_str());
}

TEST_F(IeItemsTest, TheInPrivateFilterNeedsVersionEightAndFavoritesAreMadeAnew) {
    const std::string profile = EnvironmentValue("USERPROFILE");
    test::WriteFileOfSize(profile + "\\PrivacIE\\index.dat", 11);
    test::WriteFileOfSize(values.AppDataFolder + "\\Microsoft\\Windows\\PrivacIE\\a\\b", 13);
    const std::string favorites = ShellFolder("Favorites");
    test::WriteFileOfSize(favorites + "\\Links\\bank.url", 17);
    Tick("EXPLORER", "inprivate");
    Tick("EXPLORER", "favorites");
    values.IEMajorVersion = 7;
    Run();
    EXPECT_TRUE(test::FileExists(profile + "\\PrivacIE\\index.dat"));
    EXPECT_EQ(result.bytes, 17);
    EXPECT_TRUE(test::FolderExists(favorites));
    EXPECT_TRUE(test::ListTree(favorites).empty());

    values.IEMajorVersion = 8;
    Run();
    EXPECT_FALSE(test::FileExists(profile + "\\PrivacIE\\index.dat"));
    EXPECT_TRUE(test::ListTree(values.AppDataFolder + "\\Microsoft\\Windows\\PrivacIE").empty());
    EXPECT_EQ(result.bytes, 11 + 13);
    test::RemoveTree(profile + "\\PrivacIE");
}

// Nothing of any Internet Explorer item happens in a preview, yet it lists what would.
TEST_F(IeItemsTest, APreviewChangesNothingAndStartsNothing) {
    test::SetRegText(kTyped, "url1", "http://bank.example/");
    const std::string cookies = ShellFolder("Cookies");
    test::WriteFileOfSize(cookies + "\\user@bank.txt", 100);
    for (const char* key : {"location", "cache", "cookies", "autocomplete", "index", "addons"}) {
        Tick("EXPLORER", key);
    }
    values.IEMajorVersion = 9;
    const std::string registry = test::RegistrySnapshot(kTyped);
    const PassResult preview = Run(EraseMode::Preview);
    EXPECT_TRUE(launches.empty());
    EXPECT_EQ(test::RegistrySnapshot(kTyped), registry);
    EXPECT_TRUE(test::FileExists(cookies + "\\user@bank.txt"));
    bool listsCookie = false;
    int starts = 0;
    for (const Trace& trace : ui.traces) {
        listsCookie = listsCookie || trace.path == cookies + "\\user@bank.txt";
        starts += trace.kind == TraceKind::Process ? 1 : 0;
    }
    EXPECT_TRUE(listsCookie);
    EXPECT_EQ(starts, 4);

    const PassResult erase = Run();
    EXPECT_EQ(erase.registryKeys, preview.registryKeys);
    EXPECT_EQ(erase.bytes, preview.bytes);
    EXPECT_FALSE(test::FileExists(cookies + "\\user@bank.txt"));
}

}  // namespace
}  // namespace hm
