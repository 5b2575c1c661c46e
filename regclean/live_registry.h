// The cleaner's registry access on the real registry. Keys are full paths with the root's name;
// every call uses the 64-bit view, so a 32-bit build sees and changes the same keys that
// Registry Editor shows under those paths on 64-bit Windows (the 32-bit programs' keys then
// appear below "Software\WOW6432Node", where the scan also looks).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "regclean/scan_rules.h"

namespace hm::regclean {

class LiveRegistry : public RegistryAccess {
public:
    bool KeyExists(const std::string& key) override;
    bool SubKeys(const std::string& key, std::vector<std::string>& names) override;
    bool Values(const std::string& key, std::vector<RegValue>& values) override;
    bool CreateKey(const std::string& key) override;
    bool SetValue(const std::string& key, const RegValue& value) override;
    bool DeleteValue(const std::string& key, const std::string& name) override;
    // Refuses keys fewer than three levels below their root: no finding is one, and a slip
    // there would cost a whole branch of the registry.
    bool DeleteTree(const std::string& key) override;
};

}  // namespace hm::regclean
