#include "config/inifun.h"

#include <windows.h>

#include <algorithm>

#include "config/ini_rules.h"
#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm {
namespace {

// The profile functions re-read the whole file on every call, and the pass reads its keys one
// at a time. A file larger than this is no settings file; treating it as one would stall every
// pass.
constexpr ULONGLONG kLargestReadableIni = 4ull * 1024 * 1024;
// A write rewrites the whole file and may make it larger than it was: besides the new line,
// lines ending in a bare line feed come back ending in CR LF, which makes a line of two bytes
// three. Refusing writes above half the read limit means that whatever the program writes it
// can always read back.
constexpr ULONGLONG kLargestWritableIni = kLargestReadableIni / 2;

// Room for more than the read limit, so that the cut is ours and not the system's.
constexpr DWORD kValueBufferChars = 1024;
constexpr DWORD kSectionBufferChars = 32767;

// Whether the profile functions may be pointed at the file at all: a relative name would mean a
// file in the Windows folder to them, and a name holding a NUL a different file.
bool UsableIniPath(const std::string& file) {
    return IsAbsolutePath(file);
}

bool FitsForReading(const std::string& file) {
    return UsableIniPath(file) && CheckIniFile(file).readable;
}

bool FitsForWriting(const std::string& file) {
    return UsableIniPath(file) && CheckIniFile(file).writable;
}

}  // namespace

IniFileFit CheckIniFile(const std::string& file) {
    IniFileFit fit;
    if (!UsableIniPath(file)) {
        fit.readable = fit.writable = false;
        return fit;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Widen(file).c_str(), GetFileExInfoStandard, &data)) {
        // A missing file reads as empty and the first write creates it.
        return fit;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        fit.readable = fit.writable = false;
        return fit;
    }
    fit.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    fit.readable = fit.size <= kLargestReadableIni;
    fit.writable = fit.size <= kLargestWritableIni;
    return fit;
}

std::string ReadIniValue(const std::string& file, const std::string& section,
                         const std::string& key) {
    if (!FitsForReading(file)) {
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
    if (!FitsForWriting(file)) {
        return;
    }
    WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                               Widen(IniValueAsWritten(value)).c_str(), Widen(file).c_str());
}

std::vector<std::string> ReadIniSection(const std::string& section, const std::string& file) {
    if (!FitsForReading(file)) {
        return {};
    }
    std::wstring buffer(kSectionBufferChars, L'\0');
    const DWORD got = GetPrivateProfileSectionW(Widen(section).c_str(), buffer.data(),
                                                kSectionBufferChars, Widen(file).c_str());
    buffer.resize(std::min(got, kSectionBufferChars - 1));
    return SplitSectionBuffer(Narrow(buffer));
}

std::vector<std::string> ReadIniSectionNames(const std::string& file) {
    if (!FitsForReading(file)) {
        return {};
    }
    std::wstring buffer(4096, L'\0');
    for (;;) {
        const DWORD got = GetPrivateProfileSectionNamesW(
            buffer.data(), static_cast<DWORD>(buffer.size()), Widen(file).c_str());
        // The system signals a full buffer by answering its size less two.
        if (got + 2 < buffer.size()) {
            buffer.resize(got);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    return SplitSectionBuffer(Narrow(buffer));
}

std::uint32_t RemoveIniSection(const std::string& file, const std::string& section) {
    if (!FitsForWriting(file) || section.find('\0') != std::string::npos) {
        return ERROR_INVALID_PARAMETER;
    }
    if (!WritePrivateProfileStringW(Widen(section).c_str(), nullptr, nullptr, Widen(file).c_str())) {
        return static_cast<std::uint32_t>(GetLastError());
    }
    return 0;
}

std::uint32_t CanRewriteIniFile(const std::string& file) {
    if (!FitsForWriting(file)) {
        return ERROR_INVALID_PARAMETER;
    }
    const HANDLE handle =
        CreateFileW(Widen(file).c_str(), GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return static_cast<std::uint32_t>(GetLastError());
    }
    CloseHandle(handle);
    return 0;
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
