#include "keeplists/browser_cookie_sites.h"

#include <algorithm>
#include <map>

#include "engine/browser_profiles.h"
#include "keeplists/cookie_site_rules.h"
#include "platform/path_rules.h"
#include "platform/sqlite_db.h"

namespace hm {
namespace {

// The cookie databases of a Chromium profile: today's place, then the one older versions used.
constexpr const char* kChromiumCookieFiles[] = {"Network\\Cookies", "Cookies"};
constexpr const char* kFirefoxCookieFile = "cookies.sqlite";

void AddHosts(std::map<std::string, std::vector<std::string>>& sites, const std::string& database,
              CookieStore store, const std::string& holder) {
    for (const std::string& host : ReadCookieHosts(database, store)) {
        std::string site = CookieSiteOfHost(host);
        const std::vector<std::string> one = {site};
        if (KeptCookieSites(one) != one) {
            continue;
        }
        std::vector<std::string>& holders = sites[std::move(site)];
        if (std::find(holders.begin(), holders.end(), holder) == holders.end()) {
            holders.push_back(holder);
        }
    }
}

}  // namespace

std::vector<std::string> ReadCookieHosts(const std::string& database, CookieStore store) {
    std::vector<std::string> hosts;
    sqlite::Database db;
    if (!db.OpenReadOnly(database).ok()) {
        return hosts;
    }
    sqlite::Statement select;
    const char* sql = store == CookieStore::Firefox ? "SELECT DISTINCT host FROM moz_cookies"
                                                    : "SELECT DISTINCT host_key FROM cookies";
    if (!db.Prepare(sql, select).ok()) {
        return hosts;
    }
    while (select.Step() == sqlite::StepResult::Row) {
        hosts.push_back(select.ColumnText(0));
    }
    return hosts;
}

std::vector<BrowserCookieSite> FindBrowserCookieSites(const std::string& roaming,
                                                      const std::string& local) {
    std::map<std::string, std::vector<std::string>> sites;
    for (const browsers::FoundProfile& profile : browsers::FindFirefoxProfiles(roaming, local)) {
        AddHosts(sites, JoinPath(profile.folder, kFirefoxCookieFile), CookieStore::Firefox,
                 "Firefox (" + profile.name + ")");
    }
    for (const browsers::ChromiumBrowser& browser : browsers::ChromiumBrowsers()) {
        for (const browsers::FoundProfile& profile :
             browsers::FindChromiumProfiles(browser, roaming, local)) {
            for (const char* file : kChromiumCookieFiles) {
                AddHosts(sites, JoinPath(profile.folder, file), CookieStore::Chromium,
                         std::string(browser.name) + " (" + profile.name + ")");
            }
        }
    }
    std::vector<BrowserCookieSite> found;
    for (auto& [site, holders] : sites) {
        found.push_back({site, std::move(holders)});
    }
    return found;
}

}  // namespace hm
