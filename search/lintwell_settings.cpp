#include "search/lintwell_settings.h"

#include "platform/registry.h"

namespace hm::search {

std::string LintwellSettings::SectionKey(std::string_view section) const {
    return subKey_ + "\\" + std::string(section);
}

bool LintwellSettings::Has(std::string_view section, std::string_view key) const {
    RegKey opened;
    return opened.Open(HKEY_CURRENT_USER, SectionKey(section), KEY_READ) == ERROR_SUCCESS &&
           opened.HasValue(key);
}

std::string LintwellSettings::Get(std::string_view section, std::string_view key,
                                  std::string_view fallback) const {
    // "error" is also what a read failure gives, so the value's presence is asked first.
    if (!Has(section, key)) {
        return std::string(fallback);
    }
    std::uint32_t type = 0;
    const std::string text =
        Regfun::QueryRegValue(kCurrentUser, SectionKey(section), std::string(key), type);
    return type == REG_SZ || type == REG_EXPAND_SZ ? text : std::string(fallback);
}

void LintwellSettings::Save(std::string_view section, std::string_view key,
                            std::string_view value) const {
    RegKey opened;
    if (opened.Create(HKEY_CURRENT_USER, SectionKey(section), KEY_SET_VALUE) == ERROR_SUCCESS) {
        opened.SetString(key, value);
    }
}

}  // namespace hm::search
