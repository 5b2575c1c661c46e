#include "keeplists/keep_list_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hm {
namespace {

using Lines = std::vector<std::string>;

TEST(KeepListRules, LinesSplitAtAnyLineEndAndKeepTheirBlanksUnlessTrimmed) {
    EXPECT_EQ(SplitKeepListLines("http://a/\r\nhttp://b/"), (Lines{"http://a/", "http://b/"}));
    EXPECT_EQ(SplitKeepListLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitKeepListLines("a\nb\rc\r\n"), (Lines{"a", "b", "c"}));
    EXPECT_TRUE(SplitKeepListLines("").empty());
    const std::string text = "\r\nC:\\c\\a.txt  \r\n  lead\t \r\n";
    EXPECT_EQ(SplitKeepListLines(text), (Lines{"", "C:\\c\\a.txt  ", "  lead\t "}));
    // Only blanks go: a tab belongs to the entry.
    EXPECT_EQ(RightTrimmedLines(text), (Lines{"", "C:\\c\\a.txt", "  lead\t"}));
}

TEST(KeepListRules, FormattedListReadsBackAndAppendsStartOnANewLine) {
    const Lines entries = {"http://a/", "", "http://a/"};
    EXPECT_EQ(FormatKeepList(entries), "http://a/\r\n\r\nhttp://a/\r\n");
    EXPECT_EQ(SplitKeepListLines(FormatKeepList(entries)), entries);
    EXPECT_EQ(FormatKeepList({}), "");
    EXPECT_EQ(FormatKeepListLine("http://a/   "), "http://a/\r\n");
    EXPECT_EQ(SeparatorBeforeAppend(""), "");
    EXPECT_EQ(SeparatorBeforeAppend("\n"), "");
    EXPECT_EQ(SeparatorBeforeAppend("\r"), "");
    EXPECT_EQ(SeparatorBeforeAppend("t"), "\r\n");
}

TEST(KeepListRules, CookiesAreDotTxtNamesAndThePassSparesOnlyExactPaths) {
    EXPECT_TRUE(IsCookieFileName("user@site[1].txt"));
    EXPECT_TRUE(IsCookieFileName("a.txt.bak"));
    EXPECT_FALSE(IsCookieFileName("index.dat"));
    EXPECT_FALSE(IsCookieFileName("b.TXT"));
    EXPECT_FALSE(IsCookieFileName("c.Txt"));

    const Lines kept = {"C:\\Cookies\\a@b[1].txt", "C:\\Cookies\\k.txt  "};
    EXPECT_TRUE(IsKeptCookie("C:\\Cookies\\a@b[1].txt", kept));
    EXPECT_FALSE(IsKeptCookie("C:\\COOKIES\\a@b[1].txt", kept));
    EXPECT_FALSE(IsKeptCookie("C:\\Cookies\\a@b[1].tx", kept));
    // The sweep compares untrimmed lines: a blank at the end protects nothing.
    EXPECT_FALSE(IsKeptCookie("C:\\Cookies\\k.txt", kept));
    EXPECT_FALSE(IsKeptCookie("C:\\Cookies\\a@b[1].txt", Lines{}));
}

TEST(KeepListRules, RemovingSelectedEntriesKeepsTheRestInOrder) {
    const Lines entries = {"a", "b", "a", "c", "d"};
    EXPECT_EQ(WithoutIndices(entries, std::vector<int>{0, 3}), (Lines{"b", "a", "d"}));
    EXPECT_EQ(WithoutIndices(entries, std::vector<int>{2}), (Lines{"a", "b", "c", "d"}));
    EXPECT_TRUE(WithoutIndices(entries, std::vector<int>{4, 3, 2, 1, 0}).empty());
    EXPECT_EQ(WithoutIndices(entries, std::vector<int>{-1, 5}), entries);
}

TEST(KeepListRules, ListTextWidthIsTheWidestEntryPlusEight) {
    EXPECT_EQ(ListTextWidthFromWidths(std::vector<int>{300}), 308);
    EXPECT_EQ(ListTextWidthFromWidths(std::vector<int>{12, 300, 299, 0}), 308);
    EXPECT_EQ(ListTextWidthFromWidths(std::vector<int>{}), 0);
}

TEST(KeepListRules, EditBoxTextBreaksAtEveryLineEndAndShowsNuls) {
    EXPECT_EQ(TextForEditBox("name\nvalue\nsite/\n"), "name\r\nvalue\r\nsite/\r\n");
    EXPECT_EQ(TextForEditBox("a\r\nb\rc"), "a\r\nb\r\nc");
    EXPECT_EQ(TextForEditBox(std::string("a\0b", 3)), "a b");
}

}  // namespace
}  // namespace hm
