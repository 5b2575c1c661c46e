#include "regclean/cleaner.h"

#include <windows.h>

#include "platform/files.h"
#include "platform/path_rules.h"
#include "regclean/live_oracle.h"
#include "regclean/live_registry.h"

namespace hm::regclean {
namespace {

// Far more than any backup of findings; a file this large is not one of ours.
constexpr std::uint64_t kLargestBackup = 256u * 1024 * 1024;

// Anything but a clear "not there" counts as there: a backup never overwrites a file.
bool Exists(const std::string& path) {
    files::Info info;
    const std::uint32_t error = files::QueryInfo(files::ToLongPath(path), info);
    return error != files::kErrorFileNotFound && error != files::kErrorPathNotFound;
}

}  // namespace

ScanScope DefaultScope() {
    return ScanScope{"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", RunningAsAdministrator()};
}

std::vector<Finding> ScanRegistry(const ScanScope& scope) {
    LiveRegistry registry;
    LivePathOracle oracle;
    return Scan(scope, registry, oracle);
}

std::string BackupsFolder(const std::string& programFolder) {
    return JoinPath(programFolder, "Backups");
}

std::string NewBackupPath(const std::string& folder) {
    const std::wstring longFolder = files::ToLongPath(folder);
    if (longFolder.empty() || (!IsFolder(folder) && files::CreateFolder(longFolder) != 0)) {
        return {};
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    for (int attempt = 1; attempt < 100; ++attempt) {
        const std::string path =
            JoinPath(folder, BackupFileName(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                                            now.wSecond, attempt));
        if (!Exists(path)) {
            return path;
        }
    }
    return {};
}

FixReport FixWithBackup(const std::vector<Finding>& chosen, const std::string& backupPath,
                        RegistryAccess& registry) {
    FixReport report;
    report.plan = PlanFix(chosen, registry);
    if (report.plan.fixes.empty()) {
        return report;
    }
    const std::string bytes = EncodeRegFile(report.plan.backup);
    if (backupPath.empty() || Exists(backupPath)) {
        report.error = "the backup file " + backupPath + " exists already or cannot be named";
        return report;
    }
    std::string written;
    if (bytes.empty() || files::WriteWholeFile(backupPath, bytes) != 0 ||
        files::ReadWholeFile(backupPath, kLargestBackup, written) != 0 || written != bytes) {
        report.error = "the backup file " + backupPath + " could not be written";
        return report;
    }
    report.backupPath = backupPath;
    report.result = ApplyFix(report.plan, registry);
    return report;
}

RestoreResult RestoreFromFile(const std::string& path, RegistryAccess& registry) {
    std::string bytes;
    if (files::ReadWholeFile(path, kLargestBackup, bytes) != 0) {
        RestoreResult result;
        result.error = "the file " + path + " cannot be read";
        return result;
    }
    return RestoreBackup(bytes, registry);
}

}  // namespace hm::regclean
