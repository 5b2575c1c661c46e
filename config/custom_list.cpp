#include "config/custom_list.h"

#include <windows.h>

#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm {
namespace {

// Far beyond any list a user builds by hand; a larger file is not one of ours.
constexpr LONGLONG kLargestListFile = 16ll * 1024 * 1024;

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (IsOpen()) {
            CloseHandle(handle_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The path as handed to the file functions. Absolute paths take the "\\?\" form so that items
// nested deeper than MAX_PATH are still found; that form switches off the system's clean-up of
// "/", "." and "..", so the path is made full first.
std::wstring ApiPath(const std::string& path) {
    const std::wstring wide = Widen(path);
    if (!IsAbsolutePath(path) || StartsWith(wide, L"\\\\?\\") || StartsWith(wide, L"\\\\.\\")) {
        return wide;
    }
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return wide;
    }
    std::wstring full(needed, L'\0');
    const DWORD got = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (got == 0 || got >= needed) {
        return wide;
    }
    full.resize(got);
    if (StartsWith(full, L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

// A NUL would end the path early at the API and name a different, shorter path.
bool HoldsNul(const std::string& text) {
    return text.find('\0') != std::string::npos;
}

}  // namespace

std::string CustomListPath(const std::string& programFolder) {
    return JoinPath(programFolder, "cusd.dat");
}

bool ReadCustomListFile(const std::string& file, std::vector<CustomLine>& lines) {
    lines.clear();
    if (file.empty() || HoldsNul(file)) {
        return false;
    }
    FileHandle handle(CreateFileW(ApiPath(file).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle.IsOpen() || GetFileType(handle.get()) != FILE_TYPE_DISK) {
        return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle.get(), &size) || size.QuadPart > kLargestListFile) {
        return false;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(handle.get(), bytes.data() + filled,
                      static_cast<DWORD>(bytes.size() - filled), &got, nullptr)) {
            return false;
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    bytes.resize(filled);
    lines = ParseCustomList(FromAnsi(bytes));
    return true;
}

std::vector<CustomLine> UsableCustomItems(const std::vector<CustomLine>& lines) {
    std::vector<CustomLine> usable;
    for (const CustomLine& line : lines) {
        if (!IsCustomFile(line) && !IsCustomFolder(line)) {
            continue;
        }
        // A relative path would be resolved against whatever the current folder happens to be;
        // the list only ever holds full paths picked in the dialog.
        if (line.path.empty() || HoldsNul(line.path) || !IsAbsolutePath(line.path)) {
            continue;
        }
        if (GetFileAttributesW(ApiPath(line.path).c_str()) == INVALID_FILE_ATTRIBUTES) {
            continue;
        }
        usable.push_back(line);
    }
    return usable;
}

bool WriteCustomListFile(const std::string& file, const std::vector<CustomLine>& items) {
    if (file.empty() || HoldsNul(file)) {
        return false;
    }
    const std::string bytes = ToAnsi(FormatCustomList(items));
    FileHandle handle(CreateFileW(ApiPath(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.IsOpen()) {
        return false;
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        DWORD put = 0;
        if (!WriteFile(handle.get(), bytes.data() + written,
                       static_cast<DWORD>(bytes.size() - written), &put, nullptr) ||
            put == 0) {
            return false;
        }
        written += put;
    }
    return true;
}

}  // namespace hm
