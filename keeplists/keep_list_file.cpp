#include "keeplists/keep_list_file.h"

#include <windows.h>

#include <algorithm>

#include "keeplists/keep_list_rules.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm {
namespace {

std::uint32_t LastError() {
    return static_cast<std::uint32_t>(GetLastError());
}

// The file's text converted from the ANSI code page; empty when it cannot be read whole.
std::string ReadKeepListText(const std::string& file) {
    std::string bytes;
    if (files::ReadWholeFile(file, kLargestKeepListBytes, bytes) != 0) {
        return {};
    }
    return FromAnsi(bytes);
}

std::uint32_t WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD put = 0;
        if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr)) {
            return LastError();
        }
        if (put == 0) {
            return ERROR_WRITE_FAULT;
        }
        bytes.remove_prefix(put);
    }
    return 0;
}

// The last byte of an open file, or the empty text for an empty file. Leaves the file pointer
// at the end.
std::uint32_t ReadLastByte(HANDLE file, std::string& tail) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
        return LastError();
    }
    tail.clear();
    if (size.QuadPart > 0) {
        LARGE_INTEGER last;
        last.QuadPart = size.QuadPart - 1;
        char byte = 0;
        DWORD got = 0;
        if (!SetFilePointerEx(file, last, nullptr, FILE_BEGIN) ||
            !ReadFile(file, &byte, 1, &got, nullptr)) {
            return LastError();
        }
        if (got == 1) {
            tail.assign(1, byte);
        }
    }
    LARGE_INTEGER zero{};
    return SetFilePointerEx(file, zero, nullptr, FILE_END) ? 0 : LastError();
}

// Writes the whole text into a new file at temporary (replacing a leftover there) and flushes it
// to the disk, so that the move that follows publishes complete content only.
std::uint32_t WriteTemporary(const std::wstring& temporary, std::string_view bytes) {
    const ScopedHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return LastError();
    }
    const std::uint32_t error = WriteAll(file.get(), bytes);
    if (error != 0) {
        return error;
    }
    return FlushFileBuffers(file.get()) ? 0 : LastError();
}

}  // namespace

std::string UrlKeepListPath(std::string_view programFolder) {
    return JoinPath(programFolder, kUrlKeepListName);
}

std::string CookieKeepListPath(std::string_view programFolder) {
    return JoinPath(programFolder, kCookieKeepListName);
}

std::vector<std::string> ReadKeepListLines(const std::string& file) {
    return SplitKeepListLines(ReadKeepListText(file));
}

std::vector<std::string> ReadKeepListEntries(const std::string& file) {
    return RightTrimmedLines(ReadKeepListText(file));
}

std::uint32_t AppendKeepListEntry(const std::string& file, std::string_view entry) {
    const std::wstring longPath = files::ToLongPath(file);
    if (longPath.empty()) {
        return files::kErrorInvalidName;
    }
    const ScopedHandle handle(CreateFileW(longPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) {
        return LastError();
    }
    std::string tail;
    const std::uint32_t error = ReadLastByte(handle.get(), tail);
    if (error != 0) {
        return error;
    }
    std::string bytes(SeparatorBeforeAppend(tail));
    bytes += ToAnsi(FormatKeepListLine(entry));
    return WriteAll(handle.get(), bytes);
}

std::string KeepListTemporaryPath(const std::string& file) {
    return file + ".tmp";
}

std::uint32_t RewriteKeepList(const std::string& file, std::span<const std::string> entries) {
    const std::wstring longPath = files::ToLongPath(file);
    const std::wstring temporary = files::ToLongPath(KeepListTemporaryPath(file));
    if (longPath.empty() || temporary.empty()) {
        return files::kErrorInvalidName;
    }
    std::uint32_t error = WriteTemporary(temporary, ToAnsi(FormatKeepList(entries)));
    if (error == 0 && !MoveFileExW(temporary.c_str(), longPath.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = LastError();
    }
    if (error != 0) {
        DeleteFileW(temporary.c_str());
    }
    return error;
}

std::vector<std::string> ListCookieFiles(const std::string& folder) {
    std::vector<std::wstring> names;
    if (IsAbsolutePath(folder) && IsFolder(folder)) {
        files::FolderScan scan(files::ToLongPath(folder));
        while (scan.Next()) {
            if (!scan.IsFolder() && IsCookieFileName(Narrow(scan.name()))) {
                names.emplace_back(scan.name());
            }
        }
    }
    // Some file systems list in creation order; the user looks for a site by name.
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                    static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
    });
    std::vector<std::string> paths;
    for (const std::wstring& name : names) {
        paths.push_back(JoinPath(folder, Narrow(name)));
    }
    return paths;
}

}  // namespace hm
