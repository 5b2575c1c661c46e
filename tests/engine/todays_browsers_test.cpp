// Today's browsers in the sandbox's real profile folders: profiles found from profiles.ini and
// "User Data", histories taken out of databases that keep the bookmarks, cookies of kept sites
// spared, database logs going with their databases, and a preview that foretells all of it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "engine/catalogue.h"
#include "platform/text.h"
#include "support/browser_stand_in.h"
#include "support/items_fixture.h"
#include "support/sqlite_support.h"

namespace hm {
namespace {

using test::RawConnection;

// Every byte of every file below the folder, to look for a trace in.
std::string AllBytes(const std::string& folder) {
    std::string all;
    for (const std::string& entry : test::ListTree(folder)) {
        if (entry.back() != '\\') {
            all += test::ReadFileText(folder + "\\" + entry);
        }
    }
    return all;
}

bool Holds(const std::string& bytes, const std::string& text) {
    return bytes.find(text) != std::string::npos;
}

class TodaysBrowsersTest : public test::ItemsTest {
protected:
    void TickGroup(std::string_view section, const std::vector<std::string>& except = {}) {
        for (const CatalogueItem& item : Catalogue()) {
            if (item.section == section &&
                std::find(except.begin(), except.end(), item.key) == except.end()) {
                Tick(std::string(item.section), std::string(item.key));
            }
        }
    }

    // A Firefox profile as Firefox leaves it: places.sqlite (in write-ahead mode) with visited
    // pages, a bookmark, a keyword search and a download; favicons.sqlite with their icons;
    // cookies of two sites; form history; a session; a cache below the local folder.
    std::string MakeFirefox() {
        const std::string roaming = values.AppDataFolder + "\\Mozilla\\Firefox";
        const std::string local = values.LocalAppDataFolder + "\\Mozilla\\Firefox";
        OwnFolder(roaming);
        OwnFolder(local);
        const std::string profile = roaming + "\\Profiles\\ab12.default-release";
        test::WriteFileText(roaming + "\\profiles.ini",
                            "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\n"
                            "Path=Profiles/ab12.default-release\r\nDefault=1\r\n");
        test::WriteFileText(profile + "\\prefs.js", "user_pref(\"a\", 1);\n");
        {
            RawConnection places(profile + "\\places.sqlite");
            places.Exec(
                "PRAGMA journal_mode=WAL;"
                "CREATE TABLE moz_origins (id INTEGER PRIMARY KEY, prefix TEXT, host TEXT);"
                "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT, title TEXT,"
                " visit_count INTEGER DEFAULT 0, typed INTEGER DEFAULT 0, last_visit_date INTEGER,"
                " origin_id INTEGER);"
                "CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, place_id INTEGER,"
                " visit_date INTEGER, visit_type INTEGER);"
                "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER,"
                " parent INTEGER, title TEXT);"
                "CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY, keyword TEXT, place_id "
                "INTEGER);"
                "CREATE TABLE moz_inputhistory (place_id INTEGER, input TEXT, use_count INTEGER);"
                "CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name TEXT);"
                "CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER,"
                " anno_attribute_id INTEGER, content TEXT);"
                "INSERT INTO moz_origins VALUES (1, 'https://', 'kept.example'),"
                " (2, 'https://', 'visited.example'), (3, 'https://', 'files.example');"
                "INSERT INTO moz_places VALUES"
                " (1, 'https://kept.example/bookmark', 'Kept', 4, 1, 99, 1),"
                " (2, 'https://kept.example/find?q=%s', 'Find', 0, 0, NULL, 1),"
                " (3, 'https://visited.example/secret-one', printf('%.60000c', 'x'), 1, 0, 98, 2),"
                " (4, 'https://visited.example/secret-two', 'Two', 2, 1, 97, 2),"
                " (5, 'https://files.example/setup.exe', 'Setup', 0, 0, 96, 3);"
                "INSERT INTO moz_historyvisits VALUES (1, 1, 99, 1), (2, 3, 98, 1), (3, 4, 97, 2),"
                " (4, 5, 96, 7);"
                "INSERT INTO moz_bookmarks VALUES (1, 1, 1, 2, 'Kept');"
                "INSERT INTO moz_keywords VALUES (1, 'k', 2);"
                "INSERT INTO moz_inputhistory VALUES (4, 'secret', 1);"
                "INSERT INTO moz_anno_attributes VALUES (1, 'downloads/destinationFileURI');"
                "INSERT INTO moz_annos VALUES (1, 5, 1, 'file:///C:/Downloads/setup.exe');");
            RawConnection icons(profile + "\\favicons.sqlite");
            icons.Exec(
                "CREATE TABLE moz_icons (id INTEGER PRIMARY KEY, icon_url TEXT, root INTEGER);"
                "CREATE TABLE moz_pages_w_icons (id INTEGER PRIMARY KEY, page_url TEXT);"
                "CREATE TABLE moz_icons_to_pages (page_id INTEGER, icon_id INTEGER,"
                " PRIMARY KEY (page_id, icon_id)) WITHOUT ROWID;"
                "INSERT INTO moz_icons VALUES (1, 'https://kept.example/icon.png', 0),"
                " (2, 'https://visited.example/icon.png', 0),"
                " (3, 'https://kept.example/favicon.ico', 1),"
                " (4, 'https://visited.example/favicon.ico', 1);"
                "INSERT INTO moz_pages_w_icons VALUES (1, 'https://kept.example/bookmark'),"
                " (2, 'https://visited.example/secret-one');"
                "INSERT INTO moz_icons_to_pages VALUES (1, 1), (2, 2);");
            RawConnection cookies(profile + "\\cookies.sqlite");
            cookies.Exec(
                "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, host TEXT, name TEXT);"
                "INSERT INTO moz_cookies VALUES (1, '.localhost', 'session'),"
                " (2, 'visited.example', 'tracker');");
            RawConnection forms(profile + "\\formhistory.sqlite");
            forms.Exec(
                "CREATE TABLE moz_formhistory (id INTEGER PRIMARY KEY, fieldname TEXT, value TEXT);"
                "INSERT INTO moz_formhistory VALUES (1, 'street', 'secret-street 5');");
        }
        test::WriteFileOfSize(profile + "\\sessionstore-backups\\recovery.jsonlz4", 300);
        test::WriteFileOfSize(profile + "\\sessionstore.jsonlz4", 200);
        test::WriteFileOfSize(profile + "\\storage\\default\\https+++visited.example\\ls\\data",
                              50);
        test::WriteFileOfSize(profile + "\\storage\\default\\moz-extension+++1234\\idb\\x", 60);
        test::WriteFileOfSize(local + "\\Profiles\\ab12.default-release\\cache2\\entries\\A1",
                              4000);
        return profile;
    }
};

TEST_F(TodaysBrowsersTest, FirefoxLosesItsTracesAndKeepsBookmarksKeywordsAndKeptCookies) {
    const std::string profile = MakeFirefox();
    const std::string prefs = test::ReadFileText(profile + "\\prefs.js");
    test::WriteFileText(program / "keepcook.dat", "localhost\r\n");
    TickGroup("Today.Firefox");
    Run();

    for (const test::Row& row : ui.rows) {
        if (row.label.rfind("Firefox: ", 0) == 0) {
            EXPECT_EQ(row.status, "Done") << row.label;
        }
    }
    const std::string bytes = AllBytes(values.AppDataFolder + "\\Mozilla") +
                              AllBytes(values.LocalAppDataFolder + "\\Mozilla");
    EXPECT_FALSE(Holds(bytes, "visited.example"));
    EXPECT_FALSE(Holds(bytes, "files.example"));
    EXPECT_FALSE(Holds(bytes, "secret-street"));
    EXPECT_FALSE(test::FileExists(profile + "\\places.sqlite-wal"));
    EXPECT_EQ(test::ReadFileText(profile + "\\prefs.js"), prefs);
    EXPECT_TRUE(test::FolderExists(profile + "\\storage\\default\\moz-extension+++1234"));
    EXPECT_FALSE(test::FileExists(profile + "\\sessionstore.jsonlz4"));

    RawConnection places(profile + "\\places.sqlite");
    EXPECT_EQ(places.Column("SELECT url FROM moz_places ORDER BY id"),
              (std::vector<std::string>{"https://kept.example/bookmark",
                                        "https://kept.example/find?q=%s"}));
    EXPECT_EQ(places.Column("SELECT visit_count || typed || ifnull(last_visit_date, '-') FROM "
                            "moz_places WHERE id = 1"),
              std::vector<std::string>{"00-"});
    EXPECT_EQ(places.Column("SELECT count(*) FROM moz_historyvisits"),
              std::vector<std::string>{"0"});
    EXPECT_EQ(places.Column("SELECT title FROM moz_bookmarks"), std::vector<std::string>{"Kept"});
    RawConnection icons(profile + "\\favicons.sqlite");
    EXPECT_EQ(icons.Column("SELECT icon_url FROM moz_icons ORDER BY id"),
              (std::vector<std::string>{"https://kept.example/icon.png",
                                        "https://kept.example/favicon.ico"}));
    EXPECT_EQ(icons.Column("SELECT count(*) FROM moz_icons_to_pages"),
              std::vector<std::string>{"1"});
    RawConnection cookies(profile + "\\cookies.sqlite");
    EXPECT_EQ(cookies.Column("SELECT host FROM moz_cookies"),
              std::vector<std::string>{".localhost"});
    // The files, and the pages the long title of a forgotten visit took in places.sqlite.
    EXPECT_GT(result.bytes, 4000 + 300 + 200 + 50 + 50000);
}

// A preview changes no byte of the profile and names exactly the files and databases, with the
// sizes, that the pass then takes.
TEST_F(TodaysBrowsersTest, APreviewForetellsThePassFileByFile) {
    const std::string profile = MakeFirefox();
    TickGroup("Today.Firefox");
    const std::string before = AllBytes(values.AppDataFolder + "\\Mozilla") +
                               AllBytes(values.LocalAppDataFolder + "\\Mozilla");
    const PassResult preview = Run(EraseMode::Preview);
    using Seen = std::vector<std::tuple<int, std::string, std::string, double, int>>;
    const auto summary = [this] {
        Seen seen;
        for (const Trace& t : ui.traces) {
            seen.emplace_back(static_cast<int>(t.kind), t.path, t.name, t.bytes,
                              static_cast<int>(t.outcome));
        }
        std::sort(seen.begin(), seen.end());
        return seen;
    };
    const Seen foretold = summary();
    EXPECT_EQ(AllBytes(values.AppDataFolder + "\\Mozilla") +
                  AllBytes(values.LocalAppDataFolder + "\\Mozilla"),
              before);
    const PassResult erase = Run();
    EXPECT_EQ(summary(), foretold);
    EXPECT_EQ(erase.bytes, preview.bytes);
    EXPECT_GT(std::count_if(foretold.begin(), foretold.end(),
                            [](const auto& t) {
                                return std::get<0>(t) == static_cast<int>(TraceKind::DatabaseRows);
                            }),
              2);
}

// Every profile of a Chromium-family browser; what the user keeps in a database stays, the
// files that only repeat the history go with their journals, unless another program holds one.
TEST_F(TodaysBrowsersTest, ChromeCleansEveryProfileAndSparesWhatTheUserKept) {
    const std::string data = values.LocalAppDataFolder + "\\Google\\Chrome\\User Data";
    OwnFolder(values.LocalAppDataFolder + "\\Google");
    test::WriteFileText(data + "\\Local State", "{\"profile\":{\"info_cache\":{}}}");
    const std::string bookmarks =
        "{\"roots\":{\"bookmark_bar\":{\"children\":[{\"type\":\"url\",\"name\":\"K\","
        "\"url\":\"https://kept.example/bookmark\"}],\"type\":\"folder\"}}}";
    for (const std::string name : {"Default", "Profile 1"}) {
        const std::string profile = data + "\\" + name;
        test::WriteFileText(profile + "\\Preferences", "{}");
        test::MakeFolders(profile + "\\Network");
        test::WriteFileText(profile + "\\Bookmarks", bookmarks);
        RawConnection history(profile + "\\History");
        history.Exec(
            "CREATE TABLE meta (key TEXT, value TEXT);"
            "CREATE TABLE urls (id INTEGER PRIMARY KEY, url TEXT);"
            "CREATE TABLE visits (id INTEGER PRIMARY KEY, url INTEGER);"
            "CREATE TABLE downloads (id INTEGER PRIMARY KEY, target_path TEXT);"
            "INSERT INTO meta VALUES ('version', '67');"
            "INSERT INTO urls VALUES (1, 'https://visited.example/secret');"
            "INSERT INTO visits VALUES (1, 1);"
            "INSERT INTO downloads VALUES (1, 'C:\\setup.exe');");
        RawConnection cookies(profile + "\\Network\\Cookies");
        cookies.Exec(
            "CREATE TABLE cookies (host_key TEXT, name TEXT);"
            "INSERT INTO cookies VALUES ('localhost', 'a'), ('.visited.example', 'b');");
        RawConnection webData(profile + "\\Web Data");
        webData.Exec(
            "CREATE TABLE autofill (name TEXT, value TEXT);"
            "CREATE TABLE keywords (short_name TEXT, url TEXT);"
            "INSERT INTO autofill VALUES ('email', 'secret@visited.example');"
            "INSERT INTO keywords VALUES ('Mine', 'https://kept.example/?q={searchTerms}');");
        RawConnection icons(profile + "\\Favicons");
        icons.Exec(
            "CREATE TABLE icon_mapping (id INTEGER PRIMARY KEY, page_url TEXT, icon_id INTEGER);"
            "CREATE TABLE favicons (id INTEGER PRIMARY KEY, url TEXT);"
            "INSERT INTO icon_mapping VALUES (1, 'https://kept.example/bookmark', 1),"
            " (2, 'https://visited.example/secret', 2);"
            "INSERT INTO favicons VALUES (1, 'https://kept.example/i.png'),"
            " (2, 'https://visited.example/i.png');");
        test::WriteFileOfSize(profile + "\\Top Sites", 100);
        test::WriteFileOfSize(profile + "\\Top Sites-journal", 10);
        test::WriteFileOfSize(profile + "\\Cache\\Cache_Data\\f_000001", 1000);
        test::WriteFileOfSize(profile + "\\Sessions\\Session_1", 100);
    }
    // Another program holds one profile's Top Sites without letting it go: its journal stays.
    const std::string held = data + "\\Profile 1\\Top Sites";
    HANDLE handle = CreateFileW(Widen(held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    test::WriteFileText(program / "keepcook.dat", "localhost\r\n");
    TickGroup("Today.Chrome", {"Downloads"});
    Run();
    CloseHandle(handle);

    EXPECT_EQ(Status("Google Chrome: Browsing history"), "Done, 1 in use");
    EXPECT_TRUE(test::FileExists(held + "-journal"));
    EXPECT_FALSE(test::FileExists(data + "\\Default\\Top Sites-journal"));
    for (const std::string name : {"Default", "Profile 1"}) {
        const std::string profile = data + "\\" + name;
        EXPECT_EQ(test::ReadFileText(profile + "\\Bookmarks"), bookmarks);
        EXPECT_EQ(test::ReadFileText(profile + "\\Preferences"), "{}");
        EXPECT_FALSE(test::FolderExists(profile + "\\Cache"));
        EXPECT_FALSE(test::FolderExists(profile + "\\Sessions"));
        RawConnection history(profile + "\\History");
        EXPECT_EQ(history.Column("SELECT count(*) FROM urls"), std::vector<std::string>{"0"});
        EXPECT_EQ(history.Column("SELECT count(*) FROM downloads"), std::vector<std::string>{"1"});
        EXPECT_EQ(history.Column("SELECT value FROM meta"), std::vector<std::string>{"67"});
        RawConnection cookies(profile + "\\Network\\Cookies");
        EXPECT_EQ(cookies.Column("SELECT host_key FROM cookies"),
                  std::vector<std::string>{"localhost"});
        RawConnection webData(profile + "\\Web Data");
        EXPECT_EQ(webData.Column("SELECT count(*) FROM autofill"), std::vector<std::string>{"0"});
        EXPECT_EQ(webData.Column("SELECT short_name FROM keywords"),
                  std::vector<std::string>{"Mine"});
        RawConnection icons(profile + "\\Favicons");
        EXPECT_EQ(icons.Column("SELECT url FROM favicons"),
                  std::vector<std::string>{"https://kept.example/i.png"});
    }
    EXPECT_TRUE(test::FileExists(data + "\\Local State"));
}

// A browser that runs holds its databases: its rows touch nothing of it and say why, in a
// preview as in the pass, while another browser's rows go on.
TEST_F(TodaysBrowsersTest, ARunningBrowserIsSkippedAndNamed) {
    const std::string profile = MakeFirefox();
    const std::string chrome = values.LocalAppDataFolder + "\\Chromium\\User Data\\Default";
    OwnFolder(values.LocalAppDataFolder + "\\Chromium");
    test::WriteFileText(chrome + "\\Preferences", "{}");
    test::WriteFileOfSize(chrome + "\\Cache\\Cache_Data\\f_000001", 1000);
    test::PlacedProgram firefox("C:\\Program Files\\Mozilla Firefox", "firefox.exe");
    ASSERT_TRUE(firefox.copied());
    test::Holder running(firefox.path(), profile + "\\places.sqlite");
    ASSERT_TRUE(running.ready()) << running.said();
    TickGroup("Today.Firefox");
    Tick("Today.Chromium", "Cache");
    const auto mozilla = [this] {
        return AllBytes(values.AppDataFolder + "\\Mozilla") +
               AllBytes(values.LocalAppDataFolder + "\\Mozilla");
    };
    const std::string before = mozilla();
    for (EraseMode mode : {EraseMode::Preview, EraseMode::Erase}) {
        Run(mode);
        int firefoxRows = 0;
        for (const test::Row& row : ui.rows) {
            if (row.label.rfind("Firefox: ", 0) == 0) {
                ++firefoxRows;
                EXPECT_EQ(row.status, "Skipped: Firefox is running") << row.label;
            }
        }
        EXPECT_EQ(firefoxRows, 8);
        EXPECT_EQ(Status("Chromium: Cache"), "Done");
        EXPECT_EQ(result.bytes, 1000);
    }
    EXPECT_EQ(mozilla(), before);
    EXPECT_FALSE(test::FolderExists(chrome + "\\Cache"));
}

}  // namespace
}  // namespace hm
