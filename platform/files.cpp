#include "platform/files.h"

#include <windows.h>

#include "platform/text.h"

namespace hm::files {
namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

std::uint32_t LastError() {
    return static_cast<std::uint32_t>(GetLastError());
}

std::uint32_t Result(BOOL ok) {
    return ok ? 0 : LastError();
}

// "\\?\C:" names the volume, not its root folder; attribute calls need the backslash back.
std::wstring ForAttributeCall(const std::wstring& path) {
    if (!path.empty() && path.back() == L':') {
        return path + L'\\';
    }
    return path;
}

}  // namespace

std::wstring ToLongPath(std::string_view path) {
    std::wstring wide = Widen(path);
    if (wide.empty()) {
        return {};
    }
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    // Device paths ("\\.\PhysicalDrive0") are never folders a cleaner should walk.
    if (StartsWith(wide, L"\\\\.\\")) {
        return {};
    }
    std::wstring full;
    if (StartsWith(wide, kLongPrefix)) {
        full = wide;
    } else {
        const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
        if (needed == 0) {
            return {};
        }
        full.resize(needed);
        const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
        if (length == 0 || length >= needed) {
            return {};
        }
        full.resize(length);
        if (StartsWith(full, L"\\\\")) {
            full = std::wstring(kLongUncPrefix) + full.substr(2);
        } else if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') {
            full = std::wstring(kLongPrefix) + full;
        } else {
            return {};
        }
    }
    while (full.size() > kLongPrefix.size() && full.back() == L'\\') {
        full.pop_back();
    }
    return full;
}

std::string ToDisplayPath(std::wstring_view longPath) {
    if (StartsWith(longPath, kLongUncPrefix)) {
        return "\\\\" + Narrow(longPath.substr(kLongUncPrefix.size()));
    }
    if (StartsWith(longPath, kLongPrefix)) {
        return Narrow(longPath.substr(kLongPrefix.size()));
    }
    return Narrow(longPath);
}

struct FolderScan::State {
    HANDLE handle = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW data{};
    bool pending = false;  // data holds the first entry, not yet handed out
};

FolderScan::FolderScan(const std::wstring& folder) : state_(std::make_unique<State>()) {
    std::wstring pattern = folder;
    if (pattern.empty() || pattern.back() != L'\\') {
        pattern += L'\\';
    }
    pattern += L'*';
    // The basic level skips the 8.3 short names, and the large fetch asks the file system for
    // many entries per call: the two matter on folders of many thousand files.
    state_->handle = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &state_->data,
                                      FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (state_->handle == INVALID_HANDLE_VALUE) {
        error_ = LastError();
    } else {
        state_->pending = true;
    }
}

FolderScan::~FolderScan() {
    if (state_->handle != INVALID_HANDLE_VALUE) {
        FindClose(state_->handle);
    }
}

bool FolderScan::Next() {
    if (state_->handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    for (;;) {
        if (state_->pending) {
            state_->pending = false;
        } else if (!FindNextFileW(state_->handle, &state_->data)) {
            return false;
        }
        const wchar_t* name = state_->data.cFileName;
        const bool dots =
            name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
        if (!dots) {
            return true;
        }
    }
}

std::wstring_view FolderScan::name() const {
    return state_->data.cFileName;
}

std::uint32_t FolderScan::attributes() const {
    return state_->data.dwFileAttributes;
}

std::uint64_t FolderScan::size() const {
    return (static_cast<std::uint64_t>(state_->data.nFileSizeHigh) << 32) |
           state_->data.nFileSizeLow;
}

std::uint32_t QueryInfo(const std::wstring& path, Info& info) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(ForAttributeCall(path).c_str(), GetFileExInfoStandard, &data)) {
        return LastError();
    }
    info.attributes = data.dwFileAttributes;
    info.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return 0;
}

std::uint32_t SetAttributes(const std::wstring& path, std::uint32_t attributes) {
    return Result(SetFileAttributesW(ForAttributeCall(path).c_str(), attributes));
}

std::uint32_t RemoveFile(const std::wstring& path) {
    return Result(DeleteFileW(path.c_str()));
}

std::uint32_t RemoveFolder(const std::wstring& path) {
    return Result(RemoveDirectoryW(path.c_str()));
}

std::uint32_t CreateFolder(const std::wstring& path) {
    return Result(CreateDirectoryW(path.c_str(), nullptr));
}

std::uint32_t DeleteAtNextBoot(const std::wstring& path) {
    return Result(MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
}

}  // namespace hm::files

namespace hm {

bool IsFolder(std::string_view path) {
    const std::wstring longPath = files::ToLongPath(path);
    files::Info info;
    return !longPath.empty() && files::QueryInfo(longPath, info) == 0 &&
           (info.attributes & files::kDirectory) != 0;
}

}  // namespace hm
