// UTF-8 inside the program, UTF-16 at the Win32 boundary, the ANSI code page only where a file
// format demands it.
#pragma once

#include <string>
#include <string_view>

namespace hm {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// Text in the system's ANSI code page (characters it lacks become its default character).
std::string ToAnsi(std::string_view utf8);
std::string FromAnsi(std::string_view ansi);

}  // namespace hm
