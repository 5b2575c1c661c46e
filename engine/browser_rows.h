// What each row of today's browsers cleans in a profile, as data with no system call: the files
// and folders it deletes, and the databases it cleans row by row because they mix traces with
// what the user keeps (bookmarks, search engines).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hm {

enum class BrowserRow {
    Cache,
    Cookies,
    History,
    Downloads,
    Forms,
    Session,
    SiteStorage,
    Passwords
};

struct BrowserRowInfo {
    BrowserRow row;
    std::string_view key;      // settings key
    std::string_view caption;  // the dialog's box; the status row puts the browser's name first
    bool asksFirst = false;    // off until the user ticks it, and ticking it asks first
};

// The eight rows, in the order each browser's group lists them.
std::span<const BrowserRowInfo> BrowserRowList();
std::optional<BrowserRow> BrowserRowOf(std::string_view key);

namespace browsers {

// Which folder of a profile a path is below: the profile folder, or the folder where the
// browser keeps that profile's cache (which may be the profile folder itself).
enum class Under { Profile, Cache };

enum class TargetKind {
    File,           // one file; an SQLite database goes with its log files (-wal, -shm, -journal)
    Folder,         // the folder with everything in it
    FolderEntries,  // the entries directly inside the folder, but those whose names start with
                    // `except` (another program's data kept in the same place, e.g. extensions)
    Database,       // an SQLite database cleaned row by row and compacted (DatabaseJob)
};

enum class DatabaseJob {
    None,
    FirefoxHistory,     // places.sqlite: visits and unbookmarked pages
    FirefoxDownloads,   // places.sqlite: download visits and their annotations
    FirefoxFavicons,    // favicons.sqlite: icons of pages that are not bookmarked
    FirefoxForms,       // formhistory.sqlite: every entry
    FirefoxCookies,     // cookies.sqlite: the cookies of sites not kept
    ChromiumHistory,    // History: everything but the downloads
    ChromiumDownloads,  // History: the downloads
    ChromiumFavicons,   // Favicons: icons of pages that are not bookmarked
    ChromiumAutofill,   // Web Data: form entries; search engines, addresses and cards stay
    ChromiumCookies,    // Cookies: the cookies of sites not kept
};

struct Target {
    Under under;
    std::string_view path;  // below the folder; "\" between names
    TargetKind kind;
    DatabaseJob job = DatabaseJob::None;
    std::string_view except = {};
};

// The targets of a row, in the order they are cleaned.
std::vector<Target> FirefoxTargets(BrowserRow row);
std::vector<Target> ChromiumTargets(BrowserRow row);

// A statement of a database job, run only when every table it names exists (older and newer
// versions of a browser have different tables).
struct SqlStatement {
    std::string_view sql;
    std::vector<std::string_view> tables;
};

// The statements of a job. FirefoxCookies, ChromiumCookies and the favicon jobs also sweep rows
// by a rule of the caller (see SweepOf); their statements run after the sweep.
std::vector<SqlStatement> StatementsOf(DatabaseJob job);

// Rows removed one by one unless the caller's rule keeps the text in `column`.
struct RowSweep {
    std::string_view table;
    std::string_view column;
    std::string_view where;  // limits the rows looked at; empty for all
};
std::vector<RowSweep> SweepsOf(DatabaseJob job);

// Chromium's History keeps the downloads beside the browsing history: the history job empties
// every table but these.
std::span<const std::string_view> ChromiumHistoryKeptTables();

// The icon a site keeps at its root, where browsers look when a page names none:
// "https://host:port/favicon.ico" for a page of that origin; empty for an address without one.
std::string RootIconOf(std::string_view url);

}  // namespace browsers
}  // namespace hm
