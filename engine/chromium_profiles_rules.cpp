#include "engine/chromium_profiles_rules.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <tuple>

#include "platform/path_rules.h"

namespace hm::chromium {
namespace {

// 0 for "Default", N + 1 for "Profile N", and a number past them for any other name.
std::tuple<int, unsigned long, std::string> SortKey(const std::string& name) {
    if (name.empty()) {
        return {0, 0, {}};
    }
    if (name == "Default") {
        return {1, 0, {}};
    }
    constexpr std::string_view kProfile = "Profile ";
    if (name.size() > kProfile.size() && name.size() <= kProfile.size() + 9 &&
        name.compare(0, kProfile.size(), kProfile) == 0 &&
        std::all_of(name.begin() + static_cast<std::ptrdiff_t>(kProfile.size()), name.end(),
                    [](char c) { return c >= '0' && c <= '9'; })) {
        return {2, std::stoul(name.substr(kProfile.size())), {}};
    }
    return {3, 0, AsciiLower(name)};
}

}  // namespace

bool IsPlainFolderName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("\\/:") == std::string::npos;
}

std::vector<Profile> FindProfiles(bool dataFolderHasPreferences,
                                  const std::vector<FolderEntry>& entries,
                                  std::string_view localStateJson) {
    std::vector<Profile> profiles;
    if (dataFolderHasPreferences) {
        profiles.push_back({});
    }
    for (const FolderEntry& entry : entries) {
        if (entry.isFolder && !entry.isLink && entry.hasPreferences &&
            IsPlainFolderName(entry.name)) {
            profiles.push_back({entry.name, {}});
        }
    }
    std::sort(profiles.begin(), profiles.end(), [](const Profile& a, const Profile& b) {
        return SortKey(a.folderName) < SortKey(b.folderName);
    });
    profiles.erase(std::unique(profiles.begin(), profiles.end(),
                               [](const Profile& a, const Profile& b) {
                                   return a.folderName == b.folderName;
                               }),
                   profiles.end());

    const nlohmann::json state = nlohmann::json::parse(localStateJson, nullptr, false);
    const nlohmann::json* cache = nullptr;
    if (state.is_object() && state.contains("profile") && state["profile"].is_object() &&
        state["profile"].contains("info_cache") && state["profile"]["info_cache"].is_object()) {
        cache = &state["profile"]["info_cache"];
    }
    for (Profile& profile : profiles) {
        profile.displayName = profile.folderName;
        if (cache == nullptr || profile.folderName.empty()) {
            continue;
        }
        const auto found = cache->find(profile.folderName);
        if (found != cache->end() && found->is_object() && found->contains("name") &&
            (*found)["name"].is_string() && !(*found)["name"].get<std::string>().empty()) {
            profile.displayName = (*found)["name"].get<std::string>();
        }
    }
    return profiles;
}

namespace {

void CollectUrls(const nlohmann::json& node, int depth, std::vector<std::string>& urls) {
    if (depth > 200) {
        return;
    }
    if (node.is_object()) {
        const auto type = node.find("type");
        const auto url = node.find("url");
        if (type != node.end() && *type == "url" && url != node.end() && url->is_string()) {
            urls.push_back(url->get<std::string>());
        }
        for (const auto& [key, value] : node.items()) {
            if (value.is_structured()) {
                CollectUrls(value, depth + 1, urls);
            }
        }
    } else if (node.is_array()) {
        for (const auto& value : node) {
            CollectUrls(value, depth + 1, urls);
        }
    }
}

}  // namespace

std::vector<std::string> BookmarkedUrls(std::string_view bookmarksJson) {
    std::vector<std::string> urls;
    // Each level of nesting costs the parser stack: a file of nothing but brackets is refused
    // before it is read.
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (char c : bookmarksJson) {
        if (inString) {
            inString = escaped || c != '"';
            escaped = !escaped && c == '\\';
            continue;
        }
        inString = c == '"';
        depth += (c == '[' || c == '{') ? 1 : (c == ']' || c == '}') ? -1 : 0;
        if (depth > 200) {
            return urls;
        }
    }
    const nlohmann::json root = nlohmann::json::parse(bookmarksJson, nullptr, false);
    if (!root.is_discarded()) {
        const auto roots = root.find("roots");
        if (roots != root.end()) {
            CollectUrls(*roots, 0, urls);
        }
    }
    return urls;
}

}  // namespace hm::chromium
