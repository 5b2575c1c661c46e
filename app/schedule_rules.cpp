#include "app/schedule_rules.h"

#include "engine/format_rules.h"

namespace hm {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// One or two digits at position; false when there are none or three.
bool ReadField(std::string_view text, std::size_t& position, int& value) {
    std::size_t end = position;
    while (end < text.size() && IsDigit(text[end]) && end - position < 3) {
        ++end;
    }
    if (end == position || end - position > 2) {
        return false;
    }
    value = 0;
    for (; position < end; ++position) {
        value = value * 10 + (text[position] - '0');
    }
    return true;
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameMinute(const LocalTime& a, const LocalTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute;
}

}  // namespace

std::optional<int> TimeOfDaySeconds(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    std::size_t position = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (!ReadField(text, position, hour) || position >= text.size() || text[position] != ':') {
        return std::nullopt;
    }
    ++position;
    if (!ReadField(text, position, minute)) {
        return std::nullopt;
    }
    if (position < text.size() && text[position] == ':') {
        ++position;
        if (!ReadField(text, position, second)) {
            return std::nullopt;
        }
    }
    while (position < text.size() && IsBlank(text[position])) {
        ++position;
    }
    const std::string_view suffix = text.substr(position);
    if (!suffix.empty()) {
        if (suffix.size() != 2 || Upper(suffix[1]) != 'M' ||
            (Upper(suffix[0]) != 'A' && Upper(suffix[0]) != 'P')) {
            return std::nullopt;
        }
        if (hour < 1 || hour > 12) {
            return std::nullopt;
        }
        hour = hour % 12 + (Upper(suffix[0]) == 'P' ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    return hour * 3600 + minute * 60 + second;
}

bool IsScheduleDue(const std::array<std::string, 7>& dayFlags, std::string_view cleanTime,
                   const LocalTime& now) {
    if (now.weekday < 1 || now.weekday > 7) {
        return false;
    }
    // A flag that is no number marks no day: the schedule must never start a pass unasked.
    double flag = 0;
    if (!ParseNumber(dayFlags[static_cast<std::size_t>(now.weekday - 1)], flag) || flag != 1) {
        return false;
    }
    const std::optional<int> scheduled = TimeOfDaySeconds(cleanTime);
    return scheduled.has_value() && *scheduled == now.hour * 3600 + now.minute * 60;
}

bool ScheduleTicker::ShouldStart(const std::array<std::string, 7>& dayFlags,
                                 std::string_view cleanTime, const LocalTime& now,
                                 bool passRunning) {
    if (passRunning || !IsScheduleDue(dayFlags, cleanTime, now)) {
        return false;
    }
    if (served_.has_value() && SameMinute(*served_, now)) {
        return false;
    }
    served_ = now;
    return true;
}

}  // namespace hm
