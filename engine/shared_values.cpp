#include "engine/shared_values.h"

#include <windows.h>

#include "config/inifun.h"
#include "engine/clean_run.h"
#include "engine/normal.h"
#include "engine/tick_rules.h"
#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm {

std::string UserShellFolder(Regfun& registry, const std::string& valueName) {
    const std::string stored = registry.GetRegString(kUserShellFolders, valueName);
    return ExpandUserProfile(std::string(TrimBlanks(stored)));
}

void ComputeSharedValues(SharedValues& values, Regfun& registry) {
    CarryOn([&] { values.WindowsVersion = GetWindowsVersion(); });
    CarryOn([&] { values.AppDataFolder = UserShellFolder(registry, "AppData"); });
    CarryOn([&] { values.LocalAppDataFolder = UserShellFolder(registry, "Local AppData"); });
    CarryOn([&] {
        wchar_t buffer[256];
        const UINT length = GetWindowsDirectoryW(buffer, 255);
        if (length > 0 && length < 255) {
            values.WindowsFolder = std::string(TrimBlanks(Narrow(std::wstring(buffer, length))));
        }
    });
    CarryOn([&] {
        const std::string version = registry.GetRegString(
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer", "Version");
        values.IEMajorVersion = MajorVersionDigit(TrimBlanks(version));
    });
}

std::string ProgramFolder() {
    std::wstring buffer(32768, L'\0');
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.resize(length);
    return std::string(ParentOf(Narrow(buffer)));
}

std::string NowText() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t date[128] = {};
    wchar_t time[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, 128);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, 128);
    return Narrow(date) + " " + Narrow(time);
}

}  // namespace hm
