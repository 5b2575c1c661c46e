// The sites today's browsers hold cookies for, read from every profile's cookie database (Firefox's
// cookies.sqlite, the Chromium family's Network\Cookies or, in older versions, Cookies) without
// changing any file: a database that cannot be read that way, as while its browser runs, is
// passed over.
#pragma once

#include <string>
#include <vector>

namespace hm {

struct BrowserCookieSite {
    std::string site;  // as the keep list stores it (CookieSiteOfHost)
    // Where its cookies are, as "Browser (profile)", in the order the browsers are looked at.
    std::vector<std::string> holders;
};

// The hosts of the cookies in one database: Firefox's moz_cookies.host or the Chromium family's
// cookies.host_key. Empty when the database cannot be read without changing it.
enum class CookieStore { Firefox, Chromium };
std::vector<std::string> ReadCookieHosts(const std::string& database, CookieStore store);

// Every site that a profile of Firefox or of the Chromium family holds a cookie for and that the
// keep list can name (KeptCookieSites reads it back as itself), each once, sorted. roaming and
// local are the user's application-data folders.
std::vector<BrowserCookieSite> FindBrowserCookieSites(const std::string& roaming,
                                                      const std::string& local);

}  // namespace hm
