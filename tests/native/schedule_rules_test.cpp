#include "app/schedule_rules.h"

#include <gtest/gtest.h>

#include "app/options_rules.h"

namespace hm {
namespace {

using Flags = std::array<std::string, 7>;

constexpr int kSunday = 1;
constexpr int kMonday = 2;
constexpr int kSaturday = 7;

// 2026-03-01 is a Sunday; the day of the month follows the weekday through that week.
LocalTime At(int weekday, int hour, int minute, int day = 0) {
    return LocalTime{2026, 3, day != 0 ? day : weekday, weekday, hour, minute};
}

TEST(ScheduleRules, TimesOfDayReadTheWayTheUserTypesThem) {
    EXPECT_EQ(TimeOfDaySeconds("9:30"), 9 * 3600 + 30 * 60);
    EXPECT_EQ(TimeOfDaySeconds(" 09:30 "), TimeOfDaySeconds("9:30"));
    EXPECT_EQ(TimeOfDaySeconds("23:59:59"), 86399);
    EXPECT_EQ(TimeOfDaySeconds("9:5"), 9 * 3600 + 5 * 60);
    EXPECT_EQ(TimeOfDaySeconds("9:30 PM"), 21 * 3600 + 30 * 60);
    EXPECT_EQ(TimeOfDaySeconds("12:00am"), 0);
    for (const char* text : {"", "Error", "24:00", "9:60", "9:30:60", "9.30", "930", "9:", ":30",
                             "009:30", "13:00 PM", "0:30 AM", "9:30 XM", "9:30 PM later"}) {
        EXPECT_FALSE(TimeOfDaySeconds(text).has_value()) << text;
    }
}

TEST(ScheduleRules, WeekendAtTenPmIsDueOnSaturdayAndSundayOnly) {
    const Flags weekend = DayFlagsFromCleanDays("1000001");
    for (int weekday = 1; weekday <= 7; ++weekday) {
        const bool weekendDay = weekday == kSunday || weekday == kSaturday;
        EXPECT_EQ(IsScheduleDue(weekend, "22:00", At(weekday, 22, 0)), weekendDay) << weekday;
        for (auto [hour, minute] : {std::pair{21, 59}, {22, 1}, {10, 0}}) {
            EXPECT_FALSE(IsScheduleDue(weekend, "22:00", At(weekday, hour, minute))) << weekday;
        }
    }
    // 9:30 and 09:30 are the same time.
    EXPECT_TRUE(IsScheduleDue(weekend, "09:30", At(kSunday, 9, 30)));
    EXPECT_TRUE(IsScheduleDue(weekend, "9:30", At(kSunday, 9, 30)));
}

TEST(ScheduleRules, NoTimeOrNoDayIsNeverDue) {
    const Flags daily = DayFlagsFromCleanDays("1111111");
    for (const char* time : {"", "Error", "half past nine", "9:30:15"}) {
        for (int minute = 0; minute < 60; ++minute) {
            EXPECT_FALSE(IsScheduleDue(daily, time, At(kMonday, 9, minute))) << time;
        }
    }
    EXPECT_FALSE(IsScheduleDue(DayFlagsFromCleanDays(""), "0:00", At(kSunday, 0, 0)));
    // A short CleanDays leaves empty flags, which schedule nothing.
    const Flags shortDays = DayFlagsFromCleanDays("11");
    EXPECT_TRUE(IsScheduleDue(shortDays, "8:00", At(kMonday, 8, 0)));
    EXPECT_FALSE(IsScheduleDue(shortDays, "8:00", At(3, 8, 0)));
    EXPECT_FALSE(IsScheduleDue(Flags{"x", "x", "x", "x", "x", "x", "x"}, "8:00", At(2, 8, 0)));
    EXPECT_FALSE(IsScheduleDue(daily, "8:00", At(0, 8, 0, 1)));
    EXPECT_FALSE(IsScheduleDue(daily, "8:00", At(8, 8, 0, 1)));
}

TEST(ScheduleRules, TheTickerStartsOnePassPerScheduledMinute) {
    const Flags weekend = DayFlagsFromCleanDays("1000001");
    ScheduleTicker ticker;
    // Two ticks 30 seconds apart fall into 22:00 on Saturday; the second starts nothing.
    EXPECT_FALSE(ticker.ShouldStart(weekend, "22:00", At(kSaturday, 21, 59), false));
    EXPECT_TRUE(ticker.ShouldStart(weekend, "22:00", At(kSaturday, 22, 0), false));
    EXPECT_FALSE(ticker.ShouldStart(weekend, "22:00", At(kSaturday, 22, 0), false));
    EXPECT_FALSE(ticker.ShouldStart(weekend, "22:00", At(kSaturday, 22, 1), false));
    // The next day's scheduled minute is a new one, and so is a new time saved later that day.
    EXPECT_TRUE(ticker.ShouldStart(weekend, "22:00", At(kSunday, 22, 0, 8), false));
    EXPECT_TRUE(ticker.ShouldStart(weekend, "23:00", At(kSunday, 23, 0, 8), false));
    EXPECT_FALSE(ticker.ShouldStart(weekend, "23:00", At(kSunday, 23, 0, 8), false));
}

TEST(ScheduleRules, APassRunningAtTheFirstTickDefersTheScheduledOne) {
    const Flags daily = DayFlagsFromCleanDays("1111111");
    ScheduleTicker ticker;
    EXPECT_FALSE(ticker.ShouldStart(daily, "6:00", At(kMonday, 6, 0), true));
    EXPECT_TRUE(ticker.ShouldStart(daily, "6:00", At(kMonday, 6, 0), false));
    // Its own pass still running at the next tick is not started again.
    EXPECT_FALSE(ticker.ShouldStart(daily, "6:00", At(kMonday, 6, 0), true));
    EXPECT_FALSE(ticker.ShouldStart(daily, "6:00", At(kMonday, 6, 0), false));
}

}  // namespace
}  // namespace hm
