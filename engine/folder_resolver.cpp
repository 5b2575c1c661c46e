#include "engine/folder_resolver.h"

#include "engine/normal.h"
#include "platform/files.h"
#include "platform/path_rules.h"

namespace hm {
namespace {

// Bases whose item Parts say they are looked up anew inside every item that uses them.
bool PerItem(BaseFolder base) {
    return base == BaseFolder::NetscapeProfiles || base == BaseFolder::Personal ||
           base == BaseFolder::MaxthonInstall || base == BaseFolder::YahooProfiles ||
           base == BaseFolder::MailStoreRoot;
}

// A registry value as stored, trimmed of blanks; "Error" when it cannot be read, which the
// erase operations then refuse as a relative path.
std::string StoredPath(Regfun& registry, const char* key, const char* value) {
    return std::string(TrimBlanks(registry.GetRegString(key, value)));
}

}  // namespace

void FolderResolver::SetOfficeVersion(std::string number) {
    officeVersion_ = std::move(number);
    passCache_.erase(BaseFolder::OfficeKeys);
    passCache_.erase(BaseFolder::OfficeWizardKeys);
}

std::string FolderResolver::Base(BaseFolder base) {
    auto& cache = PerItem(base) ? itemCache_ : passCache_;
    const auto found = cache.find(base);
    if (found != cache.end()) {
        return found->second;
    }
    return cache[base] = Compute(base);
}

std::string FolderResolver::Compute(BaseFolder base) {
    switch (base) {
        case BaseFolder::None:
            return {};
        case BaseFolder::AppData:
            return values_.AppDataFolder;
        case BaseFolder::LocalAppData:
            return values_.LocalAppDataFolder;
        case BaseFolder::NetscapeProfiles: {
            const std::string nsb = values_.AppDataFolder + "\\Netscape\\NSB\\Profiles";
            return IsFolder(nsb) ? nsb : values_.AppDataFolder + "\\Netscape\\Navigator\\Profiles";
        }
        case BaseFolder::UserProfile:
            return EnvironmentValue("USERPROFILE");
        case BaseFolder::Temp:
            return EnvironmentValue("TEMP");
        case BaseFolder::WindowsFolder:
            return values_.WindowsFolder;
        case BaseFolder::ProgramFolder:
            return programFolder_;
        case BaseFolder::Personal:
            return UserShellFolder(registry_, "Personal");
        case BaseFolder::ShellCache:
            return UserShellFolder(registry_, "Cache");
        case BaseFolder::ShellCookies:
            return UserShellFolder(registry_, "Cookies");
        case BaseFolder::ShellHistory:
            return UserShellFolder(registry_, "History");
        case BaseFolder::ShellFavorites:
            return UserShellFolder(registry_, "Favorites");
        case BaseFolder::ShellRecent:
            return UserShellFolder(registry_, "Recent");
        case BaseFolder::IeDownloads:
            return ExpandUserProfile(std::string(TrimBlanks(registry_.GetRegString(
                "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main",
                "Default Download Directory"))));
        case BaseFolder::Downloads:
            return ExpandUserProfile(std::string(TrimBlanks(registry_.GetRegString(
                "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell "
                "Folders",
                "{374DE290-123F-4565-9164-39C4925E467B}"))));
        case BaseFolder::MaxthonInstall:
            return StoredPath(registry_,
                              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                              "Uninstall\\Maxthon2",
                              "InstallLocation");
        case BaseFolder::YahooProfiles:
            // Appended with nothing in between: the help folder may or may not end with "\".
            return StoredPath(registry_,
                              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\TypeLib\\"
                              "{2B323CCC-50E3-11D3-9466-00A0C9700498}\\1.0\\HELPDIR",
                              "") +
                   "Profiles";
        case BaseFolder::MailStoreRoot:
            return StoredPath(registry_, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Mail",
                              "Store Root");
        case BaseFolder::OfficeKeys:
            return "Software\\Microsoft\\Office\\" + officeVersion_;
        case BaseFolder::OfficeWizardKeys:
            return "Software\\Microsoft\\OfficeProfileWizard\\" + officeVersion_;
    }
    return {};
}

}  // namespace hm
