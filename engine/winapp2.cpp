#include "engine/winapp2.h"

#include <windows.h>

#include <algorithm>
#include <map>

#include "config/inifun.h"
#include "engine/clean_run.h"
#include "engine/format_rules.h"
#include "engine/walk.h"
#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace hm {
namespace {

// Far beyond any real rule file (a few megabytes), and small enough to read whole.
constexpr std::uint64_t kLargestRuleFile = 64ull << 20;

Winapp2Variables VariablesOf(const Winapp2Machine& machine) {
    return [&machine](const std::string& name) { return machine.Variable(name); };
}

// A path as the system compares it: letters in lower case, whatever the alphabet.
std::string Lowered(std::string_view path) {
    std::wstring wide = Widen(path);
    if (!wide.empty()) {
        CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    }
    return Narrow(wide);
}

// One look at the part of a path before its first wildcard, ahead of the walk that checks every
// part for links: most rules name programs that are not here, and the walk would ask about
// every folder above them first.
bool NamedPartExists(const std::string& path, Winapp2Lookups* lookups) {
    std::string named;
    for (const std::string_view part : Winapp2PathParts(path)) {
        if (HasWildcard(part)) {
            break;
        }
        named += std::string(part) + "\\";
    }
    if (named.size() > 3) {
        named.pop_back();  // a drive root keeps its backslash
    }
    files::Info info;
    return !named.empty() &&
           (lookups != nullptr ? lookups->QueryInfo(named, info)
                               : files::QueryInfo(files::ToLongPath(named), info)) == 0;
}

bool Detected(const Winapp2Rule& rule, const Winapp2Variables& variables, Winapp2Lookups* lookups) {
    if (rule.detectKeys.empty() && rule.detectFiles.empty()) {
        return true;
    }
    for (const Winapp2RegPath& key : rule.detectKeys) {
        if (lookups != nullptr ? lookups->KeyExists(key.root, key.subKey)
                               : Winapp2KeyExists(key.root, key.subKey)) {
            return true;
        }
    }
    for (const std::string& file : rule.detectFiles) {
        for (const std::string& path : ExpandWinapp2Path(file, variables).paths) {
            if (Winapp2PathRefusal(path).empty() && NamedPartExists(path, lookups) &&
                !ReachWinapp2Path(path, false, lookups).paths.empty()) {
                return true;
            }
        }
    }
    return false;
}

void PlanFileKey(const Winapp2FileKey& key, const Winapp2Machine& machine, Winapp2Plan& plan,
                 const std::function<void(const std::string&)>& refuse, Winapp2Lookups* lookups) {
    const Winapp2Expansion expansion = ExpandWinapp2Path(key.folder, VariablesOf(machine));
    if (expansion.tooMany) {
        refuse(key.key + " stands for too many folders");
    }
    for (const std::string& path : expansion.paths) {
        const std::string refusal = Winapp2PathRefusal(path);
        if (!refusal.empty()) {
            refuse(key.key + ": " + refusal);
            continue;
        }
        refuse(FileKeyWildcardRefusal(key, Lowered(path), machine.ProtectedFolders(), path));
        const Winapp2Reach reach = ReachWinapp2Path(path, true, lookups);
        if (!reach.link.empty()) {
            refuse(key.key + " would pass the link " + reach.link);
        }
        for (const std::string& folder : reach.paths) {
            refuse(FileKeyFolderRefusal(key, Winapp2Canonical(folder), machine.ProtectedFolders(),
                                        folder));
            plan.targets.push_back({&key, folder});
        }
    }
}

void PlanExclusion(const Winapp2Exclude& exclude, const Winapp2Machine& machine, Winapp2Plan& plan,
                   const std::function<void(const std::string&)>& refuse) {
    const Winapp2Expansion expansion = ExpandWinapp2Path(exclude.folder, VariablesOf(machine));
    if (expansion.tooMany) {
        refuse(exclude.key + " stands for too many folders");
    }
    for (const std::string& path : expansion.paths) {
        // An exclusion that cannot be honoured would let the rule remove what it must keep.
        const std::string refusal = Winapp2PathRefusal(path);
        if (!refusal.empty()) {
            refuse(exclude.key + ": " + refusal);
            continue;
        }
        plan.exclusions.push_back(MakeFileExclusion(exclude, Lowered(path)));
        // The long form too, where the rule names a folder by its short name.
        const std::string canonical = Winapp2Canonical(path);
        if (canonical != Lowered(path)) {
            plan.exclusions.push_back(MakeFileExclusion(exclude, canonical));
        }
    }
}

// The key with everything below it, except what the exclusions keep: a key holding something
// kept goes value by value and sub-key by sub-key. One per key or value selected.
double CleanKey(RootKey root, const std::string& subKey, const std::vector<Winapp2Exclude>& keep,
                Eraser& eraser) {
    RegKey key;
    if (eraser.view().IsKeyGone(root, subKey) ||
        key.Open(ToHkey(root), subKey, KEY_READ) != ERROR_SUCCESS ||
        IsRegExcluded(keep, root, subKey, nullptr)) {
        return 0;
    }
    if (!HoldsRegExclusion(keep, root, subKey)) {
        key.Close();
        eraser.DeleteRegTree(root, subKey);
        return 1;
    }
    double count = 0;
    std::vector<std::string> values;
    std::vector<std::string> subKeys;
    key.ValueNames(values);
    key.SubKeyNames(subKeys);
    key.Close();
    for (const std::string& value : values) {
        if (!IsRegExcluded(keep, root, subKey, &value) &&
            !eraser.view().IsValueGone(root, subKey, value)) {
            eraser.DeleteRegValue(root, subKey, value);
            ++count;
        }
    }
    for (const std::string& name : subKeys) {
        count += CleanKey(root, subKey + "\\" + name, keep, eraser);
    }
    return count;
}

double CleanValue(const Winapp2RegKey& regKey, const std::vector<Winapp2Exclude>& keep,
                  Eraser& eraser) {
    const Winapp2RegPath& path = regKey.path;
    RegKey key;
    if (IsRegExcluded(keep, path.root, path.subKey, &*regKey.value) ||
        eraser.view().IsValueGone(path.root, path.subKey, *regKey.value) ||
        eraser.view().IsKeyGone(path.root, path.subKey) ||
        key.Open(ToHkey(path.root), path.subKey, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
        !key.HasValue(*regKey.value)) {
        return 0;
    }
    key.Close();
    eraser.DeleteRegValue(path.root, path.subKey, *regKey.value);
    return 1;
}

}  // namespace

std::string Winapp2FilePath(const std::string& programFolder) {
    return JoinPath(programFolder, "winapp2.ini");
}

Winapp2Load LoadWinapp2(const std::string& file) {
    Winapp2Load load;
    std::string bytes;
    const std::uint32_t error = files::ReadWholeFile(file, kLargestRuleFile, bytes);
    load.found = error != files::kErrorFileNotFound && error != files::kErrorPathNotFound;
    if (error != 0) {
        load.error = load.found ? error : 0;
        return load;
    }
    load.rules = ParseWinapp2(bytes);
    return load;
}

std::uint32_t ImportWinapp2(const std::string& chosen, const std::string& programFolder,
                            std::string& problem) {
    std::string bytes;
    std::uint32_t error = files::ReadWholeFile(chosen, kLargestRuleFile, bytes);
    if (error != 0) {
        problem = "The file " + chosen + " cannot be read (error " + std::to_string(error) + ").";
        return error;
    }
    if (ParseWinapp2(bytes).rules.empty()) {
        problem = "The file " + chosen + " holds no cleaning rules.";
        return ERROR_INVALID_DATA;
    }
    const std::string target = Winapp2FilePath(programFolder);
    if (Winapp2Canonical(chosen) == Winapp2Canonical(target)) {
        return 0;  // already the program's own rule file
    }
    const std::string temporary =
        target + "." + std::to_string(GetCurrentProcessId()) + ".importing";
    error = files::WriteWholeFile(temporary, bytes);
    if (error == 0) {
        error = files::MoveReplacing(files::ToLongPath(temporary), files::ToLongPath(target));
    }
    if (error != 0) {
        files::RemoveFile(files::ToLongPath(temporary));
        problem =
            "The rules cannot be copied to " + target + " (error " + std::to_string(error) + ").";
    }
    return error;
}

Winapp2Plan PlanWinapp2Rule(const Winapp2Rule& rule, const Winapp2Machine& machine,
                            Winapp2Lookups* lookups) {
    Winapp2Plan plan;
    plan.detected = Detected(rule, VariablesOf(machine), lookups);
    if (!plan.detected) {
        return plan;
    }
    const std::function<void(const std::string&)> refuse = [&](const std::string& why) {
        if (plan.refusal.empty()) {
            plan.refusal = why;
        }
    };
    refuse(rule.problem);
    if (!IsStorableTickName(rule.name)) {
        refuse("its name cannot be a key of the settings file");
    }
    for (const Winapp2FileKey& key : rule.fileKeys) {
        PlanFileKey(key, machine, plan, refuse, lookups);
    }
    for (const Winapp2Exclude& exclude : rule.excludes) {
        if (exclude.kind != Winapp2ExcludeKind::Reg) {
            PlanExclusion(exclude, machine, plan, refuse);
        }
    }
    for (const Winapp2RegKey& key : rule.regKeys) {
        refuse(RegKeyRefusal(key));
    }
    if (!plan.refusal.empty()) {
        plan.targets.clear();
    }
    return plan;
}

Counts CleanWinapp2Rule(const Winapp2Rule& rule, const Winapp2Plan& plan, Eraser& eraser) {
    Counts counts;
    if (!plan.detected || !plan.refusal.empty()) {
        return counts;
    }
    for (const Winapp2Target& target : plan.targets) {
        std::vector<std::string> patterns;
        for (const std::string& pattern : target.key->patterns) {
            patterns.push_back(Lowered(pattern));
        }
        FilePick pick;
        pick.recurse = target.key->recurse;
        pick.removeFolders = target.key->removeSelf;
        pick.selects = [&](std::wstring_view path, std::wstring_view name) {
            const std::string lowerName = Lowered(Narrow(name));
            return std::any_of(
                       patterns.begin(), patterns.end(),
                       [&](const std::string& p) { return Winapp2Matches(p, lowerName); }) &&
                   !IsFileExcluded(plan.exclusions, Lowered(files::ToDisplayPath(path)));
        };
        pick.keepsFolder = [&](std::wstring_view folder) {
            return IsFolderExcluded(plan.exclusions, Lowered(files::ToDisplayPath(folder)));
        };
        counts.bytes += eraser.DeletePickedFiles(target.folder, pick);
    }
    for (const Winapp2RegKey& key : rule.regKeys) {
        counts.registryKeys +=
            key.value ? CleanValue(key, rule.excludes, eraser)
                      : CleanKey(key.path.root, key.path.subKey, rule.excludes, eraser);
    }
    return counts;
}

std::vector<Winapp2Group> ListWinapp2(const Winapp2Rules& rules, const Winapp2Machine& machine) {
    Winapp2Lookups lookups;  // nothing changes the folders while the rules are listed
    std::map<std::string, Winapp2Group> groups;  // by lower-case name
    for (std::size_t index = 0; index < rules.rules.size(); ++index) {
        const Winapp2Rule& rule = rules.rules[index];
        const Winapp2Plan plan = PlanWinapp2Rule(rule, machine, &lookups);
        if (!plan.detected) {
            continue;
        }
        const std::string groupName = Winapp2GroupName(rule);
        Winapp2Group& group = groups[Lowered(groupName)];
        if (group.name.empty()) {
            group.name = groupName;
        }
        group.entries.push_back({index, rule.name, rule.warning, plan.refusal});
    }
    std::vector<Winapp2Group> list;
    for (auto& [key, group] : groups) {
        list.push_back(std::move(group));
    }
    return list;
}

bool IsWinapp2Ticked(const std::string& settingsFile, const std::string& name) {
    return IsStorableTickName(name) && ReadIniValue(settingsFile, kWinapp2Section, name) == "1";
}

void TickWinapp2(const std::string& settingsFile, const std::string& name, bool ticked) {
    if (IsStorableTickName(name)) {
        WriteIniValue(settingsFile, kWinapp2Section, name, ticked ? "1" : "0");
    }
}

void RunWinapp2Items(PassContext& context, const std::string& settingsFile, SharedValues& totals,
                     PassResult& result) {
    const Winapp2Load load = LoadWinapp2(Winapp2FilePath(context.dataFolder));
    if (load.rules.rules.empty()) {
        return;
    }
    Winapp2Machine machine;
    machine.Protect(context.programFolder);
    machine.Protect(context.dataFolder);
    for (const Winapp2Rule& rule : load.rules.rules) {
        if (!IsWinapp2Ticked(settingsFile, rule.name)) {
            continue;
        }
        const Winapp2Plan plan = PlanWinapp2Rule(rule, machine);
        if (!plan.detected) {
            continue;  // nothing of it on this machine (any more)
        }
        CarryOn([&] { context.ui.NoteItem(kWinapp2Section, rule.name); });
        CarryOn([&] { context.ui.AddRow(rule.name, "Cleaning " + rule.name); });
        CarryOn([&] { context.ui.PumpEvents(); });
        context.eraser.reporter().ResetTally();
        Counts counts;
        CarryOn([&] { counts = CleanWinapp2Rule(rule, plan, context.eraser); });
        totals.RegistryKeysTotal += counts.registryKeys;
        totals.BytesReleasedTotal += counts.bytes;
        const FailureTally& tally = context.eraser.reporter().tally();
        if (tally.failed > 0) {
            result.leftovers += tally.failed;
            ++result.itemsWithLeftovers;
        }
        const std::string status = plan.refusal.empty()
                                       ? ItemResultText("Done", tally.failed, tally.inUse)
                                       : "Refused: " + plan.refusal;
        CarryOn([&] { context.ui.SetRowStatus(status); });
    }
}

}  // namespace hm
