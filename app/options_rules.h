// What the options dialog's settings mean: the keys of the section "Options", how a stored
// value reads as a check box, the start-time list, the weekday string and the start-with-Windows
// command line. The main window's load reads the same values with the same rules.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace hm {

inline constexpr const char* kOptionsSection = "Options";
inline constexpr const char* kBossKeyKey = "bosskey";
inline constexpr const char* kStartupKey = "startup";
inline constexpr const char* kAutoCleanKey = "autoclean";
inline constexpr const char* kExitKey = "exit";
inline constexpr const char* kSecurelyKey = "securely";
inline constexpr const char* kWindowsStartupKey = "WindowsStartup";
inline constexpr const char* kWindowsShutdownKey = "WindowsShutdown";
inline constexpr const char* kCleanDaysKey = "CleanDays";
inline constexpr const char* kCleanTimeKey = "CleanTime";

// The start-with-Windows entry lives under this sub-key of a root.
inline constexpr const char* kRunSubKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Hushmark";

// Internet Explorer's start page and window title: shown from the user's own key, written under
// each of the three keys in turn.
inline constexpr const char* kCurrentUserIeMain =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr std::array<const char*, 3> kIeMainKeys = {
    "HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Internet Explorer\\Main",
    kCurrentUserIeMain,
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet Explorer\\Main",
};
inline constexpr const char* kStartPageValue = "Start Page";
inline constexpr const char* kWindowTitleValue = "Window Title";

// A flag as the options read it: on when it is the number 1, and also when it cannot be
// compared with a number at all (empty, as for a missing key, or text). So a fresh install,
// which has no settings file, starts with these options on.
bool ReadsAsChecked(std::string_view value);

// "1" or "0", as every flag is stored.
inline const char* FlagText(bool on) {
    return on ? "1" : "0";
}

// The 48 entries of the start-time list: "0:00", "0:30", "1:00", ... "23:30".
std::vector<std::string> StartTimes();

// CleanDays as stored, with "0000000" (no day) in place of an empty value.
std::string CleanDaysOrDefault(std::string_view stored);

// The seven day boxes, Sunday first. Sunday comes from the first character, Monday to Friday
// from the second to the sixth and Saturday from the last, so a short value still gives its
// last character to Saturday. Only "1" checks a box; a missing character or any other one
// leaves it clear.
std::array<bool, 7> ParseCleanDays(std::string_view stored);

// The same split into the one-character texts of the shared DayFlags (index 0 = Sunday); a
// position beyond a short value is empty.
std::array<std::string, 7> DayFlagsFromCleanDays(std::string_view stored);

// Seven "1"/"0" characters, Sunday first: Monday to Friday gives "0111110".
std::string FormatCleanDays(const std::array<bool, 7>& days);

// The Run value's data: "\"" + folder + "\\hushmark.exe\" min".
std::string RunValueText(std::string_view programFolder);

}  // namespace hm
