// Feeds arbitrary keep-list lines and cookie hosts to the cookie site rules: every site a list
// names is usable, named once, reads back as itself and keeps its own cookies.
// Build with clang's libFuzzer (scripts/fuzz); a broken invariant aborts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "keeplists/cookie_site_rules.h"
#include "keeplists/keep_list_rules.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = hm::SplitKeepListLines(input);
    const std::vector<std::string> sites = hm::KeptCookieSites(lines);
    for (std::size_t i = 0; i < sites.size(); ++i) {
        const std::string& site = sites[i];
        Require(!site.empty() && site.front() != '.');
        Require(std::count(sites.begin(), sites.end(), site) == 1);
        const std::vector<std::string> one = {site};
        Require(hm::KeptCookieSites(one) == one);
        Require(hm::CookieSiteOfHost("." + site) == site);
        Require(hm::IsKeptCookieHost("." + site, sites));
        Require(hm::IsKeptCookieHost("a." + site, one));
        // A longer name that merely ends in the site is another site.
        Require(!hm::IsKeptCookieHost("a" + site, one));
    }
    // Each line, as a cookie host, belongs to the list exactly when its site does.
    for (const std::string& host : lines) {
        const std::vector<std::string> offered = {hm::CookieSiteOfHost(host)};
        if (hm::KeptCookieSites(offered) == offered) {
            Require(hm::IsKeptCookieHost(host, offered));
        }
    }
    return 0;
}
