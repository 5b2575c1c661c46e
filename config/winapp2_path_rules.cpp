// Variables, wildcards, exclusions and the safety rules of the winapp2.ini rules
// (config/winapp2_rules.h).
#include <algorithm>
#include <unordered_set>

#include "config/winapp2_rules.h"

namespace hm {
namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
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

// What a variable's name may hold: "%ProgramFiles(x86)%" and "%Temp%", not "%\x%" or "100%".
bool IsVariableName(std::string_view name) {
    if (name.empty() || name.size() > 64) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '(' || c == ')' || c == '-' || c == '.' || c == ' ';
    });
}

// The first "%name%" left in the text, or empty.
std::string FirstVariable(std::string_view text) {
    size_t open = text.find('%');
    while (open != std::string_view::npos) {
        const size_t close = text.find('%', open + 1);
        if (close == std::string_view::npos) {
            break;
        }
        if (IsVariableName(text.substr(open + 1, close - open - 1))) {
            return std::string(text.substr(open, close - open + 1));
        }
        open = close;
    }
    return {};
}

std::u32string Units(std::string_view text) {
    std::u32string units;
    units.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        // One unit per character: a lead byte with the continuation bytes after it (their bytes
        // side by side). Text that is no UTF-8 still gives units.
        const auto lead = static_cast<unsigned char>(text[at]);
        char32_t c = lead >= 'A' && lead <= 'Z' ? lead - 'A' + 'a' : lead;
        size_t length = 1;
        while (lead >= 0xC0 && length < 4 && at + length < text.size() &&
               (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80) {
            c = (c << 8) | static_cast<unsigned char>(text[at + length]);
            ++length;
        }
        units.push_back(c);
        at += length;
    }
    return units;
}

// Greedy matching with one remembered "*": linear in practice, never exponential.
bool MatchUnits(std::u32string_view pattern, std::u32string_view name) {
    size_t p = 0;
    size_t n = 0;
    size_t star = std::u32string_view::npos;
    size_t mark = 0;
    while (n < name.size()) {
        // A "*" is always a wildcard, even against a name that holds one.
        if (p < pattern.size() && pattern[p] == U'*') {
            star = p++;
            mark = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (star != std::u32string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') {
        ++p;
    }
    return p == pattern.size();
}

bool PartsMatch(const std::vector<std::string>& patterns,
                const std::vector<std::string_view>& parts, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (!Winapp2Matches(patterns[i], parts[i])) {
            return false;
        }
    }
    return true;
}

bool AnyMatches(const std::vector<std::string>& patterns, std::string_view name) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& pattern) { return Winapp2Matches(pattern, name); });
}

// Whether folder a is b or holds it (a's parts begin b's), letters compared without case.
bool SameOrAbove(std::string_view a, std::string_view b) {
    const std::vector<std::string_view> above = Winapp2PathParts(a);
    const std::vector<std::string_view> below = Winapp2PathParts(b);
    if (above.empty() || above.size() > below.size()) {
        return false;
    }
    for (size_t i = 0; i < above.size(); ++i) {
        if (!EqualNoCase(above[i], below[i])) {
            return false;
        }
    }
    return true;
}

bool ActsWidely(const Winapp2FileKey& key) {
    return key.recurse || key.removeSelf ||
           std::any_of(key.patterns.begin(), key.patterns.end(),
                       [](const std::string& pattern) { return SelectsEverything(pattern); });
}

std::string HowWidely(const Winapp2FileKey& key) {
    if (key.removeSelf) {
        return "with REMOVESELF";
    }
    if (key.recurse) {
        return "with RECURSE";
    }
    return "with a pattern that selects every file";
}

// Where a wide key may not go: the folder's own words for it (shown as given), or empty.
std::string ProtectedWhy(std::string_view folder, const std::vector<std::string>& protectedFolders,
                         std::string_view shown) {
    const std::string text(shown.empty() ? folder : shown);
    const size_t depth = Winapp2PathParts(folder).size();
    if (depth == 1) {
        return "the drive root " + text;
    }
    for (const std::string& kept : protectedFolders) {
        if (SameOrAbove(folder, kept)) {
            return depth == Winapp2PathParts(kept).size()
                       ? "the protected folder " + text
                       : text + ", which holds the protected folder " + kept;
        }
    }
    return {};
}

std::string KeyText(const Winapp2RegPath& path) {
    const char* root = "?";
    switch (path.root) {
        case kClassesRoot:
            root = "HKCR";
            break;
        case kCurrentUser:
            root = "HKCU";
            break;
        case kLocalMachine:
            root = "HKLM";
            break;
        case kUsers:
            root = "HKU";
            break;
        case kCurrentConfig:
            root = "HKCC";
            break;
        default:
            break;
    }
    return std::string(root) + "\\" + path.subKey;
}

std::vector<std::string_view> KeyParts(std::string_view subKey) {
    return Split(subKey, '\\');
}

// Sub-key a is b or holds it, without regard to case.
bool KeySameOrAbove(std::string_view a, std::string_view b) {
    const std::vector<std::string_view> above = KeyParts(a);
    const std::vector<std::string_view> below = KeyParts(b);
    if (above.size() > below.size()) {
        return false;
    }
    for (size_t i = 0; i < above.size(); ++i) {
        if (!EqualNoCase(above[i], below[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

Winapp2Expansion ExpandWinapp2Path(std::string_view path, const Winapp2Variables& variables) {
    Winapp2Expansion result;
    std::vector<std::string> forms{std::string()};
    const auto append = [&](std::string_view text) {
        for (std::string& form : forms) {
            form.append(text);
        }
    };
    size_t at = 0;
    while (at < path.size()) {
        const size_t open = path.find('%', at);
        if (open == std::string_view::npos) {
            append(path.substr(at));
            break;
        }
        append(path.substr(at, open - at));
        const size_t close = path.find('%', open + 1);
        if (close == std::string_view::npos) {
            append(path.substr(open));
            break;
        }
        const std::string_view name = path.substr(open + 1, close - open - 1);
        if (!IsVariableName(name)) {
            append("%");
            at = open + 1;
            continue;
        }
        std::vector<std::string> values;
        if (variables) {
            values = variables(Winapp2Lower(name));
        }
        values.erase(std::remove(values.begin(), values.end(), std::string()), values.end());
        if (values.empty()) {
            if (result.unexpanded.empty()) {
                result.unexpanded = std::string(path.substr(open, close - open + 1));
            }
            append(path.substr(open, close - open + 1));
        } else if (forms.size() * values.size() > kWinapp2MaxForms) {
            result.tooMany = true;
            return result;
        } else {
            std::vector<std::string> next;
            for (const std::string& form : forms) {
                for (const std::string& value : values) {
                    next.push_back(form + value);
                }
            }
            forms = std::move(next);
        }
        at = close + 1;
    }
    std::unordered_set<std::string> seen;
    for (const std::string& form : forms) {
        std::string normal = NormaliseWinapp2Path(form);
        if (seen.insert(Winapp2Lower(normal)).second) {
            result.paths.push_back(std::move(normal));
        }
    }
    return result;
}

std::string NormaliseWinapp2Path(std::string_view path) {
    std::string out;
    out.reserve(path.size() + 1);
    for (char c : path) {
        if (c == '/') {
            c = '\\';
        }
        // Runs of backslashes become one, except the two that begin a share's name: those stay
        // so that the path is seen for what it is.
        if (c == '\\' && out.size() > 1 && out.back() == '\\') {
            continue;
        }
        out += c;
    }
    while (out.size() > 1 && out.back() == '\\' && !(out.size() == 3 && out[1] == ':') &&
           out != "\\\\") {
        out.pop_back();
    }
    if (out.size() == 2 && out[1] == ':') {
        out += '\\';  // "%SystemDrive%" alone means the drive's root, not its current folder
    }
    return out;
}

std::string Winapp2PathRefusal(std::string_view path) {
    const std::string quoted = "\"" + std::string(path) + "\"";
    const std::string variable = FirstVariable(path);
    if (!variable.empty()) {
        return quoted + " holds the unexpanded variable " + variable;
    }
    if (path.substr(0, 2) == "\\\\") {
        return quoted + " is a network path";
    }
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (path.size() < 3 || !letter(path[0]) || path[1] != ':' || path[2] != '\\') {
        return quoted + " is not a full path";
    }
    for (size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || (c == ':' && i != 1)) {
            return quoted + " holds a character no path may hold";
        }
    }
    const std::vector<std::string_view> parts = Winapp2PathParts(path);
    for (size_t i = 1; i < parts.size(); ++i) {
        if (parts[i] == "." || parts[i] == "..") {
            return quoted + " holds a \".\" or \"..\" part";
        }
        if (parts[i].back() == '.' || parts[i].back() == ' ') {
            return quoted + " has a part ending in a dot or blank";
        }
    }
    return {};
}

bool Winapp2Matches(std::string_view pattern, std::string_view name) {
    const std::u32string p = Units(pattern);
    const std::u32string n = Units(name);
    if (MatchUnits(p, n)) {
        return true;
    }
    return p.size() >= 2 && p[p.size() - 2] == U'.' && p.back() == U'*' &&
           MatchUnits(std::u32string_view(p).substr(0, p.size() - 2), n);
}

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

bool SelectsEverything(std::string_view pattern) {
    return pattern.find('*') != std::string_view::npos &&
           pattern.find_first_not_of("*?.") == std::string_view::npos;
}

std::vector<std::string_view> Winapp2PathParts(std::string_view path) {
    std::vector<std::string_view> parts;
    for (const std::string_view part : Split(path, '\\')) {
        if (!part.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

std::string FileKeyFolderRefusal(const Winapp2FileKey& key, std::string_view folder,
                                 const std::vector<std::string>& protectedFolders,
                                 std::string_view shown) {
    if (!ActsWidely(key)) {
        return {};
    }
    const std::string why = ProtectedWhy(folder, protectedFolders, shown);
    return why.empty() ? why : key.key + " reaches " + why + " " + HowWidely(key);
}

std::string FileKeyWildcardRefusal(const Winapp2FileKey& key, std::string_view path,
                                   const std::vector<std::string>& protectedFolders,
                                   std::string_view shown) {
    if (!ActsWidely(key)) {
        return {};
    }
    const std::vector<std::string_view> parts = Winapp2PathParts(path);
    size_t first = 0;
    while (first < parts.size() && !HasWildcard(parts[first])) {
        ++first;
    }
    if (first == 0 || first == parts.size()) {
        return {};
    }
    for (size_t i = first; i < parts.size(); ++i) {
        if (!HasWildcard(parts[i])) {
            return {};  // a named folder further down narrows what the wildcards reach
        }
    }
    const auto prefixOf = [first](std::string_view text) {
        const std::vector<std::string_view> textParts = Winapp2PathParts(text);
        std::string prefix;
        for (size_t i = 0; i < first && i < textParts.size(); ++i) {
            prefix += std::string(textParts[i]) + "\\";
        }
        return NormaliseWinapp2Path(prefix);
    };
    const std::string why =
        ProtectedWhy(prefixOf(path), protectedFolders, shown.empty() ? "" : prefixOf(shown));
    return why.empty()
               ? why
               : key.key + " picks folders by wildcard right inside " + why + " " + HowWidely(key);
}

std::string RegKeyRefusal(const Winapp2RegKey& key) {
    if (key.value) {
        return {};
    }
    std::vector<std::string_view> parts = KeyParts(key.path.subKey);
    const size_t shallow = key.path.root == kUsers ? 2 : 1;  // below HKU, each user's own root
    if (parts.size() <= shallow) {
        return key.key + " would remove " + KeyText(key.path) + ", right below the root";
    }
    std::string below(key.path.subKey);
    if (key.path.root == kUsers) {
        below = below.substr(below.find('\\') + 1);
    }
    if (key.path.root == kLocalMachine && EqualNoCase(parts[0], "SYSTEM")) {
        return key.key + " would remove " + KeyText(key.path) +
               ", part of the system's own settings";
    }
    static constexpr const char* kSystemKeys[] = {
        "Software\\Microsoft\\Windows\\CurrentVersion",
        "Software\\Microsoft\\Windows NT\\CurrentVersion",
        "Software\\Classes",
        "Software\\Policies",
        "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion",
        "Software\\Wow6432Node\\Classes",
    };
    for (const char* system : kSystemKeys) {
        if (KeySameOrAbove(below, system)) {
            return key.key + " would remove " + KeyText(key.path) +
                   ", which Windows or every program needs";
        }
    }
    return {};
}

Winapp2FileExclusion MakeFileExclusion(const Winapp2Exclude& exclude, std::string_view folder) {
    Winapp2FileExclusion exclusion;
    exclusion.below = exclude.kind == Winapp2ExcludeKind::Path;
    const std::string lower = Winapp2Lower(folder);
    for (const std::string_view part : Winapp2PathParts(lower)) {
        exclusion.folder.emplace_back(part);
    }
    for (const std::string& pattern : exclude.patterns) {
        exclusion.patterns.push_back(Winapp2Lower(pattern));
    }
    return exclusion;
}

bool IsFileExcluded(const std::vector<Winapp2FileExclusion>& exclusions, std::string_view path) {
    const std::vector<std::string_view> parts = Winapp2PathParts(path);
    if (parts.size() < 2) {
        return false;
    }
    const size_t folderParts = parts.size() - 1;
    for (const Winapp2FileExclusion& exclusion : exclusions) {
        const size_t needed = exclusion.folder.size();
        const bool placed = exclusion.below ? folderParts >= needed : folderParts == needed;
        if (placed && PartsMatch(exclusion.folder, parts, needed) &&
            (exclusion.patterns.empty() || AnyMatches(exclusion.patterns, parts.back()))) {
            return true;
        }
    }
    return false;
}

bool IsFolderExcluded(const std::vector<Winapp2FileExclusion>& exclusions,
                      std::string_view folder) {
    const std::vector<std::string_view> parts = Winapp2PathParts(folder);
    return std::any_of(exclusions.begin(), exclusions.end(), [&](const Winapp2FileExclusion& e) {
        return e.below && parts.size() >= e.folder.size() &&
               PartsMatch(e.folder, parts, e.folder.size());
    });
}

bool IsRegExcluded(const std::vector<Winapp2Exclude>& exclusions, RootKey root,
                   std::string_view subKey, const std::string* value) {
    return std::any_of(exclusions.begin(), exclusions.end(), [&](const Winapp2Exclude& e) {
        if (e.kind != Winapp2ExcludeKind::Reg || e.reg.root != root) {
            return false;
        }
        if (!e.value) {
            return KeySameOrAbove(e.reg.subKey, subKey);
        }
        return value != nullptr && EqualNoCase(e.reg.subKey, subKey) &&
               EqualNoCase(*e.value, *value);
    });
}

bool HoldsRegExclusion(const std::vector<Winapp2Exclude>& exclusions, RootKey root,
                       std::string_view subKey) {
    return std::any_of(exclusions.begin(), exclusions.end(), [&](const Winapp2Exclude& e) {
        return e.kind == Winapp2ExcludeKind::Reg && e.reg.root == root &&
               KeySameOrAbove(subKey, e.reg.subKey);
    });
}

}  // namespace hm
