#include "keeplists/cookie_site_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hm {
namespace {

using Lines = std::vector<std::string>;

TEST(CookieSiteRules, TypedSitesLoseSchemePathPortCaseAndLeadingDots) {
    const struct {
        const char* line;
        const char* site;  // "" when the line names nothing
    } cases[] = {
        {"example.com", "example.com"},
        {"  \tExample.COM \t", "example.com"},
        {"HTTPS://Mail.Example.com/inbox?x=1", "mail.example.com"},
        {"http://news.example:8080/", "news.example"},
        {"..example.org", "example.org"},
        {"localhost:3000", "localhost"},
        {"my_host-1.example", "my_host-1.example"},
        {"", ""},
        {"   ", ""},
        {"http://", ""},
        {"...", ""},
        {"exa mple.com", ""},
        {"*.example.com", ""},
        {"bücher.example", ""},
        {"user@site.example", ""},
    };
    for (const auto& c : cases) {
        const Lines expected = *c.site ? Lines{c.site} : Lines{};
        EXPECT_EQ(KeptCookieSites(Lines{c.line}), expected) << '"' << c.line << '"';
    }
}

TEST(CookieSiteRules, CookieFilePathsNameTheirHost) {
    const struct {
        const char* line;
        const char* site;
    } cases[] = {
        {"C:\\Documents and Settings\\ann\\Cookies\\ann@Example.com[1].txt", "example.com"},
        {"C:\\Cookies\\ann@www.example.net[12].txt  ", "www.example.net"},
        {"C:\\Cookies\\ann@old.example.txt", "old.example"},
        {"C:\\Cookies\\a@b@c.example[1].txt", "c.example"},
        {"C:\\Cookies\\index.dat", ""},
        {"C:\\Cookies\\ann@[1].txt", ""},
        // The path's folders never count, even with an "@" in them.
        {"C:\\ann@site.example\\k.txt", ""},
        {"C:\\Cookies\\", ""},
    };
    for (const auto& c : cases) {
        const Lines expected = *c.site ? Lines{c.site} : Lines{};
        EXPECT_EQ(KeptCookieSites(Lines{c.line}), expected) << '"' << c.line << '"';
    }
    // Each site once, in the order its first line has.
    const Lines list = {"b.example", "C:\\C\\x@A.example[1].txt", "", "http://B.example/",
                        "a.example", "C:\\C\\y@b.example[2].txt"};
    EXPECT_EQ(KeptCookieSites(list), (Lines{"b.example", "a.example"}));
    EXPECT_TRUE(KeptCookieSites(Lines{}).empty());
}

TEST(CookieSiteRules, HostsMatchASiteOrItsSubdomainsOnly) {
    const Lines sites = {"localhost", "example.com"};
    for (const char* host : {"localhost", ".localhost", "a.localhost", "LOCALHOST", "example.com",
                             ".Example.Com", "a.b.example.com", ".www.example.com"}) {
        EXPECT_TRUE(IsKeptCookieHost(host, sites)) << host;
    }
    for (const char* host :
         {"notlocalhost", "localhost.evil", "example.co", "xexample.com", "", ".", "com"}) {
        EXPECT_FALSE(IsKeptCookieHost(host, sites)) << host;
    }
    EXPECT_FALSE(IsKeptCookieHost("example.com", Lines{}));
    // Sites compare without regard to case too.
    EXPECT_TRUE(IsKeptCookieHost("a.example.org", Lines{"Example.ORG"}));

    EXPECT_EQ(CookieSiteOfHost(".WWW.Example.com"), "www.example.com");
    EXPECT_EQ(CookieSiteOfHost("localhost"), "localhost");
    // What the dialog offers reads back from the keep list as the same site.
    for (const char* host : {".Mail.Example.com", "localhost", "my_host.example"}) {
        EXPECT_EQ(KeptCookieSites(Lines{CookieSiteOfHost(host)}), Lines{CookieSiteOfHost(host)});
        EXPECT_TRUE(IsKeptCookieHost(host, KeptCookieSites(Lines{CookieSiteOfHost(host)})));
    }
}

}  // namespace
}  // namespace hm
