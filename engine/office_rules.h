// The Office version number that the Office rows build their registry keys from.
#pragma once

#include <string>
#include <string_view>

namespace hm {

// The settings section of the Office rows. The pass asks Word for the Office generation once,
// just before the first of these rows, whether or not any of them is ticked.
inline constexpr std::string_view kOfficeSection = "OFFICE";

// "8.0" for "Office97" up to "14.0" for "Office2010"; empty for "NoOffice" and for a generation
// the rows do not know, which leaves their keys without a version part.
std::string OfficeVersionNumber(std::string_view generation);

}  // namespace hm
