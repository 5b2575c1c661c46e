#include "engine/tick_rules.h"

#include "engine/format_rules.h"

namespace hm {

bool IsTicked(TickRule rule, std::string_view value) {
    if (rule == TickRule::ExactOne) {
        return value == "1";
    }
    double number = 0;
    return ParseNumber(value, number) && number == 1;
}

int MajorVersionDigit(std::string_view versionText) {
    if (versionText.empty() || versionText[0] < '0' || versionText[0] > '9') {
        return 0;
    }
    return versionText[0] - '0';
}

}  // namespace hm
