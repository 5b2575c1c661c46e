#include "search/search_rules.h"

namespace hm::search {
namespace {

// One code point from UTF-8; an invalid byte comes back as itself with length 1 and valid false.
struct Decoded {
    char32_t code = 0;
    std::size_t length = 1;
    bool valid = false;
};

Decoded Decode(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    Decoded out{lead, 1, lead < 0x80};
    if (lead < 0xC2 || lead > 0xF4) {
        return out;
    }
    const std::size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    if (at + extra >= text.size()) {
        return out;
    }
    char32_t code = lead & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) {
            return out;
        }
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (code < least[extra] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        return out;
    }
    return {code, extra + 1, true};
}

void Encode(char32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

char32_t Upper(char32_t c) {
    if (c >= U'a' && c <= U'z') {
        return c - 0x20;
    }
    if (c < 0xE0) {
        return c;
    }
    if (c <= 0xFE) {
        return c == 0xF7 ? c : c - 0x20;  // U+00F7 is the division sign
    }
    if (c == 0xFF) {
        return 0x178;
    }
    // Latin Extended-A pairs: upper case on the even code point in two runs, on the odd one in
    // the other two. The dotless i (U+0131) is no pair of the dotted capital I (U+0130).
    if (c == 0x130 || c == 0x131) {
        return c;
    }
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return c & ~char32_t{1};
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return (c & 1) == 0 ? c - 1 : c;
    }
    if (c == 0x3C2) {
        return 0x3A3;  // final sigma
    }
    if ((c >= 0x3B1 && c <= 0x3C1) || (c >= 0x3C3 && c <= 0x3CB)) {
        return c - 0x20;
    }
    if (c == 0x3AC) {
        return 0x386;
    }
    if (c >= 0x3AD && c <= 0x3AF) {
        return c - 0x25;
    }
    if (c == 0x3CC) {
        return 0x38C;
    }
    if (c == 0x3CD || c == 0x3CE) {
        return c - 0x3F;
    }
    if (c >= 0x430 && c <= 0x44F) {
        return c - 0x20;
    }
    if (c >= 0x450 && c <= 0x45F) {
        return c - 0x50;
    }
    if (c >= 0x460 && c <= 0x481) {
        return c & ~char32_t{1};
    }
    return c;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

std::string UpperCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const unsigned char lead = static_cast<unsigned char>(utf8[at]);
        if (lead < 0x80) {
            out += static_cast<char>(lead >= 'a' && lead <= 'z' ? lead - 0x20 : lead);
            ++at;
            continue;
        }
        const Decoded decoded = Decode(utf8, at);
        if (decoded.valid) {
            Encode(Upper(decoded.code), out);
        } else {
            out += utf8[at];
        }
        at += decoded.length;
    }
    return out;
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const Decoded decoded = Decode(utf8, at);
        units += decoded.valid && decoded.code >= 0x10000 ? 2 : 1;
        at += decoded.length;
    }
    return units;
}

NamePattern ParsePattern(std::string_view piece) {
    NamePattern pattern;
    std::string_view text = piece;
    // One star at each end; checking the end only after the front star is gone keeps "*x" the
    // pattern x with a leading star instead of turning it into the empty pattern.
    if (!text.empty() && text.front() == '*') {
        pattern.leadingStar = true;
        text.remove_prefix(1);
    }
    if (!text.empty() && text.back() == '*') {
        pattern.trailingStar = true;
        text.remove_suffix(1);
    }
    pattern.text = std::string(text);
    pattern.upper = UpperCase(text);
    pattern.length = Utf16Length(text);
    return pattern;
}

std::vector<NamePattern> ParsePatterns(std::string_view patternText) {
    std::vector<NamePattern> patterns;
    std::size_t start = 0;
    for (;;) {
        const std::size_t semicolon = patternText.find(';', start);
        patterns.push_back(ParsePattern(patternText.substr(start, semicolon - start)));
        if (semicolon == std::string_view::npos) {
            return patterns;
        }
        start = semicolon + 1;
    }
}

bool WildcardFinds(const NamePattern& pattern, std::string_view upperName, std::size_t nameLength) {
    if (pattern.IsExactName() || nameLength <= pattern.length) {
        return false;
    }
    if (pattern.leadingStar && pattern.trailingStar) {
        return upperName.find(pattern.upper) != std::string_view::npos;
    }
    if (pattern.leadingStar) {
        return EndsWith(upperName, pattern.upper);
    }
    return upperName.substr(0, pattern.upper.size()) == pattern.upper;
}

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

bool IsExcludedPath(std::string_view fullPath) {
    return fullPath.find("Recycled") != std::string_view::npos ||
           UpperCase(fullPath).find("WIN386.SWP") != std::string::npos;
}

std::string AddBackslash(std::string_view path) {
    std::string out(path);
    if (out.empty() || out.back() != '\\') {
        out += '\\';
    }
    return out;
}

std::string WildcardEntry(std::string_view path, std::uint64_t size, std::string_view dateText) {
    return std::string(path) + "   Size:" + std::to_string(size) +
           "   LastModyfied:" + std::string(dateText);
}

std::string KilobyteText(std::uint64_t bytes) {
    std::string text = std::to_string(bytes / 1000);
    std::uint64_t fraction = bytes % 1000;
    if (fraction == 0) {
        return text;
    }
    std::string digits = std::to_string(fraction + 1000).substr(1);
    while (digits.back() == '0') {
        digits.pop_back();
    }
    return text + "." + digits;
}

PatternSet::PatternSet(std::string_view patternText)
    : patterns_(ParsePatterns(patternText)),
      counts_(patterns_.size(), 0),
      exactFound_(patterns_.size(), false) {}

bool PatternSet::ScanFolder(std::string_view folder, std::span<const std::string> names,
                            const std::function<void(const Hit&)>& onHit,
                            const std::function<bool()>& stopRequested) {
    std::vector<std::string> uppers;
    std::vector<std::size_t> lengths;
    uppers.reserve(names.size());
    lengths.reserve(names.size());
    for (const std::string& name : names) {
        uppers.push_back(UpperCase(name));
        lengths.push_back(Utf16Length(name));
    }
    const std::string base(folder);
    // An exact name is looked up once per folder, when the first file reaches its pattern.
    std::vector<bool> lookedUp(patterns_.size(), false);
    for (std::size_t file = 0; file < names.size(); ++file) {
        bool found = false;
        for (std::size_t index = 0; index < patterns_.size() && !found; ++index) {
            const NamePattern& pattern = patterns_[index];
            if (pattern.IsExactName()) {
                if (exactFound_[index] || lookedUp[index] || !IsPlainFileName(pattern.text)) {
                    continue;
                }
                lookedUp[index] = true;
                for (std::size_t other = 0; other < names.size(); ++other) {
                    if (uppers[other] == pattern.upper && !IsExcludedPath(base + names[other])) {
                        exactFound_[index] = true;
                        ++counts_[index];
                        onHit({index, other, true});
                        break;
                    }
                }
                continue;
            }
            // A name too short for one pattern may still suit a later, shorter one.
            if (WildcardFinds(pattern, uppers[file], lengths[file]) &&
                !IsExcludedPath(base + names[file])) {
                found = true;
                ++counts_[index];
                onHit({index, file, false});
            }
        }
        if (!found && stopRequested && stopRequested()) {
            return false;
        }
    }
    return true;
}

std::string PatternSet::Summary(std::size_t entries, std::uint64_t totalBytes) const {
    std::string perPattern;
    for (std::size_t index = 0; index < patterns_.size(); ++index) {
        perPattern += "    " + patterns_[index].text + " - " + std::to_string(counts_[index]);
    }
    return std::to_string(entries) + "  Files Found  " + perPattern +
           "\r\nTotal size: " + KilobyteText(totalBytes) + "kb";
}

}  // namespace hm::search
