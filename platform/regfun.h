// Text-based registry access: a key is named by one full path such as
// "HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\TypedURLs". Values are handled as
// text; reads fail in-band with the texts "Error" / "error" that callers compare against.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/user_messages.h"

namespace hm {

// Root keys as their 32-bit constants; 0 names no root and makes operations do nothing.
using RootKey = std::uint32_t;
inline constexpr RootKey kClassesRoot = 0x80000000u;
inline constexpr RootKey kCurrentUser = 0x80000001u;
inline constexpr RootKey kLocalMachine = 0x80000002u;
inline constexpr RootKey kUsers = 0x80000003u;
inline constexpr RootKey kPerformanceData = 0x80000004u;
inline constexpr RootKey kCurrentConfig = 0x80000005u;
inline constexpr RootKey kDynData = 0x80000006u;

// The root's name ("HKEY_CURRENT_USER"), or the empty text for an unknown constant.
std::string RootKeyName(RootKey root);

class Regfun {
public:
    explicit Regfun(UserMessages& messages) : messages_(messages) {}
    Regfun(const Regfun&) = delete;
    Regfun& operator=(const Regfun&) = delete;

    // Exact, case-sensitive names; 0 for any other name.
    static RootKey RootKeyFromName(std::string_view name);

    // Splits "ROOT\sub\key": on return path holds the sub-key path and root the handle.
    // A path that does not start with "HKEY_" or that ends with "\" shows "Incorrect Format:"
    // and returns false; the caller then does nothing more.
    bool SplitKeyPath(std::string& path, RootKey& root);

    // The value's text, "Error" when the key or value cannot be read, empty for an unknown root.
    std::string GetRegString(std::string path, const std::string& name);
    // Writes a string value into an existing key; a missing key is not created.
    void SetRegString(std::string path, const std::string& name, const std::string& text);
    // Creates the key and missing parents.
    void CreateRegKey(std::string path);

    // The value's data up to its first NUL, or "error". type receives the registry value type.
    static std::string QueryRegValue(RootKey root, const std::string& subKey,
                                     const std::string& name, std::uint32_t& type);
    static std::string TrimAtNull(std::string_view text);

private:
    UserMessages& messages_;
};

}  // namespace hm
