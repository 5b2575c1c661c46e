#include "config/inifun.h"

#include <windows.h>

#include <algorithm>

#include "config/ini_rules.h"
#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm {
namespace {

// The profile functions re-read the whole file on every call, and the pass reads its keys one
// at a time. A file this large is no settings file; treating it as one would stall every pass.
constexpr ULONGLONG kLargestIniFile = 4ull * 1024 * 1024;

// Room for more than the read limit, so that the cut is ours and not the system's.
constexpr DWORD kValueBufferChars = 1024;
constexpr DWORD kSectionBufferChars = 32767;

// Whether the profile functions may be pointed at the file at all. A missing file may: it
// reads as empty and the first write creates it.
bool UsableIniFile(const std::string& file) {
    // Given a relative name the system looks in the Windows folder instead of failing.
    if (!IsAbsolutePath(file) || file.find('\0') != std::string::npos) {
        return false;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Widen(file).c_str(), GetFileExInfoStandard, &data)) {
        return true;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        return false;
    }
    const ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return size <= kLargestIniFile;
}

}  // namespace

std::string ReadIniValue(const std::string& file, const std::string& section,
                         const std::string& key) {
    if (!UsableIniFile(file)) {
        return {};
    }
    std::wstring buffer(kValueBufferChars, L'\0');
    const DWORD got =
        GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", buffer.data(),
                                 kValueBufferChars, Widen(file).c_str());
    buffer.resize(std::min(got, kValueBufferChars - 1));
    return IniValueAsRead(Narrow(buffer));
}

void WriteIniValue(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) {
    if (!UsableIniFile(file)) {
        return;
    }
    WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                               Widen(IniValueAsWritten(value)).c_str(), Widen(file).c_str());
}

std::vector<std::string> ReadIniSection(const std::string& section, const std::string& file) {
    if (!UsableIniFile(file)) {
        return {};
    }
    std::wstring buffer(kSectionBufferChars, L'\0');
    const DWORD got = GetPrivateProfileSectionW(Widen(section).c_str(), buffer.data(),
                                                kSectionBufferChars, Widen(file).c_str());
    buffer.resize(std::min(got, kSectionBufferChars - 1));
    return SplitSectionBuffer(Narrow(buffer));
}

std::string GetWindowsVersion() {
    // The version query answers as the program's manifest allows, which is what the callers'
    // version tests were written against.
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#ifdef _MSC_VER
#pragma warning(push)
#pragma warning(disable : 4996)
#endif
    GetVersionExW(&info);
#ifdef _MSC_VER
#pragma warning(pop)
#endif
    return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion);
}

}  // namespace hm
