#include "engine/winapp2_machine.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>

#include "config/winapp2_rules.h"
#include "engine/normal.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace hm {
namespace {

// More entries than any rule reaches on a real machine; a wildcard path that reaches more stops
// there instead of growing without end.
constexpr std::size_t kMostReached = 4096;

std::string KnownFolder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path) {
        folder = Narrow(path);
    }
    CoTaskMemFree(path);
    return folder;
}

std::string WindowsFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? Narrow(std::wstring(buffer, length)) : std::string();
}

// The folders of the variables the rules use most, by the shell's own names for them.
const struct {
    const char* name;
    const KNOWNFOLDERID* id;
} kKnownFolders[] = {
    {"appdata", &FOLDERID_RoamingAppData},
    {"localappdata", &FOLDERID_LocalAppData},
    {"locallowappdata", &FOLDERID_LocalAppDataLow},
    {"userprofile", &FOLDERID_Profile},
    {"documents", &FOLDERID_Documents},
    {"desktop", &FOLDERID_Desktop},
    {"pictures", &FOLDERID_Pictures},
    {"music", &FOLDERID_Music},
    {"video", &FOLDERID_Videos},
    {"videos", &FOLDERID_Videos},
    {"favorites", &FOLDERID_Favorites},
    {"downloads", &FOLDERID_Downloads},
    {"public", &FOLDERID_Public},
    {"commonappdata", &FOLDERID_ProgramData},
    {"programdata", &FOLDERID_ProgramData},
    {"allusersprofile", &FOLDERID_ProgramData},
};

// Variables whose folders no rule may empty widely; "windir" adds its system folders.
constexpr const char* kProtectedVariables[] = {
    "windir",   "systemroot", "programfiles", "commonprogramfiles", "userprofile",   "documents",
    "desktop",  "appdata",    "localappdata", "locallowappdata",    "commonappdata", "public",
    "pictures", "music",      "videos",       "downloads",          "favorites",
};

// Each distinct folder once; case does not tell folders apart.
void AddDistinct(std::vector<std::string>& folders, const std::string& folder) {
    if (folder.empty()) {
        return;
    }
    const std::string lower = Winapp2Lower(folder);
    for (const std::string& known : folders) {
        if (Winapp2Lower(known) == lower) {
            return;
        }
    }
    folders.push_back(folder);
}

std::vector<std::string> SystemVariable(const std::string& name) {
    for (const auto& known : kKnownFolders) {
        if (name == known.name) {
            std::string folder = KnownFolder(*known.id);
            if (folder.empty()) {
                folder = EnvironmentValue(name);
            }
            return folder.empty() ? std::vector<std::string>{} : std::vector<std::string>{folder};
        }
    }
    std::vector<std::string> folders;
    // On a 64-bit system the rules mean both program-files folders: programs of either kind
    // leave their traces in their own.
    if (name == "programfiles") {
        for (const char* variable : {"ProgramW6432", "ProgramFiles(x86)", "ProgramFiles"}) {
            AddDistinct(folders, EnvironmentValue(variable));
        }
        return folders;
    }
    if (name == "commonprogramfiles") {
        for (const char* variable :
             {"CommonProgramW6432", "CommonProgramFiles(x86)", "CommonProgramFiles"}) {
            AddDistinct(folders, EnvironmentValue(variable));
        }
        return folders;
    }
    if (name == "windir" || name == "systemroot") {
        AddDistinct(folders, WindowsFolder());
        return folders;
    }
    if (name == "systemdrive") {
        std::string drive = EnvironmentValue("SystemDrive");
        if (drive.empty()) {
            drive = WindowsFolder().substr(0, 2);
        }
        AddDistinct(folders, drive);
        return folders;
    }
    if (name == "temp" || name == "tmp") {
        std::string temp = EnvironmentValue(name);
        if (temp.empty()) {
            wchar_t buffer[MAX_PATH + 1] = {};
            const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
            temp = length > 0 && length <= MAX_PATH ? Narrow(std::wstring(buffer, length)) : "";
        }
        AddDistinct(folders, temp);
        return folders;
    }
    AddDistinct(folders, EnvironmentValue(name));
    return folders;
}

bool IsProtectedVariable(const std::string& name) {
    return std::any_of(std::begin(kProtectedVariables), std::end(kProtectedVariables),
                       [&](const char* protectedName) { return name == protectedName; });
}

std::string Join(const std::string& folder, std::string_view name) {
    return folder.back() == '\\' ? folder + std::string(name) : folder + "\\" + std::string(name);
}

// A 32-bit system has one registry view: asking the other would ask for the same key again.
std::vector<REGSAM> RegistryViews() {
    static const bool twoViews = [] {
        BOOL wow64 = FALSE;
        return sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
    }();
    if (twoViews) {
        return {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    }
    return {KEY_WOW64_64KEY};
}

std::string LowerName(std::wstring_view name) {
    std::wstring lower(name);
    if (!lower.empty()) {
        CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    }
    return Narrow(lower);
}

}  // namespace

Winapp2Machine::Winapp2Machine() {
    for (const char* name : kProtectedVariables) {
        ProtectFolders(name, Variable(name));
    }
}

void Winapp2Machine::SetVariable(const std::string& name, std::vector<std::string> folders) {
    const std::string lower = Winapp2Lower(name);
    ProtectFolders(lower, folders);
    overrides_[lower] = std::move(folders);
}

void Winapp2Machine::ProtectFolders(const std::string& lowerName,
                                    const std::vector<std::string>& folders) {
    if (!IsProtectedVariable(lowerName)) {
        return;
    }
    for (const std::string& folder : folders) {
        Protect(folder);
        if (lowerName == "windir" || lowerName == "systemroot") {
            Protect(folder + "\\System32");
            Protect(folder + "\\SysWOW64");
        }
    }
}

void Winapp2Machine::Protect(const std::string& folder) {
    if (!folder.empty()) {
        AddDistinct(protected_, Winapp2Canonical(folder));
    }
}

std::vector<std::string> Winapp2Machine::Variable(const std::string& lowerName) const {
    const auto found = overrides_.find(lowerName);
    if (found != overrides_.end()) {
        return found->second;
    }
    const auto asked = asked_.find(lowerName);
    if (asked != asked_.end()) {
        return asked->second;
    }
    return asked_.emplace(lowerName, SystemVariable(lowerName)).first->second;
}

std::string Winapp2Canonical(std::string_view path) {
    std::wstring wide = Widen(NormaliseWinapp2Path(path));
    // Only a short name holds a "~"; without one there is nothing to ask the system, which
    // looks at every part of the path to answer.
    const DWORD needed =
        wide.find(L'~') == std::wstring::npos ? 0 : GetLongPathNameW(wide.c_str(), nullptr, 0);
    if (needed > 0) {
        std::wstring full(needed, L'\0');
        const DWORD length = GetLongPathNameW(wide.c_str(), full.data(), needed);
        if (length > 0 && length < needed) {
            full.resize(length);
            wide = full;
        }
    }
    return NormaliseWinapp2Path(LowerName(wide));
}

const Winapp2Lookups::Listing& Winapp2Lookups::ListingOf(const std::string& folder) {
    const auto known = listings_.find(folder);
    if (known != listings_.end()) {
        return known->second;
    }
    Listing listing;
    files::FolderScan scan(files::ToLongPath(folder));
    listing.read = scan.error() == 0;
    while (listing.read && scan.Next()) {
        listing.entries.emplace(LowerName(scan.name()),
                                files::Info{scan.attributes(), scan.size()});
    }
    return listings_.emplace(folder, std::move(listing)).first->second;
}

std::uint32_t Winapp2Lookups::QueryInfo(const std::string& path, files::Info& info) {
    const std::size_t cut = path.find_last_of('\\');
    const std::string name = cut == std::string::npos ? std::string() : path.substr(cut + 1);
    // A short name is not among the entries read; the system knows it.
    if (!name.empty() && name.find('~') == std::string::npos) {
        const Listing& listing = ListingOf(cut == 2 ? path.substr(0, 3) : path.substr(0, cut));
        if (listing.read) {
            const auto entry = listing.entries.find(LowerName(Widen(name)));
            if (entry == listing.entries.end()) {
                return ERROR_FILE_NOT_FOUND;
            }
            info = entry->second;
            return 0;
        }
    }
    const auto known = answers_.find(path);
    if (known != answers_.end()) {
        info = known->second.second;
        return known->second.first;
    }
    files::Info found;
    const std::uint32_t error = files::QueryInfo(files::ToLongPath(path), found);
    answers_.emplace(path, std::make_pair(error, found));
    info = found;
    return error;
}

Winapp2Reach ReachWinapp2Path(const std::string& path, bool foldersOnly, Winapp2Lookups* lookups) {
    Winapp2Reach reach;
    const std::vector<std::string_view> parts = Winapp2PathParts(path);
    if (parts.empty()) {
        return reach;
    }
    std::vector<std::string> current{std::string(parts[0]) + "\\"};
    for (size_t i = 1; i < parts.size() && !current.empty(); ++i) {
        const bool last = i + 1 == parts.size();
        const std::string pattern = LowerName(Widen(parts[i]));
        std::vector<std::string> next;
        for (const std::string& folder : current) {
            if (!HasWildcard(pattern)) {
                const std::string child = Join(folder, parts[i]);
                files::Info info;
                if ((lookups != nullptr ? lookups->QueryInfo(child, info)
                                        : files::QueryInfo(files::ToLongPath(child), info)) != 0) {
                    continue;
                }
                if ((info.attributes & files::kReparsePoint) != 0) {
                    if (reach.link.empty()) {
                        reach.link = child;
                    }
                    continue;
                }
                if ((info.attributes & files::kDirectory) != 0 || (last && !foldersOnly)) {
                    next.push_back(child);
                }
                continue;
            }
            files::FolderScan scan(files::ToLongPath(folder));
            while (scan.error() == 0 && scan.Next() && next.size() < kMostReached) {
                if (scan.IsLink() || (!scan.IsFolder() && (!last || foldersOnly)) ||
                    !Winapp2Matches(pattern, LowerName(scan.name()))) {
                    continue;
                }
                next.push_back(Join(folder, Narrow(scan.name())));
            }
        }
        current = std::move(next);
    }
    reach.paths = std::move(current);
    return reach;
}

bool Winapp2Lookups::KeyExists(RootKey root, const std::string& subKey) {
    for (const REGSAM view : RegistryViews()) {
        if (KeyInView(root, subKey, view)) {
            return true;
        }
    }
    return false;
}

bool Winapp2Lookups::KeyInView(RootKey root, const std::string& subKey, std::uint32_t view) {
    std::string parent;
    for (const std::string_view part : Winapp2PathParts(subKey)) {
        const std::string path = std::to_string(view) + ":" + std::to_string(root) + ":" + parent;
        auto known = subKeys_.find(path);
        if (known == subKeys_.end()) {
            std::optional<std::vector<std::string>> names;
            RegKey key;
            std::vector<std::string> read;
            if (key.Open(ToHkey(root), parent, KEY_READ | view) == ERROR_SUCCESS &&
                key.SubKeyNames(read) == ERROR_SUCCESS) {
                for (std::string& name : read) {
                    name = LowerName(Widen(name));
                }
                std::sort(read.begin(), read.end());
                names = std::move(read);
            }
            known = subKeys_.emplace(path, std::move(names)).first;
        }
        if (!known->second) {
            // Sub-keys that cannot be listed may still open.
            RegKey key;
            return key.Open(ToHkey(root), subKey, KEY_READ | view) == ERROR_SUCCESS;
        }
        const std::string name = LowerName(Widen(part));
        if (!std::binary_search(known->second->begin(), known->second->end(), name)) {
            return false;
        }
        parent += (parent.empty() ? "" : "\\") + name;
    }
    return !parent.empty();
}

bool Winapp2KeyExists(RootKey root, const std::string& subKey) {
    for (const REGSAM view : RegistryViews()) {
        RegKey key;
        if (key.Open(ToHkey(root), subKey, KEY_READ | view) == ERROR_SUCCESS) {
            return true;
        }
    }
    return false;
}

}  // namespace hm
