// The shredder for scripts: no confirmation, the same refusals as the window, one line per item
// on standard output ("shredded", "removed", "kept" or "refused", a tab, the path, a tab, the
// detail) and a summary line. Ctrl+C stops after the chunk being written.
#include "app/cli_shred.h"

#include <windows.h>

#include <atomic>
#include <optional>

#include "app/cli_output.h"
#include "platform/shred.h"
#include "platform/shred_job.h"
#include "platform/shred_rules.h"

namespace hm {
namespace {

constexpr int kExitDone = 0;
constexpr int kExitKept = 1;
constexpr int kExitUsage = 2;

constexpr const char* kShredUsage =
    "usage: hushmark-cli shred [--passes N] PATH...\n"
    "  overwrites each file (every file of each folder) with N passes of random data (1 to 3,\n"
    "  default 1), then deletes it; asks nothing\n";

std::atomic<bool> stopRequested{false};

BOOL WINAPI OnConsoleBreak(DWORD signal) {
    if (signal == CTRL_C_EVENT || signal == CTRL_BREAK_EVENT) {
        stopRequested = true;
        return TRUE;
    }
    return FALSE;
}

std::string LineOf(const shred::ItemResult& result) {
    using shred::ItemKind;
    if (result.error == 0) {
        switch (result.kind) {
            case ItemKind::File:
                return "shredded\t" + result.path + "\t" + shred::Counted(result.size, "byte");
            case ItemKind::Link:
                return "removed\t" + result.path + "\tlink; what it points to is kept";
            case ItemKind::Folder:
                return "removed\t" + result.path + "\tfolder";
        }
    }
    return "kept\t" + result.path + "\t" + shred::ReasonText(result.error);
}

}  // namespace

int ShredCommand(const std::vector<std::string>& args) {
    int passes = shred::kDefaultPasses;
    std::vector<std::string> paths;
    bool options = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--passes" || arg.rfind("--passes=", 0) == 0)) {
            const bool inlineValue = arg.size() > 8;
            if (!inlineValue && i + 1 >= args.size()) {
                PrintErr(kShredUsage);
                return kExitUsage;
            }
            const std::optional<int> parsed =
                shred::ParsePasses(inlineValue ? arg.substr(9) : args[++i]);
            if (!parsed) {
                PrintErr("hushmark-cli shred: --passes takes 1, 2 or 3\n");
                return kExitUsage;
            }
            passes = *parsed;
        } else if (options && arg.rfind("--", 0) == 0) {
            PrintErr("hushmark-cli shred: unknown option " + arg + "\n" + kShredUsage);
            return kExitUsage;
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.empty()) {
        PrintErr(kShredUsage);
        return kExitUsage;
    }

    const shred::Plan plan = shred::MakePlan(paths, shred::Guard::ForThisProcess());
    for (const shred::Refusal& refusal : plan.refused) {
        PrintOut("refused\t" + refusal.path + "\t" + refusal.reason + "\n");
    }
    SetConsoleCtrlHandler(OnConsoleBreak, TRUE);
    shred::RunHooks hooks;
    hooks.progress = [](std::uint64_t, std::uint64_t) { return !stopRequested.load(); };
    hooks.itemDone = [](const shred::ItemResult& result) { PrintOut(LineOf(result) + "\n"); };
    const shred::RunReport report = shred::RunPlan(plan, passes, hooks);
    SetConsoleCtrlHandler(OnConsoleBreak, FALSE);

    PrintOut(shred::SummaryText(report, plan.refused.size(), passes) + "\n");
    const bool clean = plan.refused.empty() && report.kept == 0 && !report.stopped;
    return clean ? kExitDone : kExitKept;
}

}  // namespace hm
