#include "config/ini_rules.h"

#include "platform/path_rules.h"

namespace hm {
namespace {

std::string_view BeforeNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// Bytes taken by the UTF-8 sequence that starts with this byte. Bytes that cannot start a
// sequence count alone so that malformed text is still cut somewhere sensible.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        return 4;
    }
    return 1;
}

}  // namespace

std::string FirstUtf16Units(std::string_view utf8, std::size_t units) {
    std::size_t pos = 0;
    std::size_t used = 0;
    while (pos < utf8.size()) {
        std::size_t length = SequenceLength(static_cast<unsigned char>(utf8[pos]));
        if (pos + length > utf8.size()) {
            length = 1;
        }
        // Characters beyond the Basic Multilingual Plane take a surrogate pair.
        const std::size_t cost = length == 4 ? 2 : 1;
        if (used + cost > units) {
            break;
        }
        used += cost;
        pos += length;
    }
    return std::string(utf8.substr(0, pos));
}

std::string IniValueAsRead(std::string_view raw) {
    const std::string cut = FirstUtf16Units(BeforeNul(raw), kIniReadLimit);
    return std::string(TrimBlanks(cut));
}

std::string IniValueAsWritten(std::string_view value) {
    return FirstUtf16Units(BeforeNul(value), kIniWriteLimit);
}

std::vector<std::string> SplitSectionBuffer(std::string_view buffer) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < buffer.size()) {
        std::size_t end = buffer.find('\0', start);
        if (end == std::string_view::npos) {
            end = buffer.size();
        }
        if (end == start) {
            break;
        }
        lines.emplace_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace hm
