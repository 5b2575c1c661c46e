// The scan: which registry locations each category reads, what in them names a file, and when
// that entry is broken. It reads through RegistryAccess and asks a PathOracle about paths, so the
// same code runs on the real registry and on a table in the tests.
#pragma once

#include <string>
#include <vector>

#include "regclean/judge_rules.h"
#include "regclean/finding_rules.h"
#include "regclean/regfile_rules.h"

namespace hm::regclean {

// The registry by full key paths ("HKEY_CURRENT_USER\Software\..."), as the cleaner needs it.
class RegistryAccess {
public:
    virtual ~RegistryAccess() = default;
    virtual bool KeyExists(const std::string& key) = 0;
    // Fill names or values with what could be read. False when the key is missing or when
    // something in it could not be read exactly (a name that UTF-8 cannot carry, data that
    // changed while it was read): what was read is then not the whole key.
    virtual bool SubKeys(const std::string& key, std::vector<std::string>& names) = 0;
    virtual bool Values(const std::string& key, std::vector<RegValue>& values) = 0;

    // Changes; true on success. Deleting something already gone counts as success.
    virtual bool CreateKey(const std::string& key) = 0;
    virtual bool SetValue(const std::string& key, const RegValue& value) = 0;
    virtual bool DeleteValue(const std::string& key, const std::string& name) = 0;
    virtual bool DeleteTree(const std::string& key) = 0;
};

// Where to look. The user root is "HKEY_CURRENT_USER" for the program (tests use a key of their
// own); the machine root is read to find the programs "Open with" names, and its own entries are
// reported only when includeMachine is set (the program runs as administrator).
struct ScanScope {
    std::string userRoot;
    std::string machineRoot;
    bool includeMachine = false;
};

std::vector<Finding> Scan(const ScanScope& scope, RegistryAccess& registry, PathOracle& oracle);

// The locations the scan reads. These are below a software key ("Software", and on 64-bit
// Windows also "Software\WOW6432Node" for 32-bit programs):
inline constexpr const char* kRunKey = "Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kAppPathsKey = "Microsoft\\Windows\\CurrentVersion\\App Paths";
inline constexpr const char* kSharedDllsKey = "Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
inline constexpr const char* kUninstallKey = "Microsoft\\Windows\\CurrentVersion\\Uninstall";
// These are below a root:
inline constexpr const char* kMuiCacheKey =
    "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache";
inline constexpr const char* kOldMuiCacheKey =
    "Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache";
inline constexpr const char* kFileExtsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
inline constexpr const char* kClassesKey = "Software\\Classes";
inline constexpr const char* kWow64Software = "Software\\WOW6432Node";

}  // namespace hm::regclean
