// When the weekly schedule starts a background pass. The main window's timer asks every
// 30 seconds; the clock comes in as plain fields so that the rules do not read it themselves.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace hm {

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int weekday = 0;  // 1 = Sunday ... 7 = Saturday
    int hour = 0;
    int minute = 0;
};

// A time of day typed or chosen as the start time, in seconds after midnight: "9:30", "09:30",
// "9:30:00", "9:30 PM", blanks around it allowed. Nothing for empty text or anything that is no
// time of day ("25:00", "9.30", "noon").
std::optional<int> TimeOfDaySeconds(std::string_view text);

// Due when today's flag (dayFlags[weekday - 1]) is the number 1 and now's hour and minute are
// cleanTime. Seconds of now play no part; a cleanTime with seconds other than 0, or one that is
// no time, is never due.
bool IsScheduleDue(const std::array<std::string, 7>& dayFlags, std::string_view cleanTime,
                   const LocalTime& now);

// Two 30-second ticks fall into every minute, and without memory both would start a pass in the
// scheduled minute. The ticker starts at most one pass per scheduled minute.
class ScheduleTicker {
public:
    // True when the tick should start the scheduled pass now; the minute then counts as served.
    // While a pass is running the tick starts nothing and leaves the minute unserved, so a later
    // tick in the same minute still starts the scheduled pass once that pass has ended.
    bool ShouldStart(const std::array<std::string, 7>& dayFlags, std::string_view cleanTime,
                     const LocalTime& now, bool passRunning);

private:
    std::optional<LocalTime> served_;
};

}  // namespace hm
