#include "engine/firefox_profiles_rules.h"

#include <algorithm>
#include <map>
#include <optional>

#include "platform/path_rules.h"

namespace hm::firefox {
namespace {

struct Section {
    std::string name;
    std::map<std::string, std::string> values;  // keys lower-cased; the first of a key wins
};

std::vector<Section> ParseIni(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::vector<Section> sections;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = TrimBlanks(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close != std::string_view::npos) {
                sections.push_back({std::string(TrimBlanks(line.substr(1, close - 1))), {}});
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || sections.empty()) {
            continue;
        }
        sections.back().values.emplace(AsciiLower(TrimBlanks(line.substr(0, equals))),
                                       std::string(TrimBlanks(line.substr(equals + 1))));
    }
    return sections;
}

std::string_view ValueOf(const Section& section, const char* key) {
    const auto found = section.values.find(key);
    return found == section.values.end() ? std::string_view() : std::string_view(found->second);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && AsciiLower(text.substr(0, prefix.size())) == prefix;
}

// "Profile" and a number: [BackgroundTasksProfiles] and the like are not profiles.
std::optional<unsigned long> ProfileNumber(std::string_view section) {
    if (!StartsWithNoCase(section, "profile") || section.size() == 7 || section.size() > 16) {
        return std::nullopt;
    }
    unsigned long number = 0;
    for (const char c : section.substr(7)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<unsigned long>(c - '0');
    }
    return number;
}

// The parts of a path joined with backslashes, or the reason it is refused. Windows drops
// trailing dots and blanks from a name, so "..." or "x." could name another folder than written.
struct Parts {
    std::string joined;
    std::string refusal;
};

Parts JoinParts(std::string_view path) {
    Parts parts;
    while (!path.empty()) {
        const std::size_t cut = path.find_first_of("\\/");
        const std::string_view part = path.substr(0, cut);
        path = cut == std::string_view::npos ? std::string_view() : path.substr(cut + 1);
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            return {{}, "climbs out of its folder"};
        }
        if (part.back() == '.' || part.back() == ' ') {
            return {{}, "a name ending with a dot or a blank"};
        }
        if (part.find_first_of(":*?\"<>|") != std::string_view::npos ||
            std::any_of(part.begin(), part.end(), [](char c) { return c >= 0 && c < 32; })) {
            return {{}, "characters no folder name holds"};
        }
        if (!parts.joined.empty()) {
            parts.joined += '\\';
        }
        parts.joined += part;
    }
    if (parts.joined.empty()) {
        parts.refusal = "no folder below the root";
    }
    return parts;
}

struct Resolved {
    std::string folder;
    std::string relativePath;
    std::string refusal;
};

Resolved Resolve(std::string_view path, bool relative, std::string_view firefoxFolder) {
    if (path.empty()) {
        return {{}, {}, "no Path"};
    }
    const bool separatorFirst = path.front() == '\\' || path.front() == '/';
    const bool drive = path.size() >= 2 && path[1] == ':';
    if (relative) {
        if (separatorFirst || drive) {
            return {{}, {}, "a relative profile with a rooted path"};
        }
        if (!IsAbsolutePath(firefoxFolder)) {
            return {{}, {}, "no Firefox folder to be relative to"};
        }
        Parts parts = JoinParts(path);
        if (!parts.refusal.empty()) {
            return {{}, {}, parts.refusal};
        }
        return {JoinPath(firefoxFolder, parts.joined), parts.joined, {}};
    }
    if (separatorFirst) {
        return {{}, {}, "a network or device path"};
    }
    const char letter = path.front();
    const bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    if (!drive || !isLetter || path.size() < 3 || (path[2] != '\\' && path[2] != '/')) {
        return {{}, {}, "not an absolute local path"};
    }
    Parts parts = JoinParts(path.substr(3));
    if (!parts.refusal.empty()) {
        return {{}, {}, parts.refusal};
    }
    return {std::string(path.substr(0, 2)) + "\\" + parts.joined, {}, {}};
}

}  // namespace

ProfilesIni ReadProfilesIni(std::string_view text, std::string_view firefoxFolder) {
    while (!firefoxFolder.empty() &&
           (firefoxFolder.back() == '\\' || firefoxFolder.back() == '/')) {
        firefoxFolder.remove_suffix(1);
    }
    const std::vector<Section> sections = ParseIni(text);

    std::vector<std::pair<unsigned long, const Section*>> numbered;
    std::vector<std::string> installDefaults;  // folders, lower-cased
    for (const Section& section : sections) {
        if (const auto number = ProfileNumber(section.name)) {
            numbered.emplace_back(*number, &section);
        } else if (StartsWithNoCase(section.name, "install")) {
            // An installation's default is written as its profile's Path: relative when it does
            // not start with a drive.
            const std::string_view path = ValueOf(section, "default");
            const bool absolute = path.size() >= 2 && path[1] == ':';
            const Resolved resolved = Resolve(path, !absolute, firefoxFolder);
            if (resolved.refusal.empty()) {
                installDefaults.push_back(AsciiLower(resolved.folder));
            }
        }
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    ProfilesIni result;
    for (const auto& [number, section] : numbered) {
        const std::string_view path = ValueOf(*section, "path");
        const std::string_view isRelative = ValueOf(*section, "isrelative");
        Resolved resolved;
        if (isRelative != "0" && isRelative != "1") {
            resolved.refusal = "IsRelative is neither 0 nor 1";
        } else {
            resolved = Resolve(path, isRelative == "1", firefoxFolder);
        }
        if (!resolved.refusal.empty()) {
            result.refused.push_back({section->name, std::string(path), resolved.refusal});
            continue;
        }
        const std::string key = AsciiLower(resolved.folder);
        const bool isDefault =
            ValueOf(*section, "default") == "1" ||
            std::find(installDefaults.begin(), installDefaults.end(), key) != installDefaults.end();
        const auto same =
            std::find_if(result.profiles.begin(), result.profiles.end(),
                         [&](const Profile& p) { return AsciiLower(p.folder) == key; });
        if (same != result.profiles.end()) {
            same->isDefault = same->isDefault || isDefault;
            continue;
        }
        result.profiles.push_back({section->name, std::string(ValueOf(*section, "name")),
                                   resolved.folder, resolved.relativePath, isDefault});
    }
    return result;
}

std::string CacheFolderOf(const Profile& profile, std::string_view localFirefoxFolder) {
    if (profile.relativePath.empty()) {
        return profile.folder;
    }
    if (!IsAbsolutePath(localFirefoxFolder)) {
        return {};
    }
    while (!localFirefoxFolder.empty() &&
           (localFirefoxFolder.back() == '\\' || localFirefoxFolder.back() == '/')) {
        localFirefoxFolder.remove_suffix(1);
    }
    return JoinPath(localFirefoxFolder, profile.relativePath);
}

}  // namespace hm::firefox
