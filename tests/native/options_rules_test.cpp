#include "app/options_rules.h"

#include <gtest/gtest.h>

namespace hm {
namespace {

using Days = std::array<bool, 7>;
using Flags = std::array<std::string, 7>;

TEST(OptionsRules, AFlagIsOnWhenItIsOneOrCannotBeCompared) {
    // Missing keys and text count as on; that is why a fresh install has the boss key.
    for (const char* value : {"1", " 1", "1.0", "01", "1e0", "", "  ", "yes", "1x", "9e999"}) {
        EXPECT_TRUE(ReadsAsChecked(value)) << value;
    }
    for (const char* value : {"0", "2", "-1", "0.5", "00", "1.0001"}) {
        EXPECT_FALSE(ReadsAsChecked(value)) << value;
    }
}

TEST(OptionsRules, CleanDaysRunFromSundayToSaturdayAndDefaultToNoDay) {
    EXPECT_EQ(ParseCleanDays("1000001"), (Days{true, false, false, false, false, false, true}));
    EXPECT_EQ(FormatCleanDays({false, true, true, true, true, true, false}), "0111110");
    for (const char* stored : {"0000000", "1010101", "0110011", "1111111"}) {
        EXPECT_EQ(FormatCleanDays(ParseCleanDays(stored)), stored);
    }
    EXPECT_EQ(DayFlagsFromCleanDays("0100100"), (Flags{"0", "1", "0", "0", "1", "0", "0"}));
    EXPECT_EQ(CleanDaysOrDefault(""), "0000000");
    EXPECT_EQ(ParseCleanDays(""), Days{});
    EXPECT_EQ(DayFlagsFromCleanDays(""), (Flags{"0", "0", "0", "0", "0", "0", "0"}));
}

TEST(OptionsRules, SaturdayIsTheLastCharacterWhateverTheLength) {
    // Short: the missing middle days are empty and clear.
    EXPECT_EQ(DayFlagsFromCleanDays("11"), (Flags{"1", "1", "", "", "", "", "1"}));
    EXPECT_EQ(ParseCleanDays("11"), (Days{true, true, false, false, false, false, true}));
    // Long: the seventh character is skipped.
    EXPECT_EQ(ParseCleanDays("00000001"), (Days{false, false, false, false, false, false, true}));
    EXPECT_EQ(ParseCleanDays("00000010"), Days{});
    // Only "1" ticks a day.
    EXPECT_EQ(ParseCleanDays("2x 1-0?"), (Days{false, false, false, true, false, false, false}));
}

TEST(OptionsRules, RunValueQuotesTheProgramAndAddsMin) {
    EXPECT_EQ(RunValueText("C:\\Program Files\\Hushmark"),
              "\"C:\\Program Files\\Hushmark\\hushmark.exe\" min");
}

}  // namespace
}  // namespace hm
