// The texts of the file shredder, shared by its window and "hushmark-cli shred": numbers, the
// reasons a file stays, the confirmation, and the number of passes a user may ask for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hm::shred {

// 1073741824 -> "1,073,741,824"
std::string GroupedNumber(std::uint64_t value);

// "1 file" / "2 files"; the noun's plural adds an "s".
std::string Counted(std::uint64_t count, std::string_view noun);

// Why an item stays, from the Win32 error code its removal ended with ("in use by another
// program", "access denied", ...); "shredded" for 0.
std::string ReasonText(std::uint32_t error);

// True for the errors that mean another program holds the item.
bool IsInUse(std::uint32_t error);

// The one question asked before anything is destroyed.
std::string ConfirmationText(std::uint64_t files, std::uint64_t bytes, std::uint64_t links,
                             int passes);

// "one pass of random data" / "3 passes of random data"
std::string MethodText(int passes);

// The number of passes a user may ask for (1 to 3), from its text; nothing for anything else.
std::optional<int> ParsePasses(std::string_view text);

}  // namespace hm::shred
