// The text rules of the profile-file routines that need no platform call: the length limits of
// settings values and the walk over a section buffer. Text is UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hm {

// A read sees at most this many characters: the program's read buffer holds 128 characters
// including the terminating NUL.
inline constexpr std::size_t kIniReadLimit = 127;
// A write stores at most this many characters.
inline constexpr std::size_t kIniWriteLimit = 128;

// The longest prefix of the text that holds at most `units` UTF-16 code units, the unit in which
// the Windows buffers count characters. A character that would not fit whole is left out.
std::string FirstUtf16Units(std::string_view utf8, std::size_t units);

// A value as ReadIniValue returns it from what the system handed back: cut before its first NUL,
// cut to kIniReadLimit characters, then blanks trimmed at both ends.
std::string IniValueAsRead(std::string_view raw);

// A value as WriteIniValue hands it to the system: cut before its first NUL (the system reads
// no further) and cut to kIniWriteLimit characters.
std::string IniValueAsWritten(std::string_view value);

// The lines of a section buffer: each line ends with a NUL and an empty line ends the list. A
// final line without its NUL still counts.
std::vector<std::string> SplitSectionBuffer(std::string_view buffer);

}  // namespace hm
