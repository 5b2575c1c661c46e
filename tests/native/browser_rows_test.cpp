// What the rows of today's browsers reach in a profile, and the root icon a page's site keeps.
#include "engine/browser_rows.h"

#include <gtest/gtest.h>

#include <string>

namespace hm::browsers {
namespace {

TEST(BrowserRows, EveryTargetStaysInsideItsProfileAndEveryDatabaseHasWorkToDo) {
    for (const BrowserRowInfo& info : BrowserRowList()) {
        SCOPED_TRACE(std::string(info.key));
        for (const auto& targets : {FirefoxTargets(info.row), ChromiumTargets(info.row)}) {
            EXPECT_FALSE(targets.empty());
            for (const Target& target : targets) {
                SCOPED_TRACE(std::string(target.path));
                EXPECT_FALSE(target.path.empty());
                EXPECT_EQ(target.path.find(".."), std::string_view::npos);
                EXPECT_EQ(target.path.find(':'), std::string_view::npos);
                EXPECT_NE(target.path.front(), '\\');
                EXPECT_EQ(target.path.find('/'), std::string_view::npos);
                const bool hasWork = !StatementsOf(target.job).empty() ||
                                     !SweepsOf(target.job).empty() ||
                                     target.job == DatabaseJob::ChromiumHistory;
                EXPECT_EQ(target.kind == TargetKind::Database, hasWork);
            }
        }
    }
    // Only the passwords row takes what the user saved on purpose; it alone asks.
    for (const BrowserRowInfo& info : BrowserRowList()) {
        EXPECT_EQ(info.asksFirst, info.row == BrowserRow::Passwords);
    }
}

TEST(BrowserRows, RootIconOfAPagesSite) {
    const struct {
        const char* url;
        const char* icon;
    } cases[] = {
        {"https://a.example/x/y?z#w", "https://a.example/favicon.ico"},
        {"http://a.example:8080", "http://a.example:8080/favicon.ico"},
        {"https://a.example?q=1", "https://a.example/favicon.ico"},
        {"file:///C:/x.html", ""},
        {"about:blank", ""},
        {"://a.example/", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RootIconOf(c.url), c.icon) << c.url;
    }
}

}  // namespace
}  // namespace hm::browsers
