#include "platform/registry.h"

#include "platform/text.h"

namespace hm {

LONG RegKey::Open(HKEY parent, const std::string& subKey, REGSAM access) {
    Close();
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExW(parent, Widen(subKey).c_str(), 0, access, &opened);
    if (status == ERROR_SUCCESS) {
        key_ = opened;
    }
    return status;
}

LONG RegKey::Create(HKEY parent, const std::string& subKey, REGSAM access) {
    Close();
    HKEY created = nullptr;
    const LONG status = RegCreateKeyExW(parent, Widen(subKey).c_str(), 0, nullptr, 0, access,
                                        nullptr, &created, nullptr);
    if (status == ERROR_SUCCESS) {
        key_ = created;
    }
    return status;
}

void RegKey::Close() {
    if (key_ != nullptr) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}

}  // namespace hm
