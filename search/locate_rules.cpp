#include "search/locate_rules.h"

#include "engine/format_rules.h"
#include "platform/path_rules.h"

namespace hm::search {

bool PromptReadsAsTrue(std::string_view stored) {
    const std::string_view trimmed = TrimBlanks(stored);
    if (AsciiLower(trimmed) == "false") {
        return false;
    }
    double number = 0;
    return !ParseNumber(trimmed, number) || number != 0;
}

bool ResetAsksFirst(std::string_view stored) {
    double number = 0;
    return !ParseNumber(stored, number) || number > 2;
}

}  // namespace hm::search
