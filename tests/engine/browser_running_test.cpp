// The browser-running check on real processes: hm_db_holder.exe, copied to where a browser
// installs its program and under that program's name, holds a database as the browser would.
#include "engine/browser_running.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "platform/path_rules.h"
#include "platform/processes.h"
#include "platform/sqlite_db.h"
#include "support/browser_stand_in.h"
#include "support/sandbox.h"

namespace hm::browsers {
namespace {

using test::Holder;
using test::PlacedProgram;
using test::TempFolder;

void MakeDatabase(const std::string& path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
        SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close_v2(db);
}

bool ListedWithPath(const std::string& path) {
    for (const ProcessImage& process : RunningProcesses()) {
        if (AsciiLower(process.path) == AsciiLower(path)) {
            return true;
        }
    }
    return false;
}

TEST(BrowserRunning, FirefoxRunsWhileItsProgramHoldsItsDatabase) {
    TempFolder folder;
    const std::string database = folder / "places.sqlite";
    MakeDatabase(database);
    PlacedProgram firefox("C:\\Program Files\\Mozilla Firefox", "firefox.exe");
    ASSERT_TRUE(firefox.copied());
    ASSERT_FALSE(IsBrowserRunning("Firefox"));
    // The list leaves out the process that asks.
    EXPECT_FALSE(ListedWithPath(JoinPath(test::ExecutableFolder(), "hm_tests_engine.exe")));
    {
        Holder holder(firefox.path(), database);
        ASSERT_TRUE(holder.ready()) << holder.said();
        EXPECT_TRUE(ListedWithPath(firefox.path()));
        EXPECT_TRUE(IsBrowserRunning("Firefox"));
        EXPECT_FALSE(IsBrowserRunning("Chrome"));
        sqlite::Database db;
        const sqlite::Status opened = db.Open(database);
        EXPECT_TRUE(opened.busy()) << opened.code << " " << opened.message;
        EXPECT_TRUE(holder.End());
    }
    EXPECT_FALSE(IsBrowserRunning("Firefox"));
    sqlite::Database db;
    EXPECT_TRUE(db.Open(database).ok());
}

TEST(BrowserRunning, ChromeAndChromiumAreToldApartByTheProgramsFolder) {
    TempFolder folder;
    const std::string database = folder / "History";
    MakeDatabase(database);
    struct Case {
        const char* folder;
        bool chrome;
        bool chromium;
    };
    for (const Case& c : {Case{"C:\\Program Files\\Google\\Chrome\\Application", true, false},
                          Case{"C:\\Tools", true, true}}) {
        PlacedProgram chrome(c.folder, "chrome.exe");
        ASSERT_TRUE(chrome.copied()) << c.folder;
        Holder holder(chrome.path(), database);
        ASSERT_TRUE(holder.ready()) << c.folder << ": " << holder.said();
        EXPECT_EQ(IsBrowserRunning("Chrome"), c.chrome) << c.folder;
        EXPECT_EQ(IsBrowserRunning("Chromium"), c.chromium) << c.folder;
        EXPECT_FALSE(IsBrowserRunning("Firefox")) << c.folder;
        EXPECT_TRUE(holder.End());
        EXPECT_FALSE(IsBrowserRunning("Chrome")) << c.folder;
        EXPECT_FALSE(IsBrowserRunning("Chromium")) << c.folder;
    }
}

}  // namespace
}  // namespace hm::browsers
