// UTF-8 <-> UTF-16 for the registry data the cleaner reads and the backup files it writes, without
// Win32, so that the rules that use them build and run anywhere. Registry text is UTF-16 that
// need not be well formed; a conversion that cannot be exact reports it instead of guessing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hm::regclean {

// Nullopt when the text is not valid UTF-8.
std::optional<std::u16string> ToUtf16(std::string_view utf8);
// Nullopt when the text holds an unpaired surrogate.
std::optional<std::string> ToUtf8(std::u16string_view utf16);

// Registry data bytes (little-endian UTF-16) and back. An odd last byte is dropped by the first.
std::u16string UnitsOf(std::string_view bytes);
std::string BytesOf(std::u16string_view units);

// A string value's text as programs read it: up to the first NUL, lossy (an unpaired surrogate
// becomes U+FFFD). For judging paths only, never for writing back.
std::string StringDataText(std::string_view bytes);

}  // namespace hm::regclean
