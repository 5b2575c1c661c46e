// The SQLite wrapper on real database files in a throwaway folder: what it refuses to open,
// statements and transactions, locks held by another connection, and compaction that leaves
// neither the file nor a log beside it holding a deleted row.
#include "platform/sqlite_db.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/sandbox.h"
#include "support/sqlite_support.h"
#include "support/shred_support.h"

namespace hm {
namespace {

using sqlite::Database;
using sqlite::Statement;
using sqlite::StepResult;
using sqlite::Transaction;
using test::RawConnection;
using test::TempFolder;

// A history table with visits to forget and bookmarked pages to keep, in the given journal mode.
void MakeHistory(const std::string& path, const std::string& journalMode) {
    RawConnection db(path);
    db.Exec("PRAGMA journal_mode=" + journalMode);
    db.Exec("CREATE TABLE pages (id INTEGER PRIMARY KEY, url TEXT, bookmarked INTEGER)");
    db.Exec("BEGIN");
    for (int i = 0; i < 300; ++i) {
        const bool keep = i % 10 == 0;
        db.Exec("INSERT INTO pages (url, bookmarked) VALUES ('https://" +
                std::string(keep ? "kept.example/page" : "visited.example/HUSHMARK-VISIT-") +
                std::to_string(i) + "', " + (keep ? "1" : "0") + ")");
    }
    db.Exec("COMMIT");
}

std::int64_t CountRows(Database& db, const std::string& where) {
    Statement count;
    EXPECT_TRUE(db.Prepare("SELECT count(*) FROM pages WHERE " + where, count).ok());
    EXPECT_EQ(count.Step(), StepResult::Row);
    return count.ColumnInt64(0);
}

TEST(SqliteOpen, RefusesWhatIsNotAnExistingDatabaseAndCreatesNothing) {
    TempFolder folder;
    test::WriteFileText(folder / "notes.sqlite", std::string(4096, 'n'));
    struct Case {
        std::string path;
        const char* why;
    };
    const std::vector<Case> cases = {
        {folder / "missing.sqlite", "no such file"},
        {folder / "notes.sqlite", "not a database"},
        {"", "empty name (SQLite would make a temporary database)"},
        {":memory:", "in-memory database"},
        {"places.sqlite", "relative name"},
    };
    for (const Case& c : cases) {
        Database db;
        const sqlite::Status status = db.Open(c.path);
        EXPECT_FALSE(status.ok()) << c.why;
        EXPECT_FALSE(status.message.empty()) << c.why;
        EXPECT_FALSE(db.IsOpen()) << c.why;
    }
    EXPECT_FALSE(test::FileExists(folder / "missing.sqlite"));
    EXPECT_EQ(test::ReadFileText(folder / "notes.sqlite"), std::string(4096, 'n'));
    EXPECT_EQ(test::ListTree(folder.path()), std::vector<std::string>{"notes.sqlite"});
}

TEST(SqliteStatements, BindStepResetAndTransactions) {
    TempFolder folder;
    const std::string path = folder / "forms.sqlite";
    MakeHistory(path, "delete");
    Database db;
    ASSERT_TRUE(db.Open(path).ok());

    Statement insert;
    ASSERT_TRUE(
        db.Prepare("INSERT INTO pages (id, url, bookmarked) VALUES (?1, ?2, ?3)", insert).ok());
    const std::string awkward = "O'Brien \"quoted\"; DROP TABLE pages; -- \xC3\xA9\xE2\x82\xAC";
    ASSERT_TRUE(insert.BindInt64(1, 9000000000LL).ok());
    ASSERT_TRUE(insert.BindText(2, awkward).ok());
    ASSERT_TRUE(insert.BindNull(3).ok());
    EXPECT_TRUE(insert.Run().ok());
    EXPECT_EQ(db.Changes(), 1);
    // Reset unbinds: the same statement runs again with new values.
    ASSERT_TRUE(insert.Reset().ok());
    ASSERT_TRUE(insert.BindInt64(1, 9000000001LL).ok());
    ASSERT_TRUE(insert.BindText(2, std::string_view("ab\0cd", 5)).ok());
    EXPECT_TRUE(insert.Run().ok());
    // The same key again breaks the primary key: an error value, not an exception.
    ASSERT_TRUE(insert.Reset().ok());
    ASSERT_TRUE(insert.BindInt64(1, 9000000001LL).ok());
    EXPECT_EQ(insert.Step(), StepResult::Error);
    EXPECT_EQ(insert.error().code & 0xff, SQLITE_CONSTRAINT);
    EXPECT_FALSE(insert.error().message.empty());

    Statement select;
    ASSERT_TRUE(
        db.Prepare("SELECT id, url, bookmarked FROM pages WHERE id >= ?1 ORDER BY id", select)
            .ok());
    ASSERT_TRUE(select.BindInt64(1, 9000000000LL).ok());
    ASSERT_EQ(select.Step(), StepResult::Row);
    EXPECT_EQ(select.ColumnCount(), 3);
    EXPECT_EQ(select.ColumnInt64(0), 9000000000LL);
    EXPECT_EQ(select.ColumnText(1), awkward);
    EXPECT_TRUE(select.ColumnIsNull(2));
    ASSERT_EQ(select.Step(), StepResult::Row);
    EXPECT_EQ(select.ColumnText(1), std::string("ab\0cd", 5));
    EXPECT_EQ(select.Step(), StepResult::Done);

    EXPECT_FALSE(db.Prepare("SELECT nothing FROM nowhere", select).ok());
    EXPECT_FALSE(db.Execute("DELETE FROM nowhere").ok());

    {
        Transaction forgotten(db);
        ASSERT_TRUE(forgotten.status().ok());
        ASSERT_TRUE(db.Execute("DELETE FROM pages").ok());
        EXPECT_EQ(CountRows(db, "1"), 0);
    }
    EXPECT_EQ(CountRows(db, "1"), 302);
    {
        Transaction kept(db);
        ASSERT_TRUE(db.Execute("DELETE FROM pages WHERE bookmarked = 0").ok());
        EXPECT_EQ(db.Changes(), 270);
        EXPECT_TRUE(kept.Commit().ok());
        EXPECT_FALSE(kept.Commit().ok());
    }
    EXPECT_EQ(CountRows(db, "1"), 32);
}

// What a browser's connection does, and what the wrapper must then report without changing
// anything.
TEST(SqliteLocks, ALockHeldElsewhereIsReportedAsBusyAndNothingChanges) {
    struct Case {
        const char* journalMode;
        const char* otherHolds;
        bool openFails;  // otherwise the transaction cannot begin
    };
    const std::vector<Case> cases = {
        {"delete", "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; SELECT count(*) FROM pages",
         true},
        {"wal", "PRAGMA locking_mode=EXCLUSIVE; SELECT count(*) FROM pages", true},
        {"wal", "BEGIN IMMEDIATE", false},
        {"delete", "BEGIN IMMEDIATE", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.journalMode) + ": " + c.otherHolds);
        TempFolder folder;
        const std::string path = folder / "places.sqlite";
        MakeHistory(path, c.journalMode);
        {
            RawConnection browser(path);
            browser.Exec(c.otherHolds);
            Database db;
            const sqlite::Status opened = db.Open(path, 0);
            if (c.openFails) {
                EXPECT_TRUE(opened.busy()) << opened.code << " " << opened.message;
                EXPECT_FALSE(db.IsOpen());
            } else {
                ASSERT_TRUE(opened.ok()) << opened.message;
                Transaction transaction(db);
                EXPECT_TRUE(transaction.status().busy()) << transaction.status().message;
                EXPECT_FALSE(transaction.Commit().ok());
                EXPECT_FALSE(db.Execute("DELETE FROM pages").ok());
            }
        }
        Database db;
        ASSERT_TRUE(db.Open(path).ok());
        EXPECT_EQ(CountRows(db, "1"), 300);
    }
}

TEST(SqliteCompact, DeletedRowsLeaveTheFileAndNoLogIsLeftBehind) {
    for (const std::string mode : {"delete", "wal"}) {
        SCOPED_TRACE(mode);
        TempFolder folder;
        const std::string path = folder / "places.sqlite";
        MakeHistory(path, mode);
        // The check below can see the text: it is there before the pass.
        ASSERT_TRUE(test::TreeHolds(folder.path(), "HUSHMARK-VISIT-"));
        {
            // An idle reader stays open through the pass (a browser's helper, a second window),
            // so the log is not removed at close and shows what the checkpoint left in it.
            RawConnection other(path);
            Database db;
            ASSERT_TRUE(db.Open(path).ok());
            EXPECT_EQ(db.JournalMode(), mode);
            // Without secure deletion SQLite only unlinks deleted rows; compaction alone must
            // take them out of the bytes.
            ASSERT_TRUE(db.Execute("PRAGMA secure_delete=OFF").ok());
            {
                Transaction transaction(db);
                ASSERT_TRUE(transaction.status().ok());
                ASSERT_TRUE(db.Execute("DELETE FROM pages WHERE bookmarked = 0").ok());
                ASSERT_TRUE(transaction.Commit().ok());
            }
            ASSERT_TRUE(db.Compact().ok());
            EXPECT_FALSE(test::TreeHolds(folder.path(), "HUSHMARK-VISIT-"));
            if (mode == "wal") {
                EXPECT_EQ(test::ReadShared(path + sqlite::kWalSuffix), "");
            }
            EXPECT_TRUE(db.Close().ok());
        }
        // The last connection gone, only the database is left, whole and with what was kept.
        EXPECT_EQ(test::ListTree(folder.path()), std::vector<std::string>{"places.sqlite"});
        Database db;
        ASSERT_TRUE(db.Open(path).ok());
        Statement check;
        ASSERT_TRUE(db.Prepare("PRAGMA integrity_check", check).ok());
        ASSERT_EQ(check.Step(), StepResult::Row);
        EXPECT_EQ(check.ColumnText(0), "ok");
        EXPECT_EQ(CountRows(db, "bookmarked = 1 AND url LIKE 'https://kept.example/page%'"), 30);
        EXPECT_EQ(CountRows(db, "1"), 30);
    }
}

// A browser that stopped without closing leaves its write-ahead log beside the file, holding rows
// the file does not have yet. Opening reads them, and closing folds them into the file.
TEST(SqliteOpen, ALogLeftBehindIsReadAndFoldedIntoTheFile) {
    TempFolder live;
    TempFolder left;
    const std::string path = live / "favicons.sqlite";
    MakeHistory(path, "wal");
    {
        RawConnection browser(path);
        browser.Exec("PRAGMA wal_autocheckpoint=0");
        browser.Exec("INSERT INTO pages (url, bookmarked) VALUES ('https://only.in/the-log', 1)");
        // The files as they are on the disk at this moment, as if the browser had been killed.
        for (const char* name : {"favicons.sqlite", "favicons.sqlite-wal"}) {
            test::WriteFileText(left / name, test::ReadShared(live / name));
        }
    }
    const std::string copy = left / "favicons.sqlite";
    ASSERT_TRUE(test::ReadShared(copy).find("only.in/the-log") == std::string::npos);
    {
        Database db;
        ASSERT_TRUE(db.Open(copy).ok());
        EXPECT_EQ(CountRows(db, "url = 'https://only.in/the-log'"), 1);
        EXPECT_TRUE(db.Close().ok());
    }
    EXPECT_EQ(test::ListTree(left.path()), std::vector<std::string>{"favicons.sqlite"});
    EXPECT_NE(test::ReadShared(copy).find("only.in/the-log"), std::string::npos);
}

TEST(SqliteCompact, RefusesInsideATransaction) {
    TempFolder folder;
    const std::string path = folder / "cookies.sqlite";
    MakeHistory(path, "delete");
    Database db;
    ASSERT_TRUE(db.Open(path).ok());
    Transaction transaction(db);
    ASSERT_TRUE(db.Execute("DELETE FROM pages").ok());
    EXPECT_FALSE(db.Compact().ok());
    // Nothing of the open transaction was committed by the attempt.
    ASSERT_TRUE(db.Execute("ROLLBACK").ok());
    EXPECT_EQ(CountRows(db, "1"), 300);
}

// Every file of a folder with its bytes and last-write time, and the folder's own time, which
// moves when a file is made or removed in it even for a moment.
std::vector<std::string> Snapshot(const std::string& folder) {
    std::vector<std::string> lines;
    for (const std::string& name : test::ListTree(folder)) {
        const std::string path = folder + "\\" + name;
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        EXPECT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) << path;
        lines.push_back(name + " " + std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" +
                        std::to_string(data.ftLastWriteTime.dwLowDateTime) + " " +
                        (name.ends_with("\\") ? "" : test::ReadShared(path)));
    }
    WIN32_FILE_ATTRIBUTE_DATA self = {};
    EXPECT_TRUE(GetFileAttributesExA(folder.c_str(), GetFileExInfoStandard, &self));
    lines.push_back(std::to_string(self.ftLastWriteTime.dwLowDateTime));
    return lines;
}

TEST(SqliteReadOnly, ReadsAClosedDatabaseInEitherModeAndChangesNoFile) {
    for (const std::string mode : {"delete", "wal", "truncate"}) {
        SCOPED_TRACE(mode);
        TempFolder profile;
        // A folder name with characters a URI gives meaning to.
        const std::string folder = profile / "a #1 %20 b";
        test::MakeFolders(folder);
        const std::string path = folder + "\\cookies.sqlite";
        MakeHistory(path, mode);
        // Older times than now, so that a write in the same clock tick shows too.
        Sleep(50);
        const std::vector<std::string> before = Snapshot(folder);
        {
            Database db;
            const sqlite::Status opened = db.OpenReadOnly(path);
            ASSERT_TRUE(opened.ok()) << opened.message;
            EXPECT_EQ(CountRows(db, "bookmarked = 1"), 30);
            EXPECT_FALSE(db.Execute("DELETE FROM pages").ok());
            EXPECT_FALSE(db.Execute("CREATE TABLE t (x)").ok());
            EXPECT_TRUE(db.Close().ok());
        }
        EXPECT_EQ(Snapshot(folder), before);
    }
}

TEST(SqliteReadOnly, ADatabaseInUseOrLeftMidWriteIsRefusedAndStaysAsItWas) {
    struct Case {
        const char* journalMode;
        const char* otherHolds;  // empty: the files of a browser killed mid-write
    };
    const std::vector<Case> cases = {
        {"wal", "SELECT count(*) FROM pages"},
        {"wal", ""},
        {"delete", "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; SELECT count(*) FROM pages"},
        {"delete", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.journalMode) + ": " + c.otherHolds);
        TempFolder live;
        TempFolder left;
        const std::string livePath = live / "Cookies";
        MakeHistory(livePath, c.journalMode);
        RawConnection browser(livePath);
        browser.Exec("PRAGMA wal_autocheckpoint=0; PRAGMA cache_size=1");
        std::string path = livePath;
        if (*c.otherHolds != '\0') {
            browser.Exec(c.otherHolds);
        } else {
            // A write under way, its journal or log on the disk, copied as a crash leaves it.
            browser.Exec("BEGIN; UPDATE pages SET url = url || '-changed'");
            if (std::string(c.journalMode) == "wal") {
                browser.Exec("COMMIT");
            }
            for (const std::string& name : test::ListTree(live.path())) {
                if (!name.ends_with("-shm")) {
                    test::WriteFileText(left / name, test::ReadShared(live / name));
                }
            }
            path = left / "Cookies";
            ASSERT_GT(test::ListTree(left.path()).size(), 1u);
        }
        const std::string folder = path.substr(0, path.rfind('\\'));
        Sleep(50);
        const std::vector<std::string> before = Snapshot(folder);
        Database db;
        const sqlite::Status opened = db.OpenReadOnly(path);
        EXPECT_FALSE(opened.ok());
        EXPECT_FALSE(db.IsOpen());
        if (*c.otherHolds != '\0') {
            EXPECT_TRUE(opened.busy()) << opened.code << " " << opened.message;
        }
        EXPECT_EQ(Snapshot(folder), before);
    }
}

}  // namespace
}  // namespace hm
