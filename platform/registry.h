// Thin RAII wrapper over the registry, and the conversion of the program's 32-bit root constants
// to the platform's handles. Names are UTF-8; a name holding a NUL character is refused with
// ERROR_INVALID_PARAMETER, because the system would read only the part before it and so name a
// different key (a parent of the one meant) or value.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/regfun.h"

namespace hm {

// The predefined handles are sign-extended 32-bit values, also in 64-bit processes.
inline HKEY ToHkey(RootKey root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

// Bytes a string value's data takes, with its terminating NUL.
inline DWORD StringDataBytes(const std::wstring& text) {
    return static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
}

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            Close();
            key_ = other.key_;
            other.key_ = nullptr;
        }
        return *this;
    }

    // Win32 status codes; the key is open only after ERROR_SUCCESS.
    // Opens an existing key; a missing key is never made.
    LONG Open(HKEY parent, std::string_view subKey, REGSAM access);
    // Opens the key, making it and any missing parents; created tells which happened.
    LONG Create(HKEY parent, std::string_view subKey, REGSAM access = KEY_ALL_ACCESS,
                bool* created = nullptr);
    void Close();

    HKEY get() const { return key_; }
    bool IsOpen() const { return key_ != nullptr; }

    LONG SubKeyNames(std::vector<std::string>& names) const;
    LONG ValueNames(std::vector<std::string>& names) const;
    bool HasValue(std::string_view name) const;
    LONG DeleteValue(std::string_view name);
    LONG SetString(std::string_view name, std::string_view text);
    // A value's type and data exactly as stored (bytes, whatever the type).
    LONG QueryRaw(std::string_view name, DWORD& type, std::string& data) const;
    LONG SetRaw(std::string_view name, DWORD type, std::string_view data);

private:
    HKEY key_ = nullptr;
};

// Deletes one key by name; on the Windows NT family a key that has sub-keys stays.
LONG DeleteRegistryKey(HKEY parent, std::string_view subKey);
// Deletes a key with everything below it.
LONG DeleteRegistryTree(HKEY parent, std::string_view subKey);
// Deletes one key (it must have no sub-keys) in the registry view given (KEY_WOW64_64KEY or
// KEY_WOW64_32KEY), whatever view this process would otherwise be shown.
LONG DeleteRegistryKeyInView(HKEY parent, std::string_view subKey, REGSAM view);

}  // namespace hm
