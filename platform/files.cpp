#include "platform/files.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "platform/handles.h"
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

// The system reads a path only up to a NUL; what follows would silently be dropped and the call
// would reach a different, shorter path.
bool HoldsNul(std::wstring_view path) {
    return path.find(L'\0') != std::wstring_view::npos;
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
    if (path.find('\0') != std::string_view::npos) {
        return {};
    }
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
    if (HoldsNul(folder)) {
        error_ = kErrorInvalidName;
        return;
    }
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
    if (HoldsNul(path)) {
        return kErrorInvalidName;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(ForAttributeCall(path).c_str(), GetFileExInfoStandard, &data)) {
        return LastError();
    }
    info.attributes = data.dwFileAttributes;
    info.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return 0;
}

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The item itself, never what a link points at; folders open like files.
constexpr DWORD kItemItself = FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS;

HANDLE OpenItem(const std::wstring& path, DWORD access) {
    return CreateFileW(ForAttributeCall(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                       kItemItself, nullptr);
}

}  // namespace

std::uint32_t ClearAttributes(const std::wstring& path) {
    if (HoldsNul(path)) {
        return kErrorInvalidName;
    }
    // Some systems list a link with the reparse-point attribute yet open only its target.
    Info listed;
    if (QueryInfo(path, listed) == 0 && (listed.attributes & kReparsePoint) != 0) {
        return kErrorLinkNotAddressable;
    }
    const ScopedHandle item(OpenItem(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES));
    if (!item.valid()) {
        return LastError();
    }
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(item.get(), FileBasicInfo, &basic, sizeof(basic))) {
        return LastError();
    }
    if ((basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return kErrorLinkNotAddressable;
    }
    // Zero times mean "leave as they are".
    FILE_BASIC_INFO normal{};
    normal.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return Result(SetFileInformationByHandle(item.get(), FileBasicInfo, &normal, sizeof(normal)));
}

DeletionCandidate::~DeletionCandidate() { Close(); }

void DeletionCandidate::Close() {
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
}

std::uint32_t DeletionCandidate::Open(const std::wstring& path, bool isLink) {
    Close();
    if (HoldsNul(path)) {
        return kErrorInvalidName;
    }
    const HANDLE opened = OpenItem(path, DELETE | FILE_READ_ATTRIBUTES);
    if (opened == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    handle_ = opened;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(opened, &info)) {
        const std::uint32_t error = LastError();
        Close();
        return error;
    }
    // Listed as a link but opened as something else: the handle reached the link's target
    // (some systems cannot open the link itself). Deleting through it would delete the target.
    if (isLink && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        Close();
        return kErrorLinkNotAddressable;
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        GetFileType(opened) != FILE_TYPE_DISK) {
        Close();
        return kErrorNotDiskFile;
    }
    return 0;
}

std::uint32_t DeletionCandidate::Delete() {
    if (handle_ == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    const std::uint32_t error = Result(SetFileInformationByHandle(
        static_cast<HANDLE>(handle_), FileDispositionInfo, &disposition, sizeof(disposition)));
    Close();
    return error;
}

std::uint32_t RemoveFile(const std::wstring& path) {
    if (HoldsNul(path)) {
        return kErrorInvalidName;
    }
    return Result(DeleteFileW(path.c_str()));
}

std::uint32_t RemoveFolder(const std::wstring& path) {
    if (HoldsNul(path)) {
        return kErrorInvalidName;
    }
    return Result(RemoveDirectoryW(path.c_str()));
}

std::uint32_t CreateFolder(const std::wstring& path) {
    if (HoldsNul(path)) {
        return kErrorInvalidName;
    }
    return Result(CreateDirectoryW(path.c_str(), nullptr));
}

std::uint32_t DeleteAtNextBoot(const std::wstring& path) {
    if (HoldsNul(path)) {
        return kErrorInvalidName;
    }
    return Result(MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
}

std::uint32_t MoveReplacing(const std::wstring& from, const std::wstring& to) {
    return Result(MoveFileExW(from.c_str(), to.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

std::uint32_t CanDeleteAtNextBoot() {
    HKEY key = nullptr;
    const LONG status =
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                      KEY_SET_VALUE, &key);
    if (status == ERROR_SUCCESS) {
        RegCloseKey(key);
    }
    return static_cast<std::uint32_t>(status);
}

std::uint32_t TreeSize(const std::wstring& folder, std::uint64_t& size) {
    Info info;
    const std::uint32_t error = QueryInfo(folder, info);
    if (error != 0) {
        return error;
    }
    if ((info.attributes & kDirectory) == 0) {
        return ERROR_DIRECTORY;
    }
    std::uint64_t total = 0;
    std::vector<std::wstring> pending{folder};
    while (!pending.empty()) {
        const std::wstring current = std::move(pending.back());
        pending.pop_back();
        FolderScan scan(current);
        while (scan.Next()) {
            if (!scan.IsFolder()) {
                total += scan.size();
            } else if (!scan.IsLink()) {
                pending.push_back(current + L'\\' + std::wstring(scan.name()));
            }
        }
    }
    size = total;
    return 0;
}

namespace {

// Opens a file of the disk for reading and reads at most limit bytes of it; fileSize is its whole
// size. With refuseLarger, a file over the limit is refused before anything is read.
std::uint32_t ReadFilePrefix(const std::string& path, std::uint64_t limit, bool refuseLarger,
                             std::string& bytes, std::uint64_t& fileSize) {
    const std::wstring longPath = ToLongPath(path);
    if (longPath.empty()) {
        return kErrorInvalidName;
    }
    const ScopedHandle file(CreateFileW(longPath.c_str(), GENERIC_READ, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        return LastError();
    }
    // A pipe or device opened by name could block forever.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        return kErrorNotDiskFile;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) {
        return LastError();
    }
    const auto total = static_cast<std::uint64_t>(size.QuadPart);
    if (refuseLarger && total > limit) {
        return ERROR_FILE_TOO_LARGE;
    }
    std::string read(static_cast<std::size_t>(total < limit ? total : limit), '\0');
    std::size_t filled = 0;
    while (filled < read.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), read.data() + filled, static_cast<DWORD>(read.size() - filled),
                      &got, nullptr)) {
            return LastError();
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    read.resize(filled);
    bytes = std::move(read);
    fileSize = total;
    return 0;
}

}  // namespace

std::uint32_t ReadWholeFile(const std::string& path, std::uint64_t limit, std::string& bytes) {
    std::uint64_t fileSize = 0;
    return ReadFilePrefix(path, limit, true, bytes, fileSize);
}

std::uint32_t ReadFileHead(const std::string& path, std::uint64_t limit, std::string& bytes,
                           std::uint64_t& fileSize) {
    return ReadFilePrefix(path, limit, false, bytes, fileSize);
}

std::uint32_t WriteWholeFile(const std::string& path, const std::string& bytes) {
    const std::wstring longPath = ToLongPath(path);
    if (longPath.empty()) {
        return kErrorInvalidName;
    }
    const ScopedHandle file(CreateFileW(longPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return LastError();
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        DWORD put = 0;
        if (!WriteFile(file.get(), bytes.data() + written,
                       static_cast<DWORD>(bytes.size() - written), &put, nullptr)) {
            return LastError();
        }
        if (put == 0) {
            return ERROR_WRITE_FAULT;
        }
        written += put;
    }
    return 0;
}

std::wstring OnDiskCase(const std::wstring& longPath) {
    // "\\?\C:" or "\\?\UNC\server\share" stays as given; the parts below it are looked up.
    size_t start = 0;
    if (StartsWith(longPath, kLongUncPrefix)) {
        start = longPath.find(L'\\', kLongUncPrefix.size());
        start = start == std::wstring::npos ? longPath.size() : longPath.find(L'\\', start + 1);
    } else if (StartsWith(longPath, kLongPrefix)) {
        start = longPath.find(L'\\', kLongPrefix.size());
    }
    if (start == std::wstring::npos || start >= longPath.size()) {
        return longPath;
    }
    std::wstring result = longPath.substr(0, start);
    size_t pos = start;
    bool exists = true;
    while (pos < longPath.size()) {
        const size_t next = longPath.find(L'\\', pos + 1);
        const std::wstring part =
            longPath.substr(pos + 1, next == std::wstring::npos ? std::wstring::npos : next - pos - 1);
        std::wstring stored = part;
        // Wildcards would make the lookup a search; such a name is kept as written.
        if (exists && part.find_first_of(L"*?") == std::wstring::npos) {
            WIN32_FIND_DATAW data;
            const HANDLE found = FindFirstFileExW((result + L'\\' + part).c_str(), FindExInfoBasic,
                                                  &data, FindExSearchNameMatch, nullptr, 0);
            if (found == INVALID_HANDLE_VALUE) {
                exists = false;
            } else {
                FindClose(found);
                if (CompareStringOrdinal(data.cFileName, -1, part.c_str(), -1, TRUE) == CSTR_EQUAL) {
                    stored = data.cFileName;
                }
            }
        }
        result += L'\\';
        result += stored;
        if (next == std::wstring::npos) {
            break;
        }
        pos = next;
    }
    return result;
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
