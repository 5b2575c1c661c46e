#include "engine/browser_rows.h"

#include <algorithm>

namespace hm {
namespace {

constexpr BrowserRowInfo kRows[] = {
    {BrowserRow::Cache, "Cache", "Cache"},
    {BrowserRow::Cookies, "Cookies", "Cookies"},
    {BrowserRow::History, "History", "Browsing history"},
    {BrowserRow::Downloads, "Downloads", "Download history"},
    {BrowserRow::Forms, "Forms", "Form and search-box entries"},
    {BrowserRow::Session, "Session", "Last session and open tabs"},
    {BrowserRow::SiteStorage, "SiteStorage", "Site storage"},
    {BrowserRow::Passwords, "Passwords", "Saved passwords", true},
};

}  // namespace

std::span<const BrowserRowInfo> BrowserRowList() {
    return kRows;
}

std::optional<BrowserRow> BrowserRowOf(std::string_view key) {
    for (const BrowserRowInfo& info : kRows) {
        if (info.key == key) {
            return info.row;
        }
    }
    return std::nullopt;
}

namespace browsers {
namespace {

using enum Under;
using enum TargetKind;

Target Db(std::string_view path, DatabaseJob job) {
    return {Profile, path, Database, job};
}

}  // namespace

std::vector<Target> FirefoxTargets(BrowserRow row) {
    switch (row) {
        case BrowserRow::Cache:
            return {{Cache, "cache2", Folder}, {Cache, "OfflineCache", Folder}};
        case BrowserRow::Cookies:
            return {Db("cookies.sqlite", DatabaseJob::FirefoxCookies)};
        case BrowserRow::History:
            // Besides the visits: icons of the pages, new-tab thumbnails, the jump list's icons,
            // and the hosts the browser remembers for security and connection hints.
            return {Db("places.sqlite", DatabaseJob::FirefoxHistory),
                    Db("favicons.sqlite", DatabaseJob::FirefoxFavicons),
                    {Cache, "thumbnails", Folder},
                    {Cache, "jumpListCache", Folder},
                    {Profile, "SiteSecurityServiceState.bin", File},
                    {Profile, "SiteSecurityServiceState.txt", File},
                    {Profile, "AlternateServices.bin", File},
                    {Profile, "AlternateServices.txt", File},
                    {Profile, "netpredictions.sqlite", File}};
        case BrowserRow::Downloads:
            return {Db("places.sqlite", DatabaseJob::FirefoxDownloads),
                    {Profile, "downloads.sqlite", File}};
        case BrowserRow::Forms:
            return {Db("formhistory.sqlite", DatabaseJob::FirefoxForms)};
        case BrowserRow::Session:
            return {{Profile, "sessionstore.jsonlz4", File},
                    {Profile, "sessionstore.js", File},
                    {Profile, "sessionstore-backups", Folder}};
        case BrowserRow::SiteStorage:
            // Extensions keep their own storage among the sites'.
            return {
                {Profile, "storage\\default", FolderEntries, DatabaseJob::None, "moz-extension"},
                {Profile, "storage\\temporary", Folder},
                {Profile, "storage\\ls-archive.sqlite", File},
                {Profile, "webappsstore.sqlite", File},
                {Profile, "serviceworker.txt", File}};
        case BrowserRow::Passwords:
            return {{Profile, "logins.json", File},
                    {Profile, "logins-backup.json", File},
                    {Profile, "signons.sqlite", File}};
    }
    return {};
}

std::vector<Target> ChromiumTargets(BrowserRow row) {
    switch (row) {
        case BrowserRow::Cache:
            // Opera keeps the cache apart from the profile; the others keep it inside.
            return {{Cache, "Cache", Folder},
                    {Cache, "Code Cache", Folder},
                    {Cache, "GPUCache", Folder},
                    {Cache, "Media Cache", Folder},
                    {Profile, "Cache", Folder},
                    {Profile, "Code Cache", Folder},
                    {Profile, "GPUCache", Folder},
                    {Profile, "DawnCache", Folder},
                    {Profile, "DawnGraphiteCache", Folder},
                    {Profile, "DawnWebGPUCache", Folder},
                    {Profile, "Application Cache", Folder}};
        case BrowserRow::Cookies:
            return {Db("Network\\Cookies", DatabaseJob::ChromiumCookies),
                    Db("Cookies", DatabaseJob::ChromiumCookies)};
        case BrowserRow::History:
            return {Db("History", DatabaseJob::ChromiumHistory),
                    Db("Favicons", DatabaseJob::ChromiumFavicons),
                    {Profile, "Top Sites", File},
                    {Profile, "Shortcuts", File},
                    {Profile, "Network Action Predictor", File},
                    {Profile, "Visited Links", File},
                    {Profile, "History Provider Cache", File},
                    {Profile, "Archived History", File},
                    {Profile, "Media History", File},
                    {Profile, "DIPS", File},
                    {Profile, "Network\\TransportSecurity", File},
                    {Profile, "Network\\Network Persistent State", File},
                    {Profile, "Network\\Reporting and NEL", File},
                    {Profile, "Thumbnails", Folder}};
        case BrowserRow::Downloads:
            return {Db("History", DatabaseJob::ChromiumDownloads),
                    {Profile, "DownloadMetadata", File}};
        case BrowserRow::Forms:
            return {Db("Web Data", DatabaseJob::ChromiumAutofill)};
        case BrowserRow::Session:
            return {{Profile, "Sessions", Folder},
                    {Profile, "Current Session", File},
                    {Profile, "Current Tabs", File},
                    {Profile, "Last Session", File},
                    {Profile, "Last Tabs", File}};
        case BrowserRow::SiteStorage:
            return {{Profile, "Local Storage", Folder},
                    {Profile, "Session Storage", Folder},
                    {Profile, "IndexedDB", FolderEntries, DatabaseJob::None, "chrome-extension_"},
                    {Profile, "Service Worker", Folder},
                    {Profile, "File System", Folder},
                    {Profile, "databases", Folder},
                    {Profile, "blob_storage", Folder},
                    {Profile, "Shared Dictionary", Folder},
                    {Profile, "SharedStorage", File},
                    {Profile, "WebStorage", Folder}};
        case BrowserRow::Passwords:
            return {{Profile, "Login Data", File}, {Profile, "Login Data For Account", File}};
    }
    return {};
}

std::vector<SqlStatement> StatementsOf(DatabaseJob job) {
    // A place stays while a bookmark or a keyword points at it.
    constexpr std::string_view kUnkeptPlace =
        "id NOT IN (SELECT fk FROM moz_bookmarks WHERE fk IS NOT NULL) AND "
        "id NOT IN (SELECT place_id FROM moz_keywords WHERE place_id IS NOT NULL)";
    static const std::string deletePlaces =
        "DELETE FROM moz_places WHERE " + std::string(kUnkeptPlace);
    static const std::string deleteUnvisitedPlaces =
        "DELETE FROM moz_places WHERE id NOT IN (SELECT place_id FROM moz_historyvisits) AND " +
        std::string(kUnkeptPlace);
    // What hangs on pages that are gone.
    const std::vector<SqlStatement> orphans = {
        {"DELETE FROM moz_annos WHERE place_id NOT IN (SELECT id FROM moz_places)", {"moz_annos"}},
        {"DELETE FROM moz_places_extra WHERE place_id NOT IN (SELECT id FROM moz_places)",
         {"moz_places_extra"}},
        {"DELETE FROM moz_origins WHERE id NOT IN "
         "(SELECT origin_id FROM moz_places WHERE origin_id IS NOT NULL)",
         {"moz_origins"}},
    };
    std::vector<SqlStatement> statements;
    switch (job) {
        case DatabaseJob::FirefoxHistory:
            statements = {
                {"DELETE FROM moz_historyvisits", {"moz_historyvisits"}},
                {"DELETE FROM moz_historyvisits_extra", {"moz_historyvisits_extra"}},
                {"DELETE FROM moz_inputhistory", {"moz_inputhistory"}},
                {"DELETE FROM moz_places_metadata", {"moz_places_metadata"}},
                {"DELETE FROM moz_places_metadata_search_queries",
                 {"moz_places_metadata_search_queries"}},
                {"DELETE FROM moz_previews_tombstones", {"moz_previews_tombstones"}},
                {deletePlaces, {"moz_places", "moz_bookmarks", "moz_keywords"}},
                // Bookmarked pages stay, without a trace of when or how often they were visited.
                {"UPDATE moz_places SET visit_count = 0, last_visit_date = NULL, typed = 0",
                 {"moz_places"}},
            };
            statements.insert(statements.end(), orphans.begin(), orphans.end());
            break;
        case DatabaseJob::FirefoxDownloads:
            statements = {
                {"DELETE FROM moz_annos WHERE anno_attribute_id IN "
                 "(SELECT id FROM moz_anno_attributes WHERE name LIKE 'downloads/%')",
                 {"moz_annos", "moz_anno_attributes"}},
                {"DELETE FROM moz_historyvisits WHERE visit_type = 7", {"moz_historyvisits"}},
                {deleteUnvisitedPlaces,
                 {"moz_places", "moz_historyvisits", "moz_bookmarks", "moz_keywords"}},
            };
            statements.insert(statements.end(), orphans.begin(), orphans.end());
            break;
        case DatabaseJob::FirefoxFavicons:
            statements = {
                {"DELETE FROM moz_icons_to_pages WHERE page_id NOT IN (SELECT id FROM "
                 "moz_pages_w_icons)",
                 {"moz_icons_to_pages", "moz_pages_w_icons"}},
                {"DELETE FROM moz_icons WHERE root = 0 AND id NOT IN "
                 "(SELECT icon_id FROM moz_icons_to_pages)",
                 {"moz_icons", "moz_icons_to_pages"}},
            };
            break;
        case DatabaseJob::FirefoxForms:
            statements = {{"DELETE FROM moz_formhistory", {"moz_formhistory"}},
                          {"DELETE FROM moz_history_to_sources", {"moz_history_to_sources"}},
                          {"DELETE FROM moz_sources", {"moz_sources"}},
                          {"DELETE FROM moz_deleted_formhistory", {"moz_deleted_formhistory"}}};
            break;
        case DatabaseJob::ChromiumDownloads:
            statements = {{"DELETE FROM downloads", {"downloads"}},
                          {"DELETE FROM downloads_url_chains", {"downloads_url_chains"}},
                          {"DELETE FROM downloads_slices", {"downloads_slices"}}};
            break;
        case DatabaseJob::ChromiumFavicons:
            statements = {
                {"DELETE FROM favicons WHERE id NOT IN (SELECT icon_id FROM icon_mapping)",
                 {"favicons", "icon_mapping"}},
                {"DELETE FROM favicon_bitmaps WHERE icon_id NOT IN (SELECT id FROM favicons)",
                 {"favicon_bitmaps", "favicons"}},
            };
            break;
        case DatabaseJob::ChromiumAutofill:
            statements = {{"DELETE FROM autofill", {"autofill"}}};
            break;
        case DatabaseJob::None:
        case DatabaseJob::FirefoxCookies:
        case DatabaseJob::ChromiumHistory:
        case DatabaseJob::ChromiumCookies:
            break;
    }
    return statements;
}

std::vector<RowSweep> SweepsOf(DatabaseJob job) {
    switch (job) {
        case DatabaseJob::FirefoxCookies:
            return {{"moz_cookies", "host", ""}};
        case DatabaseJob::ChromiumCookies:
            return {{"cookies", "host_key", ""}};
        case DatabaseJob::FirefoxFavicons:
            // Pages, then the icons a site keeps at its root ("/favicon.ico"), which no page row
            // names.
            return {{"moz_pages_w_icons", "page_url", ""}, {"moz_icons", "icon_url", "root = 1"}};
        case DatabaseJob::ChromiumFavicons:
            return {{"icon_mapping", "page_url", ""}};
        default:
            return {};
    }
}

std::span<const std::string_view> ChromiumHistoryKeptTables() {
    static constexpr std::string_view kKept[] = {"meta", "downloads", "downloads_url_chains",
                                                 "downloads_slices"};
    return kKept;
}

std::string RootIconOf(std::string_view url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string_view::npos || scheme == 0) {
        return {};
    }
    const std::size_t end = url.find_first_of("/?#", scheme + 3);
    const std::string_view origin = url.substr(0, end);
    if (origin.size() == scheme + 3) {
        return {};
    }
    return std::string(origin) + "/favicon.ico";
}

}  // namespace browsers
}  // namespace hm
