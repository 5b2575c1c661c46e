#include "config/settings_files.h"

#include <windows.h>

#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm {
namespace {

std::string DateTimeText(const FILETIME& stamp) {
    SYSTEMTIME universal = {};
    SYSTEMTIME local = {};
    if (!FileTimeToSystemTime(&stamp, &universal) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
        return {};
    }
    wchar_t date[128] = {};
    wchar_t time[128] = {};
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 128) == 0 ||
        GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &local, nullptr, time, 128) == 0) {
        return {};
    }
    return Narrow(date) + " " + Narrow(time);
}

}  // namespace

CustomItemFacts LookAtCustomItem(const std::string& path) {
    CustomItemFacts facts;
    const std::wstring longPath = IsAbsolutePath(path) ? files::ToLongPath(path) : std::wstring();
    if (longPath.empty()) {
        return facts;
    }
    // "\\?\C:" names the volume; the attributes are those of its root folder "\\?\C:\".
    const std::wstring item = longPath.back() == L':' ? longPath + L'\\' : longPath;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(item.c_str(), GetFileExInfoStandard, &data)) {
        return facts;
    }
    facts.exists = true;
    facts.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.modified = DateTimeText(data.ftLastWriteTime);
    if (!facts.isFolder) {
        facts.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        return facts;
    }
    std::uint64_t total = 0;
    if (files::TreeSize(longPath, total) == 0) {
        facts.size = total;
    }
    return facts;
}

}  // namespace hm
