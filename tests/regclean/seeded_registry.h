// A registry seeded with one broken entry per category of the registry cleaner and healthy ones
// that look alike (quoted and unquoted paths with blanks and arguments, variables, rundll32
// lines), below roots given by the test: a throwaway key of its own, or the sandbox prefix's
// real hives. The seeder remembers what it made and removes exactly that again; files live in
// the test's temp folder.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/regfun.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "regclean/finding_rules.h"
#include "regclean/scan_rules.h"
#include "regclean/utf16_rules.h"
#include "support/sandbox.h"

namespace hm::regclean::test {

using Expected = std::tuple<std::string, std::string, std::string>;  // category id, key, value

inline std::pair<HKEY, std::string> SplitKey(const std::string& key) {
    const std::size_t slash = key.find('\\');
    return {ToHkey(Regfun::RootKeyFromName(key.substr(0, slash))),
            slash == std::string::npos ? std::string() : key.substr(slash + 1)};
}

// Every key below the given one with its values (type and bytes), read in the 64-bit view
// without the cleaner's own code; keys and values compared by name, in any order.
using Snapshot = std::map<std::string, std::map<std::string, std::pair<DWORD, std::string>>>;

inline void SnapshotInto(const std::string& key, Snapshot& out) {
    const auto [root, subKey] = SplitKey(key);
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, Widen(subKey).c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &opened) != 0) {
        return;
    }
    auto& values = out[key];
    // Names first, then each value's data in a buffer of exactly its size: Wine adds a NUL to a
    // string value read into a larger buffer.
    std::vector<std::wstring> names;
    std::vector<wchar_t> name(16384);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumValueW(opened, i, name.data(), &nameLength, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name.data(), nameLength);
    }
    for (const std::wstring& valueName : names) {
        DWORD type = 0;
        DWORD size = 0;
        RegQueryValueExW(opened, valueName.c_str(), nullptr, &type, nullptr, &size);
        std::string data(size, '\0');
        RegQueryValueExW(opened, valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size);
        data.resize(size);
        values[Narrow(valueName)] = {type, data};
    }
    std::vector<std::string> subKeys;
    for (DWORD i = 0;; ++i) {
        wchar_t sub[256];
        DWORD length = 256;
        if (RegEnumKeyExW(opened, i, sub, &length, nullptr, nullptr, nullptr, nullptr) != 0) {
            break;
        }
        subKeys.push_back(Narrow(std::wstring(sub, length)));
    }
    RegCloseKey(opened);
    for (const std::string& sub : subKeys) {
        SnapshotInto(key + "\\" + sub, out);
    }
}

inline Snapshot Take(const std::vector<std::string>& keys) {
    Snapshot snapshot;
    for (const std::string& key : keys) {
        SnapshotInto(key, snapshot);
    }
    return snapshot;
}

class SeededRegistry {
public:
    // userRoot / machineRoot: "HKEY_CURRENT_USER" and "HKEY_LOCAL_MACHINE", or keys of the test.
    SeededRegistry(std::string userRoot, std::string machineRoot, const std::string& files)
        : user_(std::move(userRoot)), machine_(std::move(machineRoot)) {
        tag_ = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
        const std::string apps = files + "\\My Apps";
        const std::string gone = files + "\\Gone " + tag_;
        hm::test::WriteFileText(apps + "\\tool.exe", "MZ");
        hm::test::WriteFileText(apps + "\\helper.dll", "MZ");
        // The child processes of the command-line tests inherit it.
        SetEnvironmentVariableW(L"HM_TEST_FILES", Widen(files).c_str());
        Seed(apps, gone);
    }
    ~SeededRegistry() {
        for (auto made = made_.rbegin(); made != made_.rend(); ++made) {
            const auto [root, subKey] = SplitKey(made->first);
            RegKey key;
            if (key.Open(root, subKey, KEY_SET_VALUE | KEY_WOW64_64KEY) == ERROR_SUCCESS) {
                key.DeleteValue(made->second);
            }
        }
        for (auto key = keysMade_.rbegin(); key != keysMade_.rend(); ++key) {
            DeleteTreeIn64(*key);
        }
    }
    SeededRegistry(const SeededRegistry&) = delete;
    SeededRegistry& operator=(const SeededRegistry&) = delete;

    const std::vector<Expected>& broken() const { return broken_; }
    const std::string& tag() const { return tag_; }
    std::string userSoftware(const char* below) const { return user_ + "\\Software\\" + below; }
    std::string machineSoftware(const char* below) const {
        return machine_ + "\\Software\\" + below;
    }
    std::string userClasses() const { return user_ + "\\Software\\Classes"; }
    std::string user() const { return user_; }

    // Keys whose snapshots show every change of a fix or a restore.
    std::vector<std::string> Watched() const {
        return {user_ + "\\Software\\Microsoft\\Windows\\CurrentVersion", userClasses(),
                machineSoftware(kRunKey), machineSoftware(kSharedDllsKey)};
    }

private:
    static void DeleteTreeIn64(const std::string& key) {
        const auto [root, subKey] = SplitKey(key);
        RegKey opened;
        if (opened.Open(root, subKey, KEY_ENUMERATE_SUB_KEYS | KEY_WOW64_64KEY) != ERROR_SUCCESS) {
            return;
        }
        std::vector<std::string> names;
        opened.SubKeyNames(names);
        opened.Close();
        for (const std::string& name : names) {
            DeleteTreeIn64(key + "\\" + name);
        }
        DeleteRegistryKeyInView(root, subKey, KEY_WOW64_64KEY);
    }

    void Set(const std::string& key, const std::string& name, DWORD type, const std::string& data) {
        const auto [root, subKey] = SplitKey(key);
        // The first missing key on the way is ours, with all below it; otherwise only the value.
        std::string firstMissing;
        for (std::size_t at = subKey.find('\\');; at = subKey.find('\\', at + 1)) {
            const std::string path = subKey.substr(0, at);
            RegKey probe;
            if (probe.Open(root, path, KEY_READ | KEY_WOW64_64KEY) != ERROR_SUCCESS) {
                firstMissing = key.substr(0, key.size() - subKey.size()) + path;
                break;
            }
            if (at == std::string::npos) {
                break;
            }
        }
        RegKey made;
        made.Create(root, subKey, KEY_ALL_ACCESS | KEY_WOW64_64KEY);
        if (!firstMissing.empty()) {
            keysMade_.push_back(firstMissing);
        } else if (!made.HasValue(name)) {
            made_.emplace_back(key, name);
        }
        made.SetRaw(name, type, data);
    }
    void Text(const std::string& key, const std::string& name, const std::string& text,
              DWORD type = REG_SZ) {
        Set(key, name, type, BytesOf(*ToUtf16(text) + u'\0'));
    }
    void Broken(Category category, const std::string& key, const std::string& value) {
        broken_.emplace_back(std::string(CategoryId(category)), key, value);
    }

    void Seed(const std::string& apps, const std::string& gone) {
        const std::string& t = tag_;
        const std::string dlls = machineSoftware(kSharedDllsKey);
        Set(dlls, apps + "\\helper.dll", REG_DWORD, std::string("\1\0\0\0", 4));
        Set(dlls, gone + "\\shared.dll", REG_DWORD, std::string("\2\0\0\0", 4));
        Broken(Category::SharedDll, dlls, gone + "\\shared.dll");

        const std::string paths = userSoftware(kAppPathsKey) + "\\";
        Text(paths + "hmtool-" + t + ".exe", "", "\"" + apps + "\\tool.exe\"");
        Text(paths + "hmtool-" + t + ".exe", "Path", apps);
        Text(paths + "hmgone-" + t + ".exe", "", gone + "\\gone.exe");
        Text(paths + "hmgone-" + t + ".exe\\SupportedProtocols", "http", "");
        Broken(Category::AppPath, paths + "hmgone-" + t + ".exe", "");

        const std::string run = userSoftware(kRunKey);
        Text(run, "HmTool " + t, apps + "\\tool.exe --minimized");
        Text(run, "HmEnv " + t, "%HM_TEST_FILES%\\My Apps\\tool.exe", REG_EXPAND_SZ);
        Text(run, "HmDll " + t, "rundll32.exe \"" + apps + "\\helper.dll\",Start");
        Text(run, "HmSys " + t, "%SystemRoot%\\System32\\rundll32.exe shell32.dll,Control_RunDLL");
        Text(run, "HmGone " + t, "\"" + gone + "\\gone app.exe\" /background");
        Text(run, "HmGoneDll " + t, "rundll32.exe " + gone + "\\lib.dll,Entry");
        Broken(Category::Run, run, "HmGone " + t);
        Broken(Category::Run, run, "HmGoneDll " + t);
        Text(machineSoftware(kRunKey), "HmMachine " + t, gone + "\\machine.exe");
        Broken(Category::Run, machineSoftware(kRunKey), "HmMachine " + t);

        const std::string mui = user_ + "\\" + kMuiCacheKey;
        Text(mui, apps + "\\tool.exe.FriendlyAppName", "Tool");
        Text(mui, gone + "\\gone.exe.FriendlyAppName", "Gone");
        Broken(Category::MuiCache, mui, gone + "\\gone.exe.FriendlyAppName");

        const std::string list = user_ + "\\" + kFileExtsKey + "\\.hmt-" + t + "\\OpenWithList";
        Text(list, "a", "hmtool-" + t + ".exe");
        Text(list, "b", "hmgone-" + t + ".exe");
        Text(list, "MRUList", "ba");
        Broken(Category::OpenWith, list, "b");
        const std::string classList = userClasses() + "\\.hmt-" + t + "\\OpenWithList\\";
        Set(classList + "hmgone-" + t + ".exe", "", REG_SZ, std::string(2, '\0'));
        Set(classList + "hmtool-" + t + ".exe", "", REG_SZ, std::string(2, '\0'));
        Broken(Category::OpenWith, classList + "hmgone-" + t + ".exe", "");

        const std::string uninstall = userSoftware(kUninstallKey) + "\\";
        Text(uninstall + "HmApp " + t, "UninstallString", "\"" + apps + "\\tool.exe\" /uninstall");
        Text(uninstall + "HmApp " + t, "InstallLocation", apps);
        Text(uninstall + "HmGoneApp " + t, "UninstallString", "\"" + gone + "\\unins000.exe\"");
        Text(uninstall + "HmGoneApp " + t, "InstallLocation", gone);
        Text(uninstall + "HmGoneApp " + t, "DisplayName", "Gone App");
        Text(uninstall + "HmMsi " + t, "UninstallString",
             "MsiExec.exe /X{0F0E0D0C-0B0A-0908-0706-050403020100}");
        Broken(Category::Uninstall, uninstall + "HmGoneApp " + t, "");

        const std::string classes = userClasses() + "\\";
        Text(classes + "hmtoolfile." + t + "\\shell\\open\\command", "",
             "\"" + apps + "\\tool.exe\" \"%1\"");
        Text(classes + "hmgonefile." + t + "\\shell\\open\\command", "",
             gone + "\\gone.exe \"%1\"");
        Text(classes + "hmgonefile." + t + "\\shell\\open\\ddeexec", "", "[open(\"%1\")]");
        Text(classes + "hmgonefile." + t + "\\shell\\print\\command", "", gone + "\\print.exe");
        Text(classes + "hmgonefile." + t + "\\shell\\print\\command", "DelegateExecute", "{0}");
        Broken(Category::FileType, classes + "hmgonefile." + t + "\\shell\\open", "");
    }

    std::string user_;
    std::string machine_;
    std::string tag_;
    std::vector<std::pair<std::string, std::string>> made_;  // values made in keys that were there
    std::vector<std::string> keysMade_;
    std::vector<Expected> broken_;
};

}  // namespace hm::regclean::test
