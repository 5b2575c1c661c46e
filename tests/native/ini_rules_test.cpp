#include "config/ini_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace hm {
namespace {

const std::string kEAcute = "\xC3\xA9";            // one UTF-16 unit, two UTF-8 bytes
const std::string kEuro = "\xE2\x82\xAC";          // one unit, three bytes
const std::string kGrinning = "\xF0\x9F\x98\x80";  // a surrogate pair: two units, four bytes

TEST(IniRules, WriteKeepsTheFirst128Characters) {
    const std::string value(200, 'a');
    EXPECT_EQ(IniValueAsWritten(value), std::string(128, 'a'));
    EXPECT_EQ(IniValueAsWritten(std::string(128, 'b')), std::string(128, 'b'));
    EXPECT_EQ(IniValueAsWritten(""), "");
    // Blanks are stored as given; only the read trims.
    EXPECT_EQ(IniValueAsWritten("  1  "), "  1  ");
}

TEST(IniRules, ReadKeepsTheFirst127CharactersThenTrims) {
    EXPECT_EQ(IniValueAsRead(std::string(200, 'a')), std::string(127, 'a'));
    EXPECT_EQ(IniValueAsRead(std::string(127, 'c')), std::string(127, 'c'));
    EXPECT_EQ(IniValueAsRead("  1  "), "1");
    EXPECT_EQ(IniValueAsRead("   "), "");
    // The cut comes before the trim: blanks that end up last after the cut go too.
    EXPECT_EQ(IniValueAsRead(std::string(126, 'x') + " yz"), std::string(126, 'x'));
    // Tabs are not blanks.
    EXPECT_EQ(IniValueAsRead("\t1 "), "\t1");
}

TEST(IniRules, ValuesEndAtTheirFirstNul) {
    const std::string withNul("ab\0cd", 5);
    EXPECT_EQ(IniValueAsWritten(withNul), "ab");
    EXPECT_EQ(IniValueAsRead(withNul), "ab");
    EXPECT_EQ(IniValueAsRead(std::string("\0x", 2)), "");
}

TEST(IniRules, LimitsCountCharactersNotBytes) {
    std::string accented;
    for (int i = 0; i < 200; ++i) {
        accented += kEAcute;
    }
    std::string expected;
    for (int i = 0; i < 128; ++i) {
        expected += kEAcute;
    }
    EXPECT_EQ(IniValueAsWritten(accented), expected);
    EXPECT_EQ(IniValueAsRead(accented), expected.substr(0, 127 * 2));

    EXPECT_EQ(FirstUtf16Units("a" + kEuro + "b", 2), "a" + kEuro);
    // A surrogate pair is never split: with one unit left it is left out whole.
    EXPECT_EQ(FirstUtf16Units("a" + kGrinning, 2), "a");
    EXPECT_EQ(FirstUtf16Units("a" + kGrinning, 3), "a" + kGrinning);
    EXPECT_EQ(FirstUtf16Units(kGrinning + "b", 3), kGrinning + "b");
    EXPECT_EQ(FirstUtf16Units("abc", 0), "");
}

TEST(IniRules, MalformedUtf8IsCutWithoutReadingPastTheEnd) {
    // A lead byte announcing more bytes than remain, and stray continuation bytes.
    EXPECT_EQ(FirstUtf16Units("ab\xF0\x9F", 3), "ab\xF0");
    EXPECT_EQ(FirstUtf16Units("\x80\x80\x80", 2), "\x80\x80");
    EXPECT_EQ(FirstUtf16Units("\xE2\x82", 5), "\xE2\x82");
}

TEST(IniRules, SectionBufferSplitsAtNulsAndStopsAtAnEmptyLine) {
    const std::string buffer("a=1\0b=2\0\0c=3\0", 13);
    EXPECT_EQ(SplitSectionBuffer(buffer), (std::vector<std::string>{"a=1", "b=2"}));
    EXPECT_EQ(SplitSectionBuffer(std::string("x=1\0y", 5)), (std::vector<std::string>{"x=1", "y"}));
    EXPECT_TRUE(SplitSectionBuffer("").empty());
    EXPECT_TRUE(SplitSectionBuffer(std::string("\0a=1\0", 5)).empty());
    // Lines keep their blanks and everything after the first "=".
    EXPECT_EQ(SplitSectionBuffer(std::string(" k = v=w \0", 10)),
              (std::vector<std::string>{" k = v=w "}));
}

}  // namespace
}  // namespace hm
