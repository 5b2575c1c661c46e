// Values computed once when the program starts and shared by the pass and the windows.
#pragma once

#include <array>
#include <string>

#include "platform/regfun.h"

namespace hm {

inline constexpr const char* kAppTitle = "Hushmark";
inline constexpr const char* kUserShellFolders =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
    "Folders";

struct SharedValues {
    std::string StartupCommand;
    int BackgroundRun = 0;
    std::array<std::string, 7> DayFlags{"0", "0", "0", "0", "0", "0", "0"};
    std::string CleanTime;
    double RegistryKeysTotal = 0;
    double BytesReleasedTotal = 0;
    std::string WindowsVersion;
    std::string AppDataFolder;
    std::string LocalAppDataFolder;
    std::string WindowsFolder;
    int IEMajorVersion = 0;
};

// A user shell folder ("AppData", "Cache", ...): the registry value, trimmed of blanks, with a
// "%USERPROFILE%" token replaced by the profile folder. "Error" when the value is missing.
std::string UserShellFolder(Regfun& registry, const std::string& valueName);

// Fills WindowsVersion, AppDataFolder, LocalAppDataFolder, WindowsFolder and IEMajorVersion.
// A failing step leaves its value as it was.
void ComputeSharedValues(SharedValues& values, Regfun& registry);

// The folder holding the running executable, without a trailing backslash.
std::string ProgramFolder();

// The current date and time as the system's general date text.
std::string NowText();

}  // namespace hm
