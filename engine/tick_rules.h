// Whether a settings value ticks an item.
#pragma once

#include <string_view>

#include "engine/catalogue.h"

namespace hm {

// ExactOne: the (already trimmed) value is exactly "1".
// NumberOne: the value reads as the number 1; empty, missing and non-numeric values do not
// tick, so a fresh install that never saved its settings erases nothing of these items.
bool IsTicked(TickRule rule, std::string_view value);

// The leading character of an Internet Explorer version text as a number: "9.11" gives 9,
// "6.0" gives 6, empty or non-digit text gives 0.
int MajorVersionDigit(std::string_view versionText);

}  // namespace hm
