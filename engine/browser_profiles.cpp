#include "engine/browser_profiles.h"

#include "engine/chromium_profiles_rules.h"
#include "engine/firefox_profiles_rules.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm::browsers {
namespace {

// profiles.ini is a few hundred bytes; Local State grows with the browser's history of settings
// but stays well below this.
constexpr std::uint64_t kIniLimit = 1 << 20;
constexpr const char* kSideProfiles = "_side_profiles";
constexpr std::uint64_t kLocalStateLimit = 32 << 20;

// An existing folder that is not a link.
bool IsPlainFolder(const std::string& path) {
    const std::wstring longPath = files::ToLongPath(path);
    files::Info info;
    return !longPath.empty() && files::QueryInfo(longPath, info) == 0 &&
           (info.attributes & files::kDirectory) != 0 &&
           (info.attributes & files::kReparsePoint) == 0;
}

bool IsPlainFile(const std::string& path) {
    const std::wstring longPath = files::ToLongPath(path);
    files::Info info;
    return !longPath.empty() && files::QueryInfo(longPath, info) == 0 &&
           (info.attributes & (files::kDirectory | files::kReparsePoint)) == 0;
}

// Whether a folder on the way from `from` (exclusive) down to `path` (inclusive) is a link: a
// profile reached through one belongs to another tree than the one profiles.ini names.
bool ReachedThroughLink(const std::string& path, std::size_t from) {
    for (std::size_t end = path.find('\\', from + 1);; end = path.find('\\', end + 1)) {
        const std::string part = path.substr(0, end);
        const std::wstring longPath = files::ToLongPath(part);
        files::Info info;
        if (longPath.empty() || files::QueryInfo(longPath, info) != 0 ||
            (info.attributes & files::kReparsePoint) != 0) {
            return true;
        }
        if (end == std::string::npos) {
            return false;
        }
    }
}

}  // namespace

std::vector<FoundProfile> FindFirefoxProfiles(const std::string& roaming,
                                              const std::string& local) {
    std::vector<FoundProfile> found;
    if (!IsAbsolutePath(roaming)) {
        return found;
    }
    const std::string firefoxFolder = JoinPath(roaming, Firefox().profilesFolder);
    std::string ini;
    if (files::ReadWholeFile(JoinPath(firefoxFolder, "profiles.ini"), kIniLimit, ini) != 0) {
        return found;
    }
    const std::string localFolder =
        IsAbsolutePath(local) ? JoinPath(local, Firefox().cacheFolder) : std::string();
    for (const firefox::Profile& profile : firefox::ReadProfilesIni(ini, firefoxFolder).profiles) {
        // A moved profile is followed only on a local drive and along plain folders from the
        // drive on; one below the Firefox folder, along plain folders from there on.
        const std::size_t from =
            profile.relativePath.empty() ? profile.folder.find('\\') : firefoxFolder.size();
        if (!IsPlainFolder(profile.folder) || ReachedThroughLink(profile.folder, from) ||
            (profile.relativePath.empty() && files::IsOnNetworkDrive(profile.folder))) {
            continue;
        }
        std::string cache = firefox::CacheFolderOf(profile, localFolder);
        found.push_back({profile.name.empty() ? profile.section : profile.name, profile.folder,
                         std::move(cache)});
    }
    return found;
}

std::vector<FoundProfile> FindChromiumProfiles(const ChromiumBrowser& browser,
                                               const std::string& roaming,
                                               const std::string& local) {
    std::vector<FoundProfile> found;
    const std::string& root = browser.root == Root::RoamingAppData ? roaming : local;
    if (!IsAbsolutePath(root)) {
        return found;
    }
    const std::string dataFolder = JoinPath(root, browser.dataFolder);
    if (!IsPlainFolder(dataFolder)) {
        return found;
    }
    std::vector<chromium::FolderEntry> entries;
    files::FolderScan scan(files::ToLongPath(dataFolder));
    while (scan.Next()) {
        if (!scan.IsFolder()) {
            continue;
        }
        chromium::FolderEntry entry;
        entry.name = Narrow(scan.name());
        entry.isFolder = true;
        entry.isLink = scan.IsLink();
        entry.hasPreferences =
            !entry.isLink && IsPlainFile(JoinPath(JoinPath(dataFolder, entry.name), "Preferences"));
        entries.push_back(std::move(entry));
    }
    std::string localState;
    files::ReadWholeFile(JoinPath(dataFolder, "Local State"), kLocalStateLimit, localState);
    const bool dataFolderIsProfile = IsPlainFile(JoinPath(dataFolder, "Preferences"));

    for (const chromium::Profile& profile :
         chromium::FindProfiles(dataFolderIsProfile, entries, localState)) {
        FoundProfile one;
        one.name = profile.folderName.empty() ? browser.name : profile.displayName;
        one.folder =
            profile.folderName.empty() ? dataFolder : JoinPath(dataFolder, profile.folderName);
        one.cacheFolder = one.folder;
        if (browser.localCacheFolder != nullptr && profile.folderName.empty()) {
            one.cacheFolder =
                IsAbsolutePath(local) ? JoinPath(local, browser.localCacheFolder) : std::string();
        }
        found.push_back(std::move(one));
    }
    // Opera keeps further profiles ("side profiles") each in a folder of its own below the data
    // folder, with their caches below the local folder in the same place.
    if (browser.localCacheFolder != nullptr && dataFolderIsProfile) {
        const std::string sideFolder = JoinPath(dataFolder, kSideProfiles);
        if (!IsPlainFolder(sideFolder)) {
            return found;
        }
        files::FolderScan sides(files::ToLongPath(sideFolder));
        while (sides.Next()) {
            const std::string name = Narrow(sides.name());
            const std::string folder = JoinPath(sideFolder, name);
            if (!sides.IsFolder() || sides.IsLink() || !chromium::IsPlainFolderName(name) ||
                !IsPlainFile(JoinPath(folder, "Preferences"))) {
                continue;
            }
            const std::string cache =
                IsAbsolutePath(local)
                    ? JoinPath(JoinPath(JoinPath(local, browser.localCacheFolder), kSideProfiles),
                               name)
                    : std::string();
            found.push_back({std::string(browser.name) + " (" + name + ")", folder, cache});
        }
    }
    return found;
}

}  // namespace hm::browsers
