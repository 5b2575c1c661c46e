#include "regclean/regfile_rules.h"

#include <optional>

#include "regclean/utf16_rules.h"

namespace hm::regclean {
namespace {

constexpr std::u16string_view kHeader = u"Windows Registry Editor Version 5.00";
constexpr std::u16string_view kLineEnd = u"\r\n";
// Registry Editor keeps hex lists within 80 columns, continuing them on lines indented by two.
constexpr std::size_t kWrapColumn = 77;

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char16_t HexDigit(unsigned value) {
    return static_cast<char16_t>(value < 10 ? u'0' + value : u'a' + (value - 10));
}

std::u16string HexNumber(std::uint32_t value, int minimumDigits) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), HexDigit(value & 0xF));
        value >>= 4;
    } while (value != 0);
    while (static_cast<int>(digits.size()) < minimumDigits) {
        digits.insert(digits.begin(), u'0');
    }
    return digits;
}

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

std::optional<std::uint32_t> ParseHex(std::u16string_view digits, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (char16_t c : digits) {
        const int digit = HexValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::u16string Quoted(std::u16string_view text) {
    std::u16string out = u"\"";
    for (char16_t c : text) {
        if (c == u'\\' || c == u'"') {
            out.push_back(u'\\');
        }
        out.push_back(c);
    }
    out.push_back(u'"');
    return out;
}

// A string value goes in quotes only when reading the quotes back gives the same bytes: one
// terminating NUL, no other, no control characters, no unpaired surrogates.
std::optional<std::u16string> PlainText(std::string_view data) {
    if (data.size() < 2 || data.size() % 2 != 0) {
        return std::nullopt;
    }
    std::u16string units = UnitsOf(data);
    if (units.back() != u'\0') {
        return std::nullopt;
    }
    units.pop_back();
    for (char16_t c : units) {
        if (c < 0x20) {
            return std::nullopt;
        }
    }
    if (!ToUtf8(units)) {
        return std::nullopt;
    }
    return units;
}

void AppendHexList(std::u16string& out, std::u16string prefix, std::string_view data) {
    std::size_t column = prefix.size();
    out += prefix;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const unsigned byte = static_cast<unsigned char>(data[i]);
        std::u16string piece{HexDigit(byte >> 4), HexDigit(byte & 0xF)};
        if (i + 1 < data.size()) {
            piece.push_back(u',');
        }
        if (i > 0 && column + piece.size() > kWrapColumn) {
            out += u"\\";
            out += kLineEnd;
            out += u"  ";
            column = 2;
        }
        out += piece;
        column += piece.size();
    }
}

void AppendValue(std::u16string& out, const RegValue& value) {
    std::u16string line = value.name.empty() ? u"@" : Quoted(*ToUtf16(value.name));
    line += u"=";
    const std::optional<std::u16string> text =
        value.type == kRegSz ? PlainText(value.data) : std::nullopt;
    if (text) {
        out += line + Quoted(*text);
    } else if (value.type == kRegDword && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) {
            number =
                (number << 8) | static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
        }
        out += line + u"dword:" + HexNumber(number, 8);
    } else if (value.type == kRegBinary) {
        AppendHexList(out, line + u"hex:", value.data);
    } else {
        AppendHexList(out, line + u"hex(" + HexNumber(value.type, 1) + u"):", value.data);
    }
    out += kLineEnd;
}

bool WritableText(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos &&
           ToUtf16(text).has_value();
}

// Reads a quoted text starting at text[pos] == '"'; pos ends after the closing quote.
std::optional<std::u16string> ReadQuoted(std::u16string_view text, std::size_t& pos) {
    std::u16string out;
    for (++pos; pos < text.size(); ++pos) {
        const char16_t c = text[pos];
        if (c == u'"') {
            ++pos;
            return out;
        }
        if (c == u'\\') {
            if (pos + 1 >= text.size() || (text[pos + 1] != u'\\' && text[pos + 1] != u'"')) {
                return std::nullopt;
            }
            ++pos;
        }
        out.push_back(text[pos]);
    }
    return std::nullopt;
}

class Reader {
public:
    explicit Reader(std::u16string units) : units_(std::move(units)) {}

    RegFile Read() {
        RegFile file;
        bool header = false;
        std::u16string line;
        while (NextLine(line)) {
            const std::u16string_view trimmed = Trim(line);
            if (!header) {
                if (trimmed.empty()) {
                    continue;
                }
                if (trimmed != kHeader) {
                    return Fail("the first line is not \"Windows Registry Editor Version 5.00\"");
                }
                header = true;
            } else if (trimmed.empty() || trimmed.front() == u';') {
                continue;
            } else if (trimmed.front() == u'[') {
                if (trimmed.back() != u']' || trimmed.size() < 3 || trimmed[1] == u'-') {
                    return Fail("a key line must be [key]; removing keys is not supported");
                }
                const std::optional<std::string> key =
                    ToUtf8(trimmed.substr(1, trimmed.size() - 2));
                if (!key || !CanWriteKey(*key)) {
                    return Fail("the key name cannot be read");
                }
                file.sections.push_back(RegSection{*key, {}});
            } else if (trimmed.front() == u'"' || trimmed.front() == u'@') {
                if (file.sections.empty()) {
                    return Fail("a value comes before any key");
                }
                std::optional<RegValue> value = ReadValue(trimmed);
                if (!value) {
                    return Fail(problem_);
                }
                file.sections.back().values.push_back(std::move(*value));
            } else {
                return Fail("the line is neither a key nor a value");
            }
        }
        if (!header) {
            return Fail("the file is empty");
        }
        file.ok = true;
        return file;
    }

private:
    bool NextLine(std::u16string& line) {
        if (pos_ >= units_.size()) {
            return false;
        }
        const std::size_t end = units_.find_first_of(u"\r\n", pos_);
        line = units_.substr(pos_, end == std::u16string::npos ? std::u16string::npos : end - pos_);
        pos_ = end == std::u16string::npos ? units_.size() : end + 1;
        if (end != std::u16string::npos && units_[end] == u'\r' && pos_ < units_.size() &&
            units_[pos_] == u'\n') {
            ++pos_;
        }
        ++lineNumber_;
        return true;
    }

    RegFile Fail(const std::string& why) {
        RegFile file;
        file.error = "line " + std::to_string(lineNumber_) + ": " + why;
        return file;
    }

    std::optional<RegValue> Problem(const char* why) {
        problem_ = why;
        return std::nullopt;
    }

    std::optional<RegValue> ReadValue(std::u16string_view line) {
        RegValue value;
        std::size_t pos = 0;
        if (line.front() == u'@') {
            pos = 1;
        } else {
            const std::optional<std::u16string> name = ReadQuoted(line, pos);
            const std::optional<std::string> utf8 = name ? ToUtf8(*name) : std::nullopt;
            if (!utf8 || utf8->empty() || !CanWriteName(*utf8)) {
                return Problem("the value name cannot be read");
            }
            value.name = *utf8;
        }
        const std::u16string_view rest = Trim(line.substr(pos));
        if (rest.empty() || rest.front() != u'=') {
            return Problem("a value name must be followed by =");
        }
        const std::u16string_view data = Trim(rest.substr(1));
        if (!data.empty() && data.front() == u'"') {
            std::size_t at = 0;
            const std::optional<std::u16string> text = ReadQuoted(data, at);
            if (!text || !Trim(data.substr(at)).empty()) {
                return Problem("the quoted data is not closed");
            }
            value.type = kRegSz;
            value.data = BytesOf(*text + u'\0');
            return value;
        }
        const std::u16string lower = Lowered(data.substr(0, 16));
        if (lower.rfind(u"dword:", 0) == 0) {
            const std::optional<std::uint32_t> number = ParseHex(data.substr(6), 8);
            if (!number) {
                return Problem("a dword needs one to eight hex digits");
            }
            value.type = kRegDword;
            for (int i = 0; i < 4; ++i) {
                value.data.push_back(static_cast<char>((*number >> (8 * i)) & 0xFF));
            }
            return value;
        }
        std::size_t listStart = 0;
        if (lower.rfind(u"hex:", 0) == 0) {
            value.type = kRegBinary;
            listStart = 4;
        } else if (lower.rfind(u"hex(", 0) == 0) {
            const std::size_t close = data.find(u"):");
            const std::optional<std::uint32_t> type = close == std::u16string_view::npos
                                                          ? std::nullopt
                                                          : ParseHex(data.substr(4, close - 4), 8);
            if (!type) {
                return Problem("hex( must hold the type in hex and end with ):");
            }
            value.type = *type;
            listStart = close + 2;
        } else {
            return Problem("the data is none of \"text\", dword:, hex: or hex(type):");
        }
        if (!ReadHexList(std::u16string(data.substr(listStart)), value.data)) {
            return Problem("a hex list holds something other than bytes");
        }
        return value;
    }

    // Bytes separated by commas; a line ending in "\" continues on the next.
    bool ReadHexList(std::u16string list, std::string& bytes) {
        std::u16string line;
        while (!Trim(list).empty() && Trim(list).back() == u'\\' && NextLine(line)) {
            list = std::u16string(Trim(list));
            list.pop_back();
            list += Trim(line);
        }
        const std::u16string_view all = Trim(list);
        if (all.empty()) {
            return true;
        }
        std::size_t start = 0;
        while (start <= all.size()) {
            const std::size_t comma = std::min(all.find(u',', start), all.size());
            const std::optional<std::uint32_t> byte =
                ParseHex(Trim(all.substr(start, comma - start)), 2);
            if (!byte) {
                return false;
            }
            bytes.push_back(static_cast<char>(*byte));
            start = comma + 1;
        }
        return true;
    }

    static std::u16string Lowered(std::u16string_view text) {
        std::u16string out(text);
        for (char16_t& c : out) {
            if (c >= u'A' && c <= u'Z') {
                c = static_cast<char16_t>(c - u'A' + u'a');
            }
        }
        return out;
    }

    std::u16string units_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
    std::string problem_;
};

}  // namespace

bool CanWriteKey(std::string_view key) {
    return !key.empty() && key.back() != '\\' && key.front() != '-' && WritableText(key);
}

bool CanWriteName(std::string_view name) {
    return WritableText(name);
}

std::string EncodeRegFile(const std::vector<RegSection>& sections) {
    std::u16string text(kHeader);
    text += kLineEnd;
    text += kLineEnd;
    for (const RegSection& section : sections) {
        if (!CanWriteKey(section.key)) {
            return {};
        }
        text += u"[" + *ToUtf16(section.key) + u"]";
        text += kLineEnd;
        for (const RegValue& value : section.values) {
            if (!CanWriteName(value.name)) {
                return {};
            }
            AppendValue(text, value);
        }
        text += kLineEnd;
    }
    return std::string("\xFF\xFE", 2) + BytesOf(text);
}

RegFile DecodeRegFile(std::string_view bytes) {
    if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE' || bytes.size() % 2 != 0) {
        RegFile file;
        file.error = "not a registry file in UTF-16 with a byte-order mark";
        return file;
    }
    return Reader(UnitsOf(bytes.substr(2))).Read();
}

}  // namespace hm::regclean
