#include "regclean/fix_rules.h"

#include <algorithm>

namespace hm::regclean {
namespace {

// Deeper than any key Windows allows a path for; a loop in a fake or damaged hive ends here.
constexpr int kMaxDepth = 512;

constexpr const char* kMruListName = "MRUList";

RegSection& SectionFor(std::vector<RegSection>& sections, const std::string& key) {
    for (RegSection& section : sections) {
        if (section.key == key) {
            return section;
        }
    }
    sections.push_back(RegSection{key, {}});
    return sections.back();
}

void AddValue(RegSection& section, const RegValue& value) {
    const bool present = std::any_of(section.values.begin(), section.values.end(),
                                     [&](const RegValue& held) { return held.name == value.name; });
    if (!present) {
        section.values.push_back(value);
    }
}

void Merge(std::vector<RegSection>& into, const std::vector<RegSection>& from) {
    for (const RegSection& section : from) {
        RegSection& target = SectionFor(into, section.key);
        for (const RegValue& value : section.values) {
            AddValue(target, value);
        }
    }
}

bool ReadTree(RegistryAccess& registry, const std::string& key, int depth,
              std::vector<RegSection>& sections) {
    RegSection section{key, {}};
    std::vector<std::string> names;
    if (depth > kMaxDepth || !registry.Values(key, section.values) ||
        !registry.SubKeys(key, names)) {
        return false;
    }
    sections.push_back(std::move(section));
    return std::all_of(names.begin(), names.end(), [&](const std::string& name) {
        return ReadTree(registry, key + "\\" + name, depth + 1, sections);
    });
}

const RegValue* Find(const std::vector<RegValue>& values, std::string_view name) {
    for (const RegValue& value : values) {
        if (value.name == name) {
            return &value;
        }
    }
    return nullptr;
}

// The finding's own part of the backup; false when something it changes cannot be read exactly.
bool ReadChanges(const Finding& finding, RegistryAccess& registry, std::vector<RegSection>& own) {
    for (const Change& change : finding.changes) {
        if (change.kind == Change::Kind::DeleteKey) {
            if (!ReadTree(registry, change.key, 0, own)) {
                return false;
            }
            continue;
        }
        std::vector<RegValue> values;
        registry.Values(change.key, values);
        const bool mru = change.kind == Change::Kind::DropMruLetter;
        const RegValue* value = Find(values, mru ? kMruListName : change.value);
        if (value != nullptr) {
            AddValue(SectionFor(own, change.key), *value);
        } else if (!mru) {
            return false;  // gone meanwhile, or a name this program cannot address
        }
    }
    return true;
}

bool Apply(const Change& change, RegistryAccess& registry) {
    switch (change.kind) {
        case Change::Kind::DeleteValue:
            return registry.DeleteValue(change.key, change.value);
        case Change::Kind::DeleteKey:
            return registry.DeleteTree(change.key);
        case Change::Kind::DropMruLetter: {
            std::vector<RegValue> values;
            registry.Values(change.key, values);
            const RegValue* order = Find(values, kMruListName);
            if (order == nullptr || change.value.size() != 1) {
                return true;
            }
            RegValue rewritten = *order;
            rewritten.data = MruWithout(order->data, change.value[0]);
            return rewritten.data == order->data || registry.SetValue(change.key, rewritten);
        }
    }
    return false;
}

bool Restorable(const std::string& key) {
    return std::any_of(std::begin(kRestorableRoots), std::end(kRestorableRoots),
                       [&](std::string_view root) {
                           return key == root || key.starts_with(std::string(root) + "\\");
                       });
}

}  // namespace

FixPlan PlanFix(const std::vector<Finding>& chosen, RegistryAccess& registry) {
    FixPlan plan;
    for (const Finding& finding : chosen) {
        std::vector<RegSection> own;
        if (ReadChanges(finding, registry, own) && !EncodeRegFile(own).empty()) {
            Merge(plan.backup, own);
            plan.fixes.push_back(finding);
        } else {
            plan.leftAlone.push_back(finding);
        }
    }
    return plan;
}

FixResult ApplyFix(const FixPlan& plan, RegistryAccess& registry) {
    FixResult result;
    for (const Finding& finding : plan.fixes) {
        bool ok = true;
        for (const Change& change : finding.changes) {
            ok = Apply(change, registry) && ok;
        }
        (ok ? result.fixed : result.failed).push_back(finding);
    }
    return result;
}

RestoreResult RestoreBackup(std::string_view fileBytes, RegistryAccess& registry) {
    RestoreResult result;
    const RegFile file = DecodeRegFile(fileBytes);
    if (!file.ok) {
        result.error = file.error;
        return result;
    }
    for (const RegSection& section : file.sections) {
        if (!Restorable(section.key)) {
            result.error =
                "the key " + section.key + " is outside HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE";
            return result;
        }
    }
    result.ok = true;
    for (const RegSection& section : file.sections) {
        if (!registry.CreateKey(section.key)) {
            result.failures.push_back(section.key);
            continue;
        }
        ++result.keys;
        for (const RegValue& value : section.values) {
            if (registry.SetValue(section.key, value)) {
                ++result.values;
            } else {
                result.failures.push_back(section.key + "\\" +
                                          (value.name.empty() ? "@" : value.name));
            }
        }
    }
    return result;
}

}  // namespace hm::regclean
