#include "engine/tick_rules.h"

#include <gtest/gtest.h>

namespace hm {
namespace {

TEST(TickRules, MostItemsTickOnlyOnTheTextOne) {
    EXPECT_TRUE(IsTicked(TickRule::ExactOne, "1"));
    for (const char* value : {"", "0", "01", "1.0", "true", "yes", "on", "11", "1 1"}) {
        EXPECT_FALSE(IsTicked(TickRule::ExactOne, value)) << value;
    }
}

TEST(TickRules, NumberOneNeedsAValueThatReadsAsOne) {
    for (const char* value : {"1", "01", "1.0", " 1 ", "1e0", "+1"}) {
        EXPECT_TRUE(IsTicked(TickRule::NumberOne, value)) << value;
    }
    // A missing key, text and other numbers leave the item alone.
    for (const char* value : {"", "0", "2", "yes", "true", "1x", "0.999"}) {
        EXPECT_FALSE(IsTicked(TickRule::NumberOne, value)) << value;
    }
}

TEST(TickRules, InternetExplorerMajorVersionIsItsFirstDigit) {
    EXPECT_EQ(MajorVersionDigit("6.0.2900.5512"), 6);
    EXPECT_EQ(MajorVersionDigit("9.10.9200"), 9);
    EXPECT_EQ(MajorVersionDigit("9.11.9600.18376"), 9);
    EXPECT_EQ(MajorVersionDigit(""), 0);
    EXPECT_EQ(MajorVersionDigit("Error"), 0);
    EXPECT_EQ(MajorVersionDigit(" 7"), 0);
}

}  // namespace
}  // namespace hm
