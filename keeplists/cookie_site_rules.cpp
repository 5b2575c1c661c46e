#include "keeplists/cookie_site_rules.h"

#include <algorithm>

namespace hm {
namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    return lower;
}

std::string_view WithoutLeadingDots(std::string_view text) {
    const std::size_t start = text.find_first_not_of('.');
    return start == std::string_view::npos ? std::string_view{} : text.substr(start);
}

bool IsHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return {};
    }
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

// What a site typed by a user, or a host taken from a cookie file's name, leaves; empty when
// nothing usable is left.
std::string SiteOf(std::string_view typed) {
    std::string site = LowerCase(Trimmed(typed));
    for (const std::string_view scheme : {"http://", "https://"}) {
        if (site.starts_with(scheme)) {
            site.erase(0, scheme.size());
            break;
        }
    }
    site.erase(std::min(site.find_first_of("/:"), site.size()));
    site = std::string(WithoutLeadingDots(site));
    if (!std::all_of(site.begin(), site.end(), IsHostCharacter)) {
        return {};
    }
    return site;
}

// "user@host[n].txt" -> "host"; "user@host.txt", as the oldest versions named them, too.
std::string HostOfCookieFile(std::string_view path) {
    path = Trimmed(path);
    std::string_view name = path.substr(path.rfind('\\') + 1);
    const std::size_t at = name.rfind('@');
    if (at == std::string_view::npos) {
        return {};
    }
    name.remove_prefix(at + 1);
    const std::size_t bracket = name.find('[');
    if (bracket != std::string_view::npos) {
        name = name.substr(0, bracket);
    } else if (name.size() >= 4 && LowerCase(name.substr(name.size() - 4)) == ".txt") {
        name.remove_suffix(4);
    }
    return SiteOf(name);
}

}  // namespace

std::vector<std::string> KeptCookieSites(std::span<const std::string> keepLines) {
    std::vector<std::string> sites;
    for (const std::string& line : keepLines) {
        std::string site =
            line.find('\\') != std::string::npos ? HostOfCookieFile(line) : SiteOf(line);
        if (!site.empty() && std::find(sites.begin(), sites.end(), site) == sites.end()) {
            sites.push_back(std::move(site));
        }
    }
    return sites;
}

bool IsKeptCookieHost(std::string_view host, std::span<const std::string> sites) {
    if (host.starts_with('.')) {
        host.remove_prefix(1);
    }
    const std::string lower = LowerCase(host);
    for (const std::string& site : sites) {
        const std::string kept = LowerCase(site);
        if (kept.empty() || lower.size() < kept.size() || !lower.ends_with(kept)) {
            continue;
        }
        const std::size_t rest = lower.size() - kept.size();
        if (rest == 0 || lower[rest - 1] == '.') {
            return true;
        }
    }
    return false;
}

std::string CookieSiteOfHost(std::string_view host) {
    return LowerCase(WithoutLeadingDots(host));
}

}  // namespace hm
