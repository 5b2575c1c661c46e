#include "engine/office_rules.h"

#include <array>
#include <utility>

namespace hm {

std::string OfficeVersionNumber(std::string_view generation) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kNumbers{{
        {"Office97", "8.0"},
        {"Office2000", "9.0"},
        {"Office2002", "10.0"},
        {"Office2003", "11.0"},
        {"Office2007", "12.0"},
        {"Office2010", "14.0"},
    }};
    for (const auto& [name, number] : kNumbers) {
        if (generation == name) {
            return std::string(number);
        }
    }
    return {};
}

}  // namespace hm
