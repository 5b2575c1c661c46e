#include "config/winapp2_rules.h"

#include <algorithm>
#include <unordered_set>

namespace hm {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The length of the well-formed UTF-8 sequence at the position, 0 when there is none; c receives
// the code point.
size_t Utf8Sequence(std::string_view text, size_t at, char32_t& c) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    size_t length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return 0;
    }
    return length;
}

std::string FromUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? static_cast<char32_t>(a << 8 | b) : static_cast<char32_t>(b << 8 | a);
    };
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            out += kReplacement;
        } else {
            AppendUtf8(out, c);
        }
    }
    if (i < bytes.size()) {
        out += kReplacement;
    }
    return out;
}

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        fields.push_back(text.substr(start, at == std::string_view::npos ? text.npos : at - start));
        if (at == std::string_view::npos) {
            return fields;
        }
        start = at + 1;
    }
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class KeyKind {
    Unknown,
    LangSecRef,
    Section,
    Default,
    Warning,
    Detect,
    DetectFile,
    FileKey,
    RegKey,
    ExcludeKey
};

KeyKind Classify(std::string_view key) {
    size_t digits = key.size();
    while (digits > 0 && IsDigit(key[digits - 1])) {
        --digits;
    }
    const std::string prefix = Winapp2Lower(key.substr(0, digits));
    const bool numbered = digits < key.size();
    if (prefix == "detect") {
        return KeyKind::Detect;
    }
    if (prefix == "detectfile") {
        return KeyKind::DetectFile;
    }
    if (numbered) {
        if (prefix == "filekey") {
            return KeyKind::FileKey;
        }
        if (prefix == "regkey") {
            return KeyKind::RegKey;
        }
        if (prefix == "excludekey") {
            return KeyKind::ExcludeKey;
        }
        return KeyKind::Unknown;
    }
    if (prefix == "langsecref") {
        return KeyKind::LangSecRef;
    }
    if (prefix == "section") {
        return KeyKind::Section;
    }
    if (prefix == "default") {
        return KeyKind::Default;
    }
    if (prefix == "warning") {
        return KeyKind::Warning;
    }
    return KeyKind::Unknown;
}

// Patterns split at ";": none may be empty-handed or name a folder.
std::string ReadPatterns(std::string_view text, std::vector<std::string>& patterns) {
    for (const std::string_view part : Split(text, ';')) {
        const std::string_view pattern = Trim(part);
        if (pattern.empty()) {
            continue;
        }
        if (pattern.find_first_of("\\/:") != std::string_view::npos) {
            return "has a pattern that names a folder (" + std::string(pattern) + ")";
        }
        patterns.emplace_back(pattern);
    }
    return {};
}

std::string ReadFileKey(std::string_view value, Winapp2FileKey& key) {
    const std::vector<std::string_view> fields = Split(value, '|');
    key.folder = std::string(Trim(fields[0]));
    if (key.folder.empty()) {
        return "names no folder";
    }
    if (fields.size() < 2) {
        return "has no pattern";
    }
    std::string problem = ReadPatterns(fields[1], key.patterns);
    if (!problem.empty()) {
        return problem;
    }
    if (key.patterns.empty()) {
        return "has no pattern";
    }
    for (size_t i = 2; i < fields.size(); ++i) {
        const std::string_view flag = Trim(fields[i]);
        if (EqualNoCase(flag, "RECURSE")) {
            key.recurse = true;
        } else if (EqualNoCase(flag, "REMOVESELF")) {
            key.removeSelf = true;
            key.recurse = true;
        } else if (!flag.empty()) {
            // A flag of unknown meaning might widen what the author meant to remove.
            return "has the unknown flag \"" + std::string(flag) + "\"";
        }
    }
    return {};
}

std::string ReadRegKey(std::string_view value, Winapp2RegKey& key) {
    const size_t bar = value.find('|');
    const std::optional<Winapp2RegPath> path = ParseWinapp2Key(value.substr(0, bar));
    if (!path) {
        return "names no registry key this program knows";
    }
    key.path = *path;
    if (bar != std::string_view::npos) {
        const std::string_view name = Trim(value.substr(bar + 1));
        if (!name.empty()) {
            key.value = std::string(name);
        }
    }
    return {};
}

std::string ReadExclude(std::string_view value, Winapp2Exclude& exclude) {
    const size_t bar = value.find('|');
    const std::string_view kind = Trim(value.substr(0, bar));
    const std::string_view rest =
        bar == std::string_view::npos ? std::string_view{} : value.substr(bar + 1);
    if (EqualNoCase(kind, "REG")) {
        exclude.kind = Winapp2ExcludeKind::Reg;
        Winapp2RegKey reg;
        if (!ReadRegKey(rest, reg).empty()) {
            return "names no registry key this program knows";
        }
        exclude.reg = reg.path;
        exclude.value = reg.value;
        return {};
    }
    if (!EqualNoCase(kind, "FILE") && !EqualNoCase(kind, "PATH")) {
        return "is neither FILE, PATH nor REG";
    }
    exclude.kind = EqualNoCase(kind, "FILE") ? Winapp2ExcludeKind::File : Winapp2ExcludeKind::Path;
    const size_t second = rest.find('|');
    exclude.folder = std::string(Trim(rest.substr(0, second)));
    if (exclude.folder.empty()) {
        return "names no folder";
    }
    if (second != std::string_view::npos) {
        std::string problem = ReadPatterns(rest.substr(second + 1), exclude.patterns);
        if (!problem.empty()) {
            return problem;
        }
    }
    if (exclude.kind == Winapp2ExcludeKind::File && exclude.patterns.empty()) {
        // "FILE|folder\name": the last part is the file.
        const std::string folder = NormaliseWinapp2Path(exclude.folder);
        const size_t slash = folder.rfind('\\');
        if (slash == std::string::npos || slash + 1 >= folder.size()) {
            return "names no file";
        }
        exclude.patterns.push_back(folder.substr(slash + 1));
        exclude.folder = folder.substr(0, slash);
    }
    return {};
}

// Reads one key of a rule; false when its value cannot be read.
bool ReadKey(KeyKind kind, std::string_view key, std::string_view value, Winapp2Rule& rule) {
    const auto action = [&](std::string problem) {
        if (!problem.empty() && rule.problem.empty()) {
            rule.problem = std::string(key) + " " + problem;
        }
        return problem.empty();
    };
    switch (kind) {
        case KeyKind::LangSecRef:
            if (value.empty() || value.size() > 9 ||
                !std::all_of(value.begin(), value.end(), IsDigit)) {
                return false;
            }
            if (rule.langSecRef == 0) {
                rule.langSecRef = std::stoi(std::string(value));
            }
            return true;
        case KeyKind::Section:
            if (rule.section.empty()) {
                rule.section = std::string(value);
            }
            return true;
        case KeyKind::Default:
            rule.defaultOn = EqualNoCase(value, "True");
            return true;
        case KeyKind::Warning:
            if (rule.warning.empty()) {
                rule.warning = std::string(value);
            }
            return true;
        case KeyKind::Detect: {
            const std::optional<Winapp2RegPath> path = ParseWinapp2Key(value);
            if (!path) {
                return false;
            }
            rule.detectKeys.push_back(*path);
            return true;
        }
        case KeyKind::DetectFile:
            if (value.empty()) {
                return false;
            }
            rule.detectFiles.emplace_back(value);
            return true;
        case KeyKind::FileKey: {
            Winapp2FileKey fileKey;
            fileKey.key = std::string(key);
            if (!action(ReadFileKey(value, fileKey))) {
                return false;
            }
            rule.fileKeys.push_back(std::move(fileKey));
            return true;
        }
        case KeyKind::RegKey: {
            Winapp2RegKey regKey;
            regKey.key = std::string(key);
            if (!action(ReadRegKey(value, regKey))) {
                return false;
            }
            rule.regKeys.push_back(std::move(regKey));
            return true;
        }
        case KeyKind::ExcludeKey: {
            Winapp2Exclude exclude;
            exclude.key = std::string(key);
            if (!action(ReadExclude(value, exclude))) {
                return false;
            }
            rule.excludes.push_back(std::move(exclude));
            return true;
        }
        case KeyKind::Unknown:
            break;
    }
    return true;
}

}  // namespace

std::string Winapp2Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = LowerAscii(c);
    }
    return lower;
}

std::string Winapp2Text(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        return FromUtf16(bytes.substr(2), false);
    }
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
        return FromUtf16(bytes.substr(2), true);
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    std::string out;
    out.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size();) {
        char32_t c = 0;
        const size_t length = Utf8Sequence(bytes, at, c);
        if (length == 0) {
            out += kReplacement;
            ++at;
        } else {
            out.append(bytes.substr(at, length));
            at += length;
        }
    }
    return out;
}

std::optional<Winapp2RegPath> ParseWinapp2Key(std::string_view text) {
    text = Trim(text);
    const size_t slash = text.find('\\');
    if (slash == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view rootName = text.substr(0, slash);
    static constexpr struct {
        const char* shortName;
        const char* longName;
        RootKey root;
    } kRoots[] = {
        {"HKCU", "HKEY_CURRENT_USER", kCurrentUser},
        {"HKLM", "HKEY_LOCAL_MACHINE", kLocalMachine},
        {"HKCR", "HKEY_CLASSES_ROOT", kClassesRoot},
        {"HKU", "HKEY_USERS", kUsers},
        {"HKCC", "HKEY_CURRENT_CONFIG", kCurrentConfig},
    };
    Winapp2RegPath path;
    for (const auto& known : kRoots) {
        if (EqualNoCase(rootName, known.shortName) || EqualNoCase(rootName, known.longName)) {
            path.root = known.root;
        }
    }
    std::string_view subKey = text.substr(slash + 1);
    while (!subKey.empty() && subKey.back() == '\\') {
        subKey.remove_suffix(1);
    }
    if (path.root == 0 || subKey.empty() || subKey.find("\\\\") != std::string_view::npos ||
        subKey.front() == '\\') {
        return std::nullopt;
    }
    path.subKey = std::string(subKey);
    return path;
}

Winapp2Rules ParseWinapp2(std::string_view bytes) {
    const std::string text = Winapp2Text(bytes);
    Winapp2Rules result;
    std::unordered_set<std::string> seen;
    Winapp2Rule* rule = nullptr;
    bool skipping = false;  // inside a section that is ignored
    size_t start = 0;
    while (start <= text.size()) {
        // A lone carriage return ends a line too: no name or value may hold a line break.
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string_view line = Trim(std::string_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const size_t close = line.rfind(']');
            const std::string_view header = close == std::string_view::npos
                                                ? std::string_view{}
                                                : Trim(line.substr(1, close - 1));
            // Keys after a header that cannot be read belong to no rule: they must not fall to
            // the rule before it.
            rule = nullptr;
            skipping = true;
            if (header.empty()) {
                ++result.malformedLines;
                continue;
            }
            std::string_view name = header;
            if (name.size() >= 2 && name.substr(name.size() - 2) == " *") {
                name = Trim(name.substr(0, name.size() - 2));
            }
            if (name.empty()) {
                ++result.malformedLines;
                continue;
            }
            if (!seen.insert(Winapp2Lower(name)).second) {
                ++result.repeatedSections;
                continue;
            }
            result.rules.emplace_back();
            rule = &result.rules.back();
            rule->name = std::string(name);
            skipping = false;
            continue;
        }
        const size_t equals = line.find('=');
        if (skipping) {
            continue;
        }
        if (equals == std::string_view::npos || rule == nullptr) {
            ++result.malformedLines;
            continue;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        const KeyKind kind = Classify(key);
        if (kind == KeyKind::Unknown) {
            ++result.unknownKeys;
            continue;
        }
        if (!ReadKey(kind, key, value, *rule)) {
            ++result.malformedLines;
        }
    }
    return result;
}

std::string Winapp2GroupName(const Winapp2Rule& rule) {
    if (!rule.section.empty()) {
        return rule.section;
    }
    switch (rule.langSecRef) {
        case 0:
            return "Other";
        case 3021:
            return "Applications";
        case 3022:
            return "Internet";
        case 3023:
            return "Multimedia";
        case 3024:
            return "Utilities";
        case 3025:
            return "Windows";
        default:
            return "Group " + std::to_string(rule.langSecRef);
    }
}

bool IsStorableTickName(std::string_view name) {
    if (name.empty() || name.front() == ';' || name.front() == '[' || name != Trim(name)) {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '=' || static_cast<unsigned char>(c) < 0x20 || c == '\x7F';
    });
}

}  // namespace hm
