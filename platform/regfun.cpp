#include "platform/regfun.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/registry.h"
#include "platform/text.h"

namespace hm {
namespace {

// Reads have always gone through a 255-byte buffer of ANSI text; a longer value reads as a
// failure, and callers depend on that rather than on a truncated value.
constexpr std::size_t kReadBufferBytes = 255;

// Each ANSI byte comes from at most four bytes of UTF-16 data (a surrogate pair that the code
// page lacks becomes one default character), so larger data can never fit the buffer.
constexpr DWORD kLargestFittingData = 4 * (kReadBufferBytes + 1);

struct NamedRoot {
    RootKey root;
    const char* name;
};

constexpr NamedRoot kRoots[] = {
    {kClassesRoot, "HKEY_CLASSES_ROOT"},
    {kCurrentUser, "HKEY_CURRENT_USER"},
    {kLocalMachine, "HKEY_LOCAL_MACHINE"},
    {kUsers, "HKEY_USERS"},
    {kPerformanceData, "HKEY_PERFORMANCE_DATA"},
    {kCurrentConfig, "HKEY_CURRENT_CONFIG"},
    {kDynData, "HKEY_DYN_DATA"},
};

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// What the value leaves at the start of the 255-byte read buffer, as UTF-16 text; false when
// the value is missing or does not fit. Strings count by their ANSI size, other types by their
// raw bytes, which the ANSI side would take as code-page text.
//
// The text ends at the data's first NUL, which it keeps: string data ends there by definition
// (a REG_MULTI_SZ value yields its first string), and what may follow it must never reach a
// caller, who would append to it and hand the result to a system call that stops at the NUL.
bool ReadIntoBuffer(HKEY key, const std::string& name, std::wstring& contents, DWORD& type) {
    if (name.find('\0') != std::string::npos) {
        return false;
    }
    std::vector<BYTE> data(kLargestFittingData);
    DWORD size = kLargestFittingData;
    DWORD valueType = REG_NONE;
    if (RegQueryValueExW(key, Widen(name).c_str(), nullptr, &valueType, data.data(), &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    data.resize(size);
    std::wstring text;
    std::size_t ansiBytes = 0;
    if (IsStringType(valueType)) {
        text.assign(data.size() / sizeof(wchar_t), L'\0');
        if (!text.empty()) {
            std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
        }
        ansiBytes = ToAnsi(Narrow(text)).size();
    } else {
        ansiBytes = data.size();
        text = Widen(
            FromAnsi(std::string_view(reinterpret_cast<const char*>(data.data()), data.size())));
    }
    if (ansiBytes > kReadBufferBytes) {
        return false;
    }
    const std::size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos) {
        text.resize(nul + 1);
    } else if (IsStringType(valueType) && ansiBytes < kReadBufferBytes) {
        // Windows ends a string stored without its NUL when the buffer has room for one.
        text.push_back(L'\0');
    }
    contents = std::move(text);
    type = valueType;
    return true;
}

}  // namespace

std::string RootKeyName(RootKey root) {
    for (const NamedRoot& entry : kRoots) {
        if (entry.root == root) {
            return entry.name;
        }
    }
    return {};
}

RootKey Regfun::RootKeyFromName(std::string_view name) {
    for (const NamedRoot& entry : kRoots) {
        if (name == entry.name) {
            return entry.root;
        }
    }
    return 0;
}

bool Regfun::SplitKeyPath(std::string& path, RootKey& root) {
    if (path.compare(0, 5, "HKEY_") != 0 || path.back() == '\\') {
        messages_.Tell("Incorrect Format:\n\n" + path, "Hushmark", MessageIcon::None);
        return false;
    }
    const std::size_t slash = path.find('\\');
    if (slash == std::string::npos) {
        root = RootKeyFromName(path);
        path.clear();
    } else {
        root = RootKeyFromName(std::string_view(path).substr(0, slash));
        path.erase(0, slash + 1);
    }
    return true;
}

std::string Regfun::GetRegString(std::string path, const std::string& name) {
    RootKey root = 0;
    if (!SplitKeyPath(path, root) || root == 0) {
        return {};
    }
    RegKey key;
    if (key.Open(ToHkey(root), path, KEY_READ) != ERROR_SUCCESS) {
        return "Error";
    }
    std::wstring buffer;
    DWORD type = REG_NONE;
    if (!ReadIntoBuffer(key.get(), name, buffer, type)) {
        return "Error";
    }
    // The buffer is blank-padded: trimming takes the padding and the stored text's own leading
    // blanks, and the character then dropped is the NUL that ends the data. Trailing blanks of
    // the text stand before that NUL and stay.
    const std::size_t first = buffer.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        return {};
    }
    buffer = buffer.substr(first, buffer.find_last_not_of(L' ') - first + 1);
    buffer.pop_back();
    return Narrow(buffer);
}

void Regfun::SetRegString(std::string path, const std::string& name, const std::string& text) {
    RootKey root = 0;
    if (!SplitKeyPath(path, root) || root == 0) {
        return;
    }
    RegKey key;
    if (key.Open(ToHkey(root), path, KEY_SET_VALUE) != ERROR_SUCCESS) {
        return;
    }
    key.SetString(name, text);
}

void Regfun::CreateRegKey(std::string path) {
    RootKey root = 0;
    if (!SplitKeyPath(path, root) || root == 0) {
        return;
    }
    RegKey key;
    key.Create(ToHkey(root), path, MAXIMUM_ALLOWED);
}

std::string Regfun::QueryRegValue(RootKey root, const std::string& subKey, const std::string& name,
                                  std::uint32_t& type) {
    if (root == 0) {
        return "error";
    }
    RegKey key;
    if (key.Open(ToHkey(root), subKey, KEY_READ) != ERROR_SUCCESS) {
        return "error";
    }
    std::wstring buffer;
    DWORD valueType = REG_NONE;
    if (!ReadIntoBuffer(key.get(), name, buffer, valueType)) {
        return "error";
    }
    type = valueType;
    return TrimAtNull(Narrow(buffer));
}

std::string Regfun::TrimAtNull(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

}  // namespace hm
