// The cookie keep list as it reaches today's browsers: the sites its lines name, and whether a
// cookie a browser keeps in its database (Firefox's moz_cookies.host, the Chromium family's
// cookies.host_key) belongs to one of them. Free of any system call, so that the dialog and the
// pass share one definition.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hm {

// The sites a keep list names, each once, in list order. A line holding a backslash is the full
// path of an Internet Explorer cookie file, "user@host[n].txt", and names its host (a file name
// without "@" names nothing). Any other line is a site as a user types it: blanks and tabs
// around it, "http://" or "https://" before it and everything from its first "/" or ":" on are
// dropped, it is lower-cased, and its leading dots go. A line that leaves nothing, or leaves a
// character no host name holds (only letters, digits, "-", "_" and "." may stay), names nothing.
std::vector<std::string> KeptCookieSites(std::span<const std::string> keepLines);

// A browser's cookie belongs to a kept site when its host, without regard to case and without
// its leading dot, is the site or ends with "." and the site: "localhost" keeps ".localhost" and
// "a.localhost", never "notlocalhost". sites are as KeptCookieSites gives them.
bool IsKeptCookieHost(std::string_view host, std::span<const std::string> sites);

// The keep-list entry the dialog offers for a cookie's host: without leading dots, lower case.
std::string CookieSiteOfHost(std::string_view host);

}  // namespace hm
