#include "app/cli_registry.h"

#include "app/cli_output.h"
#include "regclean/cleaner.h"
#include "regclean/live_registry.h"

namespace hm {
namespace {

using namespace regclean;

constexpr int kExitDone = 0;
constexpr int kExitLeftovers = 1;
constexpr int kExitUsage = 2;

void NoteScope(const ScanScope& scope) {
    if (!scope.includeMachine) {
        PrintErr(
            "hushmark-cli: machine-wide entries are not scanned without administrator "
            "rights; only the current user's are\n");
    }
}

int RegScan() {
    const ScanScope scope = DefaultScope();
    NoteScope(scope);
    for (const Finding& finding : ScanRegistry(scope)) {
        PrintOut(FindingLine(finding) + "\n");
    }
    return kExitDone;
}

int RegFix(std::string backup, const std::string& programFolder) {
    const ScanScope scope = DefaultScope();
    NoteScope(scope);
    std::vector<Finding> chosen;
    for (const Finding& finding : ScanRegistry(scope)) {
        if (TickedByDefault(finding.category)) {
            chosen.push_back(finding);
        }
    }
    if (chosen.empty()) {
        PrintOut("nothing to fix\n");
        return kExitDone;
    }
    if (backup.empty()) {
        backup = NewBackupPath(BackupsFolder(programFolder));
    }
    LiveRegistry registry;
    const FixReport report = FixWithBackup(chosen, backup, registry);
    if (!report.error.empty()) {
        PrintErr("hushmark-cli: " + report.error + "; nothing was changed\n");
        return kExitBackupProblem;
    }
    for (const Finding& finding : report.result.fixed) {
        PrintOut("removed\t" + FindingLine(finding) + "\n");
    }
    for (const Finding& finding : report.plan.leftAlone) {
        PrintErr("left alone, it cannot be backed up exactly: " + FindingLine(finding) + "\n");
    }
    for (const Finding& finding : report.result.failed) {
        PrintErr("could not remove: " + FindingLine(finding) + "\n");
    }
    if (!report.backupPath.empty()) {
        PrintOut("backup\t" + report.backupPath + "\n");
    }
    const bool complete = report.plan.leftAlone.empty() && report.result.failed.empty();
    return complete ? kExitDone : kExitLeftovers;
}

int RegRestore(const std::string& file) {
    LiveRegistry registry;
    const RestoreResult result = RestoreFromFile(file, registry);
    if (!result.ok) {
        PrintErr("hushmark-cli: " + result.error + "; nothing was changed\n");
        return kExitBackupProblem;
    }
    for (const std::string& refused : result.failures) {
        PrintErr("could not write: " + refused + "\n");
    }
    PrintOut("restored\t" + std::to_string(result.keys) + " keys, " +
             std::to_string(result.values) + " values\n");
    return result.failures.empty() ? kExitDone : kExitLeftovers;
}

}  // namespace

bool IsRegistryVerb(const std::string& verb) {
    return verb == "regscan" || verb == "regfix" || verb == "regrestore";
}

int RunRegistryVerb(const std::vector<std::string>& args, const std::string& programFolder) {
    const std::string& verb = args.at(0);
    if (verb == "regscan" && args.size() == 1) {
        return RegScan();
    }
    if (verb == "regfix" && args.size() == 1) {
        return RegFix("", programFolder);
    }
    if (verb == "regfix" && args.size() == 3 && args[1] == "--backup" && !args[2].empty()) {
        return RegFix(args[2], programFolder);
    }
    if (verb == "regrestore" && args.size() == 2 && !args[1].empty()) {
        return RegRestore(args[1]);
    }
    return kExitUsage;
}

}  // namespace hm
