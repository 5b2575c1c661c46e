#include "platform/shred_job.h"

#include <windows.h>

#include <utility>

#include "platform/files.h"
#include "platform/shred.h"
#include "platform/shred_rules.h"

namespace hm::shred {
namespace {

bool Contains(std::wstring_view folder, std::wstring_view path) {
    if (path.size() < folder.size()) {
        return false;
    }
    const bool boundary = path.size() == folder.size() || path[folder.size()] == L'\\';
    return boundary &&
           CompareStringOrdinal(path.data(), static_cast<int>(folder.size()), folder.data(),
                                static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

struct Accepted {
    std::string given;
    std::wstring path;
    files::Info info;
    bool IsTree() const {
        return (info.attributes & files::kDirectory) != 0 &&
               (info.attributes & files::kReparsePoint) == 0;
    }
};

void Add(Plan& plan, std::wstring path, ItemKind kind, std::uint64_t size) {
    switch (kind) {
        case ItemKind::File:
            ++plan.files;
            plan.bytes += size;
            break;
        case ItemKind::Link:
            ++plan.links;
            break;
        case ItemKind::Folder:
            ++plan.folders;
            break;
    }
    plan.items.push_back({std::move(path), kind, size});
}

// Every depth, without following a link; each folder comes after everything in it.
void PlanTree(Plan& plan, const std::wstring& top) {
    struct Pending {
        std::wstring folder;
        bool listed;
    };
    std::vector<Pending> stack{{top, false}};
    while (!stack.empty()) {
        Pending current = std::move(stack.back());
        stack.pop_back();
        if (current.listed) {
            Add(plan, std::move(current.folder), ItemKind::Folder, 0);
            continue;
        }
        files::FolderScan scan(current.folder);
        if (scan.error() != 0) {
            plan.refused.push_back({files::ToDisplayPath(current.folder),
                                    "its contents cannot be listed: " + ReasonText(scan.error())});
            continue;
        }
        stack.push_back({current.folder, true});
        while (scan.Next()) {
            std::wstring child = current.folder + L'\\' + std::wstring(scan.name());
            if (scan.IsLink()) {
                Add(plan, std::move(child), ItemKind::Link, 0);
            } else if (scan.IsFolder()) {
                stack.push_back({std::move(child), false});
            } else {
                Add(plan, std::move(child), ItemKind::File, scan.size());
            }
        }
    }
}

}  // namespace

Plan MakePlan(const std::vector<std::string>& paths, const Guard& guard) {
    Plan plan;
    std::vector<Accepted> accepted;
    for (const std::string& given : paths) {
        const Verdict verdict = guard.Check(given);
        if (verdict.refused()) {
            plan.refused.push_back({given, verdict.refusal});
            continue;
        }
        Accepted item{given, verdict.path, {}};
        const std::uint32_t error = files::QueryInfo(item.path, item.info);
        if (error != 0) {
            plan.refused.push_back({given, ReasonText(error)});
            continue;
        }
        // Given twice, or inside a folder that is given too: planned once.
        bool covered = false;
        for (const Accepted& earlier : accepted) {
            const bool same =
                earlier.path.size() == item.path.size() && Contains(earlier.path, item.path);
            covered = covered || same || (earlier.IsTree() && Contains(earlier.path, item.path));
        }
        if (covered) {
            continue;
        }
        if (item.IsTree()) {
            std::erase_if(accepted, [&](const Accepted& earlier) {
                return Contains(item.path, earlier.path);
            });
        }
        accepted.push_back(std::move(item));
    }
    for (const Accepted& item : accepted) {
        if ((item.info.attributes & files::kReparsePoint) != 0) {
            Add(plan, item.path, ItemKind::Link, 0);
        } else if (item.IsTree()) {
            PlanTree(plan, item.path);
        } else {
            Add(plan, item.path, ItemKind::File, item.info.size);
        }
    }
    return plan;
}

RunReport RunPlan(const Plan& plan, int passes, const RunHooks& hooks) {
    RunReport report;
    std::uint64_t done = 0;
    std::uint64_t filesLeft = plan.files;
    const auto carryOn = [&](std::uint64_t at) {
        return !hooks.progress || hooks.progress(at, plan.bytes);
    };
    for (const PlannedItem& item : plan.items) {
        ItemResult result{files::ToDisplayPath(item.path), item.kind, item.size, 0, false};
        switch (item.kind) {
            case ItemKind::File: {
                Overwrite how{passes, {}};
                // The share of the file written so far, in terms of its listed size.
                how.progress = [&](std::uint64_t written, std::uint64_t total) {
                    const double part = total == 0 ? 1.0 : static_cast<double>(written) / total;
                    return carryOn(done + static_cast<std::uint64_t>(part * item.size));
                };
                const FileOutcome outcome = ShredFile(item.path, how);
                result.error = outcome.error;
                result.overwritten = outcome.overwritten;
                done += item.size;
                --filesLeft;
                if (outcome.error == 0) {
                    ++report.filesShredded;
                    report.bytesShredded += item.size;
                }
                break;
            }
            case ItemKind::Link:
                result.error = RemoveLink(item.path);
                break;
            case ItemKind::Folder:
                result.error = RemoveEmptyFolder(item.path);
                break;
        }
        if (result.error != 0) {
            ++report.kept;
        }
        report.stopped = result.error == kErrorStopped;
        report.results.push_back(result);
        if (hooks.itemDone) {
            hooks.itemDone(result);
        }
        if (report.stopped || !carryOn(done)) {
            report.stopped = true;
            report.notStarted = filesLeft;
            break;
        }
    }
    return report;
}

std::string SummaryText(const RunReport& report, std::size_t refused, int passes) {
    std::string text = "Shredded " + Counted(report.filesShredded, "file") + " (" +
                       Counted(report.bytesShredded, "byte") + ") with " + MethodText(passes) + ".";
    if (report.stopped) {
        text += " Stopped: " + Counted(report.notStarted, "file") + " not started.";
    }
    if (report.kept > 0) {
        text += " " + Counted(report.kept, "item") + (report.kept == 1 ? " is" : " are") +
                " kept, each listed with the reason.";
    }
    if (refused > 0) {
        text += " " + Counted(refused, "path") + (refused == 1 ? " was" : " were") + " refused.";
    }
    return text;
}

}  // namespace hm::shred
