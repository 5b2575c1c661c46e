#include "engine/format_rules.h"

#include <gtest/gtest.h>

namespace hm {
namespace {

TEST(NumberText, WholeNumbersHaveNoDecimals) {
    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(NumberText(10300), "10300");
    EXPECT_EQ(NumberText(-3), "-3");
    EXPECT_EQ(NumberText(123456789012345.0), "123456789012345");
    EXPECT_EQ(NumberText(0.5), "0.5");
    EXPECT_EQ(NumberText(1e15), "1E+15");
    EXPECT_EQ(NumberText(2.5e20), "2.5E+20");
}

TEST(MegabyteText, TwoDecimalsAndOneIntegerDigit) {
    EXPECT_EQ(MegabyteText(1048576), "1.00");
    EXPECT_EQ(MegabyteText(10486), "0.01");
    EXPECT_EQ(MegabyteText(5242), "0.00");
    EXPECT_EQ(MegabyteText(0), "0.00");
    EXPECT_EQ(MegabyteText(5242880), "5.00");
    EXPECT_EQ(MegabyteText(1048576.0 * 1234.567), "1234.57");
    // However large, the two decimals are all there.
    const std::string huge = MegabyteText(-5.99e85);
    EXPECT_EQ(huge.substr(huge.size() - 3), ".00");
    EXPECT_GT(huge.size(), 80u);
    // Exactly half a hundredth rounds away from zero.
    EXPECT_EQ(MegabyteText(1048576.0 * 0.125), "0.13");
}

TEST(SummaryTexts, MatchTheWordingTheUserSees) {
    EXPECT_EQ(SummaryMessageText(0, 0),
              "Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:0.00MB");
    EXPECT_EQ(SummaryPopupText("Hushmark", 13, 2097152),
              "Hushmark Clean is done! Cleaned Registry Keys: 13 Released HD Space:2.00MB");
    EXPECT_EQ(TotalsLineText(8, 5242880),
              "  Cleaned Registry Keys: 8     Released HD Space:5.00MB");
}

TEST(ItemResultText, SaysHowManyThingsStayed) {
    EXPECT_EQ(ItemResultText("Done", 0, 0), "Done");
    EXPECT_EQ(ItemResultText("Done", 1, 1), "Done, 1 in use");
    EXPECT_EQ(ItemResultText("Done", 3, 1), "Done, 3 not removed");
    // Results of their own keep their text.
    EXPECT_EQ(ItemResultText("Need to reboot your computer!", 2, 2),
              "Need to reboot your computer!");
}

TEST(ParseNumber, AcceptsOnlyPlainDecimals) {
    double value = 0;
    EXPECT_TRUE(ParseNumber("1", value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(ParseNumber(" 01 ", value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(ParseNumber("1.0", value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(ParseNumber("-2.5e1", value));
    EXPECT_EQ(value, -25);
    EXPECT_TRUE(ParseNumber(".5", value));
    EXPECT_EQ(value, 0.5);
    for (const char* bad : {"", "  ", "yes", "true", "1a", "0x1", "inf", "nan", ".", "1e", "--1",
                            "90e999990", "-1e400"}) {
        EXPECT_FALSE(ParseNumber(bad, value)) << bad;
    }
}

}  // namespace
}  // namespace hm
