// The registry cleaner as the window and the command line use it: scan the real registry, fix
// findings after writing their backup file, restore a backup file.
#pragma once

#include <string>
#include <vector>

#include "regclean/fix_rules.h"
#include "regclean/scan_rules.h"

namespace hm::regclean {

// The current user's hive always; the machine's entries when running as administrator.
ScanScope DefaultScope();

std::vector<Finding> ScanRegistry(const ScanScope& scope);

// programFolder & "\Backups".
std::string BackupsFolder(const std::string& programFolder);
// A backup path in the folder (made if missing) named with the local date and time, that no
// file has yet; empty when the folder cannot be made.
std::string NewBackupPath(const std::string& folder);

struct FixReport {
    std::string error;       // set when nothing was changed because the backup failed
    std::string backupPath;  // the backup written, if any
    FixPlan plan;
    FixResult result;
};

// Reads what the findings will change, writes it to backupPath (which must not exist yet),
// reads the file back and compares it, and only then fixes. No findings to fix: no file.
FixReport FixWithBackup(const std::vector<Finding>& chosen, const std::string& backupPath,
                        RegistryAccess& registry);

RestoreResult RestoreFromFile(const std::string& path, RegistryAccess& registry);

}  // namespace hm::regclean
