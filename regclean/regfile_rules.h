// The registry export format that Registry Editor reads and writes ("Windows Registry Editor
// Version 5.00", UTF-16 little-endian with a byte-order mark): the cleaner's backups. Every value
// is written so that reading the file back gives its type and data byte for byte: text in quotes
// only where that is exact, hex lists otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hm::regclean {

// Registry value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

struct RegValue {
    std::string name;  // UTF-8; empty for the key's default value
    std::uint32_t type = kRegNone;
    std::string data;  // the raw bytes
    bool operator==(const RegValue&) const = default;
};

// One "[key]" block: the full key path ("HKEY_CURRENT_USER\Software\...") and its values.
struct RegSection {
    std::string key;
    std::vector<RegValue> values;
    bool operator==(const RegSection&) const = default;
};

// False for a key path or value name the format cannot carry: line breaks, NUL, text that is not
// UTF-8; for keys also an empty path, one ending in "\" or one starting with "-".
bool CanWriteKey(std::string_view key);
bool CanWriteName(std::string_view name);

// The whole file: byte-order mark, header, a blank line, then each section followed by a blank
// line; CR LF line ends. Empty when a key or name cannot be written.
std::string EncodeRegFile(const std::vector<RegSection>& sections);

struct RegFile {
    bool ok = false;
    std::string error;  // why the file was refused, with its line number
    std::vector<RegSection> sections;
};

// Reads a file made by EncodeRegFile or by Registry Editor's export. Refused as a whole: another
// encoding or header, a line that is neither a key, a value nor a comment, and the deletion
// forms "[-key]" and "name"=- (a backup only ever puts things back).
RegFile DecodeRegFile(std::string_view bytes);

}  // namespace hm::regclean
