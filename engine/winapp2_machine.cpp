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
    return found != overrides_.end() ? found->second : SystemVariable(lowerName);
}

std::string Winapp2Canonical(std::string_view path) {
    std::wstring wide = Widen(NormaliseWinapp2Path(path));
    const DWORD needed = GetLongPathNameW(wide.c_str(), nullptr, 0);
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

Winapp2Reach ReachWinapp2Path(const std::string& path, bool foldersOnly) {
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
                if (files::QueryInfo(files::ToLongPath(child), info) != 0) {
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

bool Winapp2KeyExists(RootKey root, const std::string& subKey) {
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        RegKey key;
        if (key.Open(ToHkey(root), subKey, KEY_READ | view) == ERROR_SUCCESS) {
            return true;
        }
    }
    return false;
}

}  // namespace hm
