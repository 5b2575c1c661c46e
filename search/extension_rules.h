// Text rules of the extension list "Ext.txt": which lines are patterns, the pattern text the
// search window uses, the default list and the text left when entries are removed. The file
// routines (extention_handller.h) and the fuzzer share them.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace hm::search {

inline constexpr const char* kExtensionListName = "Ext.txt";
inline constexpr std::array<std::string_view, 4> kDefaultExtensions = {"*.tmp", "*.gid", "*.swp",
                                                                       "*.chk"};
// What "&Add" shows in its box, and puts back after each try.
inline constexpr const char* kNewExtensionText = "*.";

// "*." followed by at least one more character.
bool IsValidExtension(std::string_view text);

// The file's lines; a line ends at CR LF, or at a lone LF or CR from another editor.
std::vector<std::string> ExtensionLines(std::string_view fileText);

// The valid lines in file order.
std::vector<std::string> ValidExtensionLines(std::string_view fileText);

// The valid lines joined by ";"; empty when there are none.
std::string PatternTextOf(std::string_view fileText);

// The four default lines, each ended by CR LF.
std::string DefaultExtensionsText();

// The file after "&Remove": every line that equals the selected text (letter case counts) is
// gone, duplicates included; the others stay in order, each ended by CR LF.
std::string WithoutExtension(std::string_view fileText, std::string_view selected);

// The file after "&Add" appended the entry as one line. A last line without its end gets one
// first, so the new entry never joins it.
std::string WithExtensionAppended(std::string_view fileText, std::string_view entry);

}  // namespace hm::search
