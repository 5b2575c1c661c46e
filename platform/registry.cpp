#include "platform/registry.h"

#include <shlwapi.h>

#include "platform/text.h"

namespace hm {
namespace {

bool Usable(std::string_view name) {
    return name.find('\0') == std::string_view::npos;
}

// Names are at most 255 characters for keys and 16383 for values.
constexpr DWORD kLongestName = 16384;

template <typename Enumerate>
LONG CollectNames(Enumerate enumerate, std::vector<std::string>& names) {
    std::vector<std::string> found;
    std::wstring buffer(kLongestName, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = kLongestName;
        const LONG status = enumerate(index, buffer.data(), &length);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status != ERROR_SUCCESS) {
            return status;
        }
        found.push_back(Narrow(std::wstring_view(buffer.data(), length)));
    }
    names = std::move(found);
    return ERROR_SUCCESS;
}

}  // namespace

LONG RegKey::Open(HKEY parent, std::string_view subKey, REGSAM access) {
    Close();
    if (!Usable(subKey)) {
        return ERROR_INVALID_PARAMETER;
    }
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExW(parent, Widen(subKey).c_str(), 0, access, &opened);
    if (status == ERROR_SUCCESS) {
        key_ = opened;
    }
    return status;
}

LONG RegKey::Create(HKEY parent, std::string_view subKey, REGSAM access, bool* created) {
    Close();
    if (!Usable(subKey)) {
        return ERROR_INVALID_PARAMETER;
    }
    HKEY made = nullptr;
    DWORD disposition = 0;
    const LONG status = RegCreateKeyExW(parent, Widen(subKey).c_str(), 0, nullptr, 0, access,
                                        nullptr, &made, &disposition);
    if (status == ERROR_SUCCESS) {
        key_ = made;
        if (created != nullptr) {
            *created = disposition == REG_CREATED_NEW_KEY;
        }
    }
    return status;
}

void RegKey::Close() {
    if (key_ != nullptr) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}

LONG RegKey::SubKeyNames(std::vector<std::string>& names) const {
    return CollectNames(
        [this](DWORD index, wchar_t* buffer, DWORD* length) {
            return RegEnumKeyExW(key_, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
        },
        names);
}

LONG RegKey::ValueNames(std::vector<std::string>& names) const {
    return CollectNames(
        [this](DWORD index, wchar_t* buffer, DWORD* length) {
            return RegEnumValueW(key_, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
        },
        names);
}

bool RegKey::HasValue(std::string_view name) const {
    return Usable(name) && RegQueryValueExW(key_, Widen(name).c_str(), nullptr, nullptr, nullptr,
                                            nullptr) == ERROR_SUCCESS;
}

LONG RegKey::DeleteValue(std::string_view name) {
    if (!Usable(name)) {
        return ERROR_INVALID_PARAMETER;
    }
    return RegDeleteValueW(key_, Widen(name).c_str());
}

LONG RegKey::SetString(std::string_view name, std::string_view text) {
    if (!Usable(name)) {
        return ERROR_INVALID_PARAMETER;
    }
    // Stored with its terminating NUL: other programs read these values and a string without
    // one can read past its end there.
    const std::wstring data = Widen(text);
    return RegSetValueExW(key_, Widen(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()), StringDataBytes(data));
}

LONG RegKey::QueryRaw(std::string_view name, DWORD& type, std::string& data) const {
    if (!Usable(name)) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::wstring wide = Widen(name);
    // The value may grow between the size query and the read; ask again then.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        DWORD found = REG_NONE;
        LONG status = RegQueryValueExW(key_, wide.c_str(), nullptr, &found, nullptr, &size);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        std::string bytes(size, '\0');
        status = RegQueryValueExW(key_, wide.c_str(), nullptr, &found,
                                  reinterpret_cast<BYTE*>(bytes.data()), &size);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status == ERROR_SUCCESS) {
            bytes.resize(size);
            type = found;
            data = std::move(bytes);
        }
        return status;
    }
    return ERROR_MORE_DATA;
}

LONG RegKey::SetRaw(std::string_view name, DWORD type, std::string_view data) {
    if (!Usable(name)) {
        return ERROR_INVALID_PARAMETER;
    }
    // For string types the system looks one character past the data and, when that is a NUL and
    // the data lacks its own, stores the NUL too. Whatever follows the copy is not a NUL.
    std::string exact(data);
    exact.append(2, '\xFF');
    return RegSetValueExW(key_, Widen(name).c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(exact.data()), static_cast<DWORD>(data.size()));
}

LONG DeleteRegistryKey(HKEY parent, std::string_view subKey) {
    if (!Usable(subKey)) {
        return ERROR_INVALID_PARAMETER;
    }
    return RegDeleteKeyW(parent, Widen(subKey).c_str());
}

LONG DeleteRegistryTree(HKEY parent, std::string_view subKey) {
    if (!Usable(subKey)) {
        return ERROR_INVALID_PARAMETER;
    }
    return static_cast<LONG>(SHDeleteKeyW(parent, Widen(subKey).c_str()));
}

LONG DeleteRegistryKeyInView(HKEY parent, std::string_view subKey, REGSAM view) {
    if (!Usable(subKey)) {
        return ERROR_INVALID_PARAMETER;
    }
    return RegDeleteKeyExW(parent, Widen(subKey).c_str(), view, 0);
}

}  // namespace hm
