// The rows of today's browsers: each finds the browser's profiles when it runs, leaves them all
// alone while the browser runs, and cleans its kind of trace in every profile.
#include <set>
#include <string>
#include <vector>

#include "engine/browser_profiles.h"
#include "engine/browser_rows.h"
#include "engine/browser_running.h"
#include "engine/browsers.h"
#include "engine/chromium_profiles_rules.h"
#include "engine/database_cleaning.h"
#include "engine/steps/steps.h"
#include "keeplists/cookie_site_rules.h"
#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/sqlite_db.h"
#include "platform/text.h"

namespace hm::steps {
namespace {

using browsers::DatabaseJob;
using browsers::FoundProfile;
using browsers::Target;
using browsers::TargetKind;

enum class Family { Firefox, Chromium };

bool IsFile(const std::string& path) {
    files::Info info;
    const std::wstring wide = files::ToLongPath(path);
    return !wide.empty() && files::QueryInfo(wide, info) == 0 &&
           (info.attributes & files::kDirectory) == 0;
}

// A database is cleaned in place only where it is its own file: through a link, SQLite would
// change what the link points at.
bool IsPlainFile(const std::string& path) {
    files::Info info;
    const std::wstring wide = files::ToLongPath(path);
    return !wide.empty() && files::QueryInfo(wide, info) == 0 &&
           (info.attributes & (files::kDirectory | files::kReparsePoint)) == 0;
}

// A database goes with its logs; the logs only once it has gone, so that what they hold never
// leaves a database behind that disagrees with them.
void DeleteWithLogs(const std::string& path, PassContext& context) {
    context.eraser.DeleteFileItself(path);
    const std::wstring wide = files::ToLongPath(path);
    if (IsFile(path) && !context.eraser.view().IsGone(wide)) {
        return;
    }
    for (const char* suffix : {sqlite::kWalSuffix, sqlite::kShmSuffix, sqlite::kJournalSuffix}) {
        context.eraser.DeleteFileItself(path + suffix);
    }
}

void DeleteEntriesBut(const std::string& folder, std::string_view except, PassContext& context) {
    std::vector<std::pair<std::string, bool>> entries;
    {
        files::FolderScan scan(files::ToLongPath(folder));
        while (scan.error() == 0 && scan.Next()) {
            const std::string name = Narrow(scan.name());
            if (!except.empty() && name.rfind(except, 0) == 0) {
                continue;
            }
            entries.emplace_back(folder + "\\" + name, scan.IsFolder());
        }
    }
    for (const auto& [path, isFolder] : entries) {
        if (isFolder) {
            context.eraser.DeleteFolderItself(path);
        } else {
            context.eraser.DeleteFileItself(path);
        }
    }
}

// The pages a profile keeps: its bookmarks, with the icons their sites keep at the root.
std::set<std::string> BookmarkedPages(Family family, const FoundProfile& profile) {
    std::vector<std::string> urls;
    if (family == Family::Firefox) {
        const std::string places = profile.folder + "\\places.sqlite";
        if (IsFile(places)) {
            urls = ReadColumn(places,
                              "SELECT p.url FROM moz_places p JOIN moz_bookmarks b ON b.fk = p.id");
        }
    } else {
        std::string json;
        if (files::ReadWholeFile(profile.folder + "\\Bookmarks", 64u << 20, json) == 0) {
            urls = chromium::BookmarkedUrls(json);
        }
    }
    std::set<std::string> kept(urls.begin(), urls.end());
    for (const std::string& url : urls) {
        if (const std::string icon = browsers::RootIconOf(url); !icon.empty()) {
            kept.insert(icon);
        }
    }
    return kept;
}

DatabaseCleaning CleaningOf(DatabaseJob job, Family family, const FoundProfile& profile,
                            const std::vector<std::string>& keptSites) {
    DatabaseCleaning cleaning;
    cleaning.sweeps = browsers::SweepsOf(job);
    cleaning.statements = browsers::StatementsOf(job);
    switch (job) {
        case DatabaseJob::FirefoxCookies:
        case DatabaseJob::ChromiumCookies:
            cleaning.keep = [keptSites](std::string_view host) {
                return IsKeptCookieHost(host, keptSites);
            };
            break;
        case DatabaseJob::FirefoxFavicons:
        case DatabaseJob::ChromiumFavicons:
            cleaning.keep = [pages = BookmarkedPages(family, profile)](std::string_view url) {
                return pages.count(std::string(url)) > 0;
            };
            break;
        case DatabaseJob::ChromiumHistory: {
            const auto kept = browsers::ChromiumHistoryKeptTables();
            cleaning.emptyAllBut.assign(kept.begin(), kept.end());
            break;
        }
        default:
            break;
    }
    return cleaning;
}

Counts RunRow(const act::Step& step, PassContext& context, Family family) {
    if (step.args.size() < 2) {
        return {};
    }
    const std::string_view key = step.args[0];
    const std::optional<BrowserRow> row = BrowserRowOf(step.args[1]);
    if (!row) {
        return {};
    }
    const std::string roaming = context.folders.Base(BaseFolder::AppData);
    const std::string local = context.folders.Base(BaseFolder::LocalAppData);
    std::vector<FoundProfile> profiles;
    std::string name = "Firefox";
    if (family == Family::Firefox) {
        profiles = browsers::FindFirefoxProfiles(roaming, local);
    } else {
        for (const browsers::ChromiumBrowser& browser : browsers::ChromiumBrowsers()) {
            if (browser.key == key) {
                profiles = browsers::FindChromiumProfiles(browser, roaming, local);
                name = browser.name;
            }
        }
    }
    if (profiles.empty()) {
        return {};
    }
    // A running browser holds its files and rewrites them: nothing of it is touched.
    if (browsers::IsBrowserRunning(key)) {
        context.result = "Skipped: " + name + " is running";
        return {};
    }
    std::vector<std::string> keptSites;
    if (*row == BrowserRow::Cookies) {
        keptSites = KeptCookieSites(context.keepLists.KeptCookies());
    }
    const std::vector<Target> targets = family == Family::Firefox ? browsers::FirefoxTargets(*row)
                                                                  : browsers::ChromiumTargets(*row);
    const double before = context.eraser.reporter().tally().removedBytes;
    std::set<std::string> done;  // a cache kept inside the profile is named twice
    for (const FoundProfile& profile : profiles) {
        for (const Target& target : targets) {
            const std::string& base =
                target.under == browsers::Under::Profile ? profile.folder : profile.cacheFolder;
            if (base.empty()) {
                continue;
            }
            const std::string path = base + "\\" + std::string(target.path);
            if (!done.insert(AsciiLower(path)).second) {
                continue;
            }
            switch (target.kind) {
                case TargetKind::File:
                    DeleteWithLogs(path, context);
                    break;
                case TargetKind::Folder:
                    context.eraser.DeleteFolderItself(path);
                    break;
                case TargetKind::FolderEntries:
                    DeleteEntriesBut(path, target.except, context);
                    break;
                case TargetKind::Database:
                    if (IsPlainFile(path)) {
                        context.eraser.CleanDatabase(
                            path, CleaningOf(target.job, family, profile, keptSites));
                    }
                    break;
            }
        }
    }
    return {0, context.eraser.reporter().tally().removedBytes - before};
}

}  // namespace

Counts FirefoxRow(const act::Step& step, PassContext& context) {
    return RunRow(step, context, Family::Firefox);
}

Counts ChromiumRow(const act::Step& step, PassContext& context) {
    return RunRow(step, context, Family::Chromium);
}

}  // namespace hm::steps
