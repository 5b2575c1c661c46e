#include "app/options_rules.h"

#include "engine/format_rules.h"

namespace hm {

bool ReadsAsChecked(std::string_view value) {
    double number = 0;
    return !ParseNumber(value, number) || number == 1;
}

std::vector<std::string> StartTimes() {
    std::vector<std::string> times;
    times.reserve(48);
    for (int hour = 0; hour < 24; ++hour) {
        times.push_back(std::to_string(hour) + ":00");
        times.push_back(std::to_string(hour) + ":30");
    }
    return times;
}

std::string CleanDaysOrDefault(std::string_view stored) {
    return stored.empty() ? std::string("0000000") : std::string(stored);
}

std::array<std::string, 7> DayFlagsFromCleanDays(std::string_view stored) {
    const std::string days = CleanDaysOrDefault(stored);
    std::array<std::string, 7> flags;
    for (std::size_t index = 0; index < 6; ++index) {
        if (index < days.size()) {
            flags[index] = days.substr(index, 1);
        }
    }
    flags[6] = days.substr(days.size() - 1);
    return flags;
}

std::array<bool, 7> ParseCleanDays(std::string_view stored) {
    const std::array<std::string, 7> flags = DayFlagsFromCleanDays(stored);
    std::array<bool, 7> days{};
    for (std::size_t index = 0; index < days.size(); ++index) {
        days[index] = flags[index] == "1";
    }
    return days;
}

std::string FormatCleanDays(const std::array<bool, 7>& days) {
    std::string text;
    for (bool day : days) {
        text += FlagText(day);
    }
    return text;
}

std::string RunValueText(std::string_view programFolder) {
    return "\"" + std::string(programFolder) + "\\hushmark.exe\" min";
}

}  // namespace hm
