// The search window's settings store: string values under
// HKEY_CURRENT_USER\Software\Hushmark\Lintwell\<section>. The tests point it at a throwaway key.
#pragma once

#include <string>
#include <string_view>

namespace hm::search {

// Below HKEY_CURRENT_USER.
inline constexpr const char* kLintwellKey = "Software\\Hushmark\\Lintwell";

class LintwellSettings {
public:
    explicit LintwellSettings(std::string subKey = kLintwellKey) : subKey_(std::move(subKey)) {}

    const std::string& subKey() const { return subKey_; }

    bool Has(std::string_view section, std::string_view key) const;
    // The stored text, or the fallback when the value is missing or cannot be read.
    std::string Get(std::string_view section, std::string_view key,
                    std::string_view fallback) const;
    // Makes the section when it is missing; a refused write goes unnoticed.
    void Save(std::string_view section, std::string_view key, std::string_view value) const;

private:
    std::string SectionKey(std::string_view section) const;
    std::string subKey_;
};

}  // namespace hm::search
