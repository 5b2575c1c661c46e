// Thin RAII wrapper over an open registry key, and the conversion of the program's 32-bit root
// constants to the platform's handles.
#pragma once

#include <windows.h>

#include <string>

#include "platform/regfun.h"

namespace hm {

// The predefined handles are sign-extended 32-bit values, also in 64-bit processes.
inline HKEY ToHkey(RootKey root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
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
    LONG Open(HKEY parent, const std::string& subKey, REGSAM access);
    LONG Create(HKEY parent, const std::string& subKey, REGSAM access = KEY_ALL_ACCESS);
    void Close();

    HKEY get() const { return key_; }
    bool IsOpen() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

}  // namespace hm
