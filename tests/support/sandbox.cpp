#include "support/sandbox.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>

#include "platform/registry.h"
#include "platform/text.h"

namespace hm::test {
namespace {

std::wstring Long(const std::string& path) {
    std::wstring wide = Widen(path);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    if (wide.rfind(L"\\\\?\\", 0) == 0) {
        return wide;
    }
    if (wide.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + wide.substr(2);
    }
    return L"\\\\?\\" + wide;
}

std::string UniqueName(const char* prefix) {
    static std::atomic<unsigned> counter{0};
    return std::string(prefix) + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount()) + "-" + std::to_string(counter++);
}

void ListInto(const std::string& root, const std::string& relative,
              std::vector<std::string>& out) {
    WIN32_FIND_DATAW data;
    const std::string folder = relative.empty() ? root : root + "\\" + relative;
    HANDLE find = FindFirstFileW((Long(folder) + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const std::string rel = relative.empty() ? Narrow(name) : relative + "\\" + Narrow(name);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.push_back(rel + "\\");
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                ListInto(root, rel, out);
            }
        } else {
            out.push_back(rel);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

}  // namespace

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) {
        throw std::runtime_error("no temp folder");
    }
    std::string base = Narrow(std::wstring(temp, length));
    while (!base.empty() && base.back() == '\\') {
        base.pop_back();
    }
    path_ = base + "\\" + UniqueName("hm-test-");
    MakeFolders(path_);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::string TempFolder::operator/(const std::string& relative) const {
    return path_ + "\\" + relative;
}

TempRegKey::TempRegKey() : subKey_("Software\\HushmarkTests\\" + UniqueName("k")) {
    CreateKey(subKey_);
}

TempRegKey::~TempRegKey() { RegDeleteTreeW(HKEY_CURRENT_USER, Widen(subKey_).c_str()); }

std::string TempRegKey::fullPath() const { return "HKEY_CURRENT_USER\\" + subKey_; }

CurrentFolderGuard::CurrentFolderGuard(const std::string& folder) {
    std::wstring buffer(32768, L'\0');
    buffer.resize(GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data()));
    previous_ = Narrow(buffer);
    if (!SetCurrentDirectoryW(Widen(folder).c_str())) {
        throw std::runtime_error("cannot make " + folder + " the current folder");
    }
}

CurrentFolderGuard::~CurrentFolderGuard() { SetCurrentDirectoryW(Widen(previous_).c_str()); }

void MakeFolders(const std::string& folder) {
    std::wstring wide = Long(folder);
    // Create each missing level, skipping the "\\?\X:" prefix.
    for (size_t pos = 7; pos <= wide.size(); ++pos) {
        if (pos == wide.size() || wide[pos] == L'\\') {
            CreateDirectoryW(wide.substr(0, pos).c_str(), nullptr);
        }
    }
}

void WriteFileText(const std::string& file, const std::string& bytes) {
    MakeFolders(std::string(file.substr(0, file.find_last_of('\\'))));
    HANDLE handle = CreateFileW(Long(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot write " + file);
    }
    DWORD written = 0;
    if (!bytes.empty()) {
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    CloseHandle(handle);
}

void WriteFileOfSize(const std::string& file, std::size_t bytes, char fill) {
    WriteFileText(file, std::string(bytes, fill));
}

std::string ReadFileText(const std::string& file) {
    HANDLE handle = CreateFileW(Long(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string text;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(handle, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    CloseHandle(handle);
    return text;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Long(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Long(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::uint32_t AttributesOf(const std::string& path) {
    return GetFileAttributesW(Long(path).c_str());
}

void SetAttributes(const std::string& path, std::uint32_t attributes) {
    SetFileAttributesW(Long(path).c_str(), attributes);
}

void RemoveTree(const std::string& folder) {
    const std::wstring wide = Long(folder);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((wide + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = wide + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                // A link: remove the link only (it may refuse under Wine; then it stays).
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveDirectoryW(child.c_str());
                }
                continue;
            }
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(Narrow(child.substr(4)));
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(wide.c_str());
}

std::vector<std::string> ListTree(const std::string& folder) {
    std::vector<std::string> out;
    ListInto(folder, "", out);
    std::sort(out.begin(), out.end());
    return out;
}

void SetRegText(const std::string& subKey, const std::string& name, const std::string& text) {
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, subKey) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot create key " + subKey);
    }
    const std::wstring value = Widen(text);
    RegSetValueExW(key.get(), Widen(name).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool RegKeyExists(const std::string& subKey) {
    RegKey key;
    return key.Open(HKEY_CURRENT_USER, subKey, KEY_READ) == ERROR_SUCCESS;
}

bool RegValueExists(const std::string& subKey, const std::string& name) {
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, subKey, KEY_READ) != ERROR_SUCCESS) {
        return false;
    }
    return RegQueryValueExW(key.get(), Widen(name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

void CreateKey(const std::string& subKey) {
    RegKey key;
    key.Create(HKEY_CURRENT_USER, subKey);
}

std::string ExecutableFolder() {
    std::wstring buffer(32768, L'\0');
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.resize(length);
    const size_t cut = buffer.find_last_of(L'\\');
    return Narrow(cut == std::wstring::npos ? buffer : buffer.substr(0, cut));
}

}  // namespace hm::test
