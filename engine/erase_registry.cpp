// The registry and profile-file operations of the eraser.
#include <windows.h>

#include "config/inifun.h"
#include "engine/erase.h"
#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace hm {
namespace {

constexpr std::uint32_t kKeyCount = 3;
constexpr std::uint32_t kTreeCount = 5;
constexpr std::uint32_t kValueCount = 1;

// An empty sub-key names the root itself: a deletion there would empty the whole hive.
bool NamesRootItself(const std::string& subKey) {
    return subKey.find_first_not_of("\\ ") == std::string::npos;
}

bool IsMissing(LONG status) {
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

std::string KeyPath(const std::string& rootName, const std::string& subKey) {
    return subKey.empty() ? rootName : rootName + "\\" + subKey;
}

// Sub-keys that are still there as this pass sees them.
bool HasSubKeys(const RegKey& key, RootKey root, const std::string& subKey, const Changes& view) {
    std::vector<std::string> names;
    if (key.SubKeyNames(names) != ERROR_SUCCESS) {
        return false;
    }
    for (const std::string& name : names) {
        if (!view.IsKeyGone(root, subKey + "\\" + name)) {
            return true;
        }
    }
    return false;
}

bool SameSection(const std::string& a, const std::string& b) {
    return CompareStringOrdinal(Widen(a).c_str(), -1, Widen(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

std::uint32_t Eraser::DeleteRegKey(RootKey root, const std::string& subKey) {
    const std::string rootName = RootKeyName(root);
    if (rootName.empty() || NamesRootItself(subKey) || changes_->IsKeyGone(root, subKey)) {
        return kKeyCount;
    }
    // Opened without create semantics: a missing key is not made, and nothing changes.
    RegKey key;
    const LONG opened = key.Open(ToHkey(root), subKey, KEY_READ);
    if (IsMissing(opened)) {
        return kKeyCount;
    }
    std::uint32_t error = 0;
    Outcome outcome = Outcome::KeptByRule;
    if (opened == ERROR_SUCCESS && HasSubKeys(key, root, subKey, *changes_)) {
        // Deleting by name leaves a key that still has sub-keys.
        error = ERROR_ACCESS_DENIED;
    } else {
        key.Close();
        error = changes_->DeleteKey(root, subKey);
        outcome = OutcomeOf(error);
    }
    reporter_.Report(TraceKind::RegistryKey, KeyPath(rootName, subKey), 0, outcome, error);
    return kKeyCount;
}

std::uint32_t Eraser::DeleteRegTree(RootKey root, const std::string& subKey) {
    const std::string rootName = RootKeyName(root);
    if (rootName.empty() || NamesRootItself(subKey) || changes_->IsKeyGone(root, subKey)) {
        return kTreeCount;
    }
    RegKey probe;
    if (IsMissing(probe.Open(ToHkey(root), subKey, KEY_READ))) {
        return kTreeCount;
    }
    probe.Close();
    const std::uint32_t error = changes_->DeleteTree(root, subKey);
    reporter_.Report(TraceKind::RegistryTree, KeyPath(rootName, subKey), 0, OutcomeOf(error),
                     error);
    return kTreeCount;
}

std::uint32_t Eraser::DeleteRegValue(RootKey root, const std::string& subKey,
                                     const std::string& value) {
    const std::string rootName = RootKeyName(root);
    if (rootName.empty() || changes_->IsValueGone(root, subKey, value)) {
        return kValueCount;
    }
    RegKey key;
    if (key.Open(ToHkey(root), subKey, KEY_QUERY_VALUE) != ERROR_SUCCESS || !key.HasValue(value)) {
        return kValueCount;
    }
    key.Close();
    const std::uint32_t error = changes_->DeleteValue(root, subKey, value);
    reporter_.Report(TraceKind::RegistryValue, KeyPath(rootName, subKey), 0, OutcomeOf(error),
                     error, value);
    return kValueCount;
}

void Eraser::CreateRegKey(RootKey root, const std::string& subKey) {
    const std::string rootName = RootKeyName(root);
    if (rootName.empty() || NamesRootItself(subKey)) {
        return;
    }
    const std::uint32_t error = changes_->CreateKey(root, subKey);
    reporter_.Report(TraceKind::RegistryWrite, KeyPath(rootName, subKey), 0, OutcomeOf(error),
                     error);
}

void Eraser::SetRegString(RootKey root, const std::string& subKey, const std::string& name,
                          const std::string& text) {
    const std::string rootName = RootKeyName(root);
    if (rootName.empty()) {
        return;
    }
    const std::uint32_t error = changes_->SetString(root, subKey, name, text);
    reporter_.Report(TraceKind::RegistryWrite, KeyPath(rootName, subKey), 0, OutcomeOf(error),
                     error, name);
}

void Eraser::DeleteIniSection(const std::string& file, const std::string& section) {
    if (!IsAbsolutePath(file)) {
        return;
    }
    const std::wstring longPath = files::OnDiskCase(files::ToLongPath(file));
    if (longPath.empty() || changes_->IsSectionGone(longPath, section)) {
        return;
    }
    // The profile functions take ordinary full paths; a relative one would mean the Windows
    // folder to them.
    const std::string path = files::ToDisplayPath(longPath);
    // Writing to a file without the section would be a no-op at best; on some systems it
    // creates the file. So the section must be there first.
    bool found = false;
    for (const std::string& name : ReadIniSectionNames(path)) {
        found = found || SameSection(name, section);
    }
    if (!found) {
        return;
    }
    const std::uint32_t error = changes_->RemoveIniSection(path, section);
    reporter_.Report(TraceKind::IniSection, path, 0, OutcomeOf(error), error, section);
}

}  // namespace hm
