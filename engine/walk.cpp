#include "engine/walk.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "platform/files.h"

namespace hm {

std::uint32_t Walk::Unhide(const std::wstring& path, std::uint32_t attributes) {
    if ((attributes & files::kHidden) == 0 || (attributes & files::kReparsePoint) != 0) {
        return attributes;
    }
    changes_.ClearAttributes(path);
    return attributes & (files::kDirectory | files::kReparsePoint);
}

Outcome Walk::RemoveLink(const std::wstring& path, std::uint32_t& error) {
    error = changes_.RemoveFolder(path, true);
    return OutcomeOf(error);
}

void Walk::RemoveOneFile(const std::wstring& path, std::uint32_t attributes, std::uint64_t size) {
    std::uint32_t error = files::kErrorAccessDenied;
    Outcome outcome = Outcome::KeptByRule;
    // Both single-file deletion kinds leave a read-only file in place; asking the file system
    // would only fail, so the attribute decides.
    if ((attributes & files::kReadOnly) == 0) {
        error = changes_.RemoveFile(path, (attributes & files::kReparsePoint) != 0);
        outcome = OutcomeOf(error);
    }
    reporter_.ReportPath(TraceKind::File, path, static_cast<double>(size), outcome, error);
}

bool Walk::Selects(const FileSelector& selector, std::wstring_view name) {
    switch (selector.by) {
        case FileSelector::By::Every:
            return true;
        case FileSelector::By::Name:
            return name == selector.text;
        case FileSelector::By::Extension: {
            const size_t dot = name.rfind(L'.');
            // A name without a dot has the empty extension.
            const std::wstring_view extension =
                dot == std::wstring_view::npos ? std::wstring_view{} : name.substr(dot + 1);
            return Lowered(extension) == selector.text;
        }
        case FileSelector::By::Unclaimed:
            return !selector.claimed || !selector.claimed(name);
        case FileSelector::By::HiddenName:
            return Lowered(name) == selector.text;
    }
    return false;
}

// Unicode-aware, so that "КЭШ" matches "кэш" as "CACHE" matches "cache".
const std::wstring& Walk::Lowered(std::wstring_view text) {
    lowered_.assign(text);
    if (!lowered_.empty()) {
        CharLowerBuffW(lowered_.data(), static_cast<DWORD>(lowered_.size()));
    }
    return lowered_;
}

TreeResult Walk::DeleteTree(std::wstring& folder, std::uint32_t attributes, bool force) {
    TreeResult result;
    bool leftovers = false;  // something inside stays; that item has been reported itself
    // Only this folder's sub-folders are held while its files go; the walk never lists a tree.
    std::vector<std::pair<std::wstring, std::uint32_t>> subFolders;
    {
        files::FolderScan scan(folder);
        if (scan.error() != 0) {
            result.error = scan.error();
            result.outcome = Outcome::Failed;
            return result;
        }
        const bool emptied = changes_.IsEmptied(folder);
        while (!emptied && scan.Next()) {
            ChildPath child(folder, scan.name());
            if (changes_.IsGone(folder)) {
                continue;
            }
            if (scan.IsFolder()) {
                if (scan.IsLink()) {
                    std::uint32_t error = 0;
                    if (RemoveLink(folder, error) != Outcome::Removed) {
                        reporter_.ReportPath(TraceKind::Folder, folder, 0, Outcome::Failed, error);
                        leftovers = true;
                    }
                } else {
                    subFolders.emplace_back(scan.name(), scan.attributes());
                }
                continue;
            }
            std::uint32_t fileAttributes = scan.attributes();
            constexpr std::uint32_t kBlocking = files::kReadOnly | files::kHidden | files::kSystem;
            if (force && (fileAttributes & kBlocking) != 0 && !scan.IsLink()) {
                changes_.ClearAttributes(folder);
                fileAttributes = files::kNormal;
            }
            const double size = static_cast<double>(scan.size());
            result.bytes += size;
            std::uint32_t error = files::kErrorAccessDenied;
            Outcome outcome = Outcome::KeptByRule;
            if ((fileAttributes & files::kReadOnly) == 0) {
                error = changes_.RemoveFile(folder, scan.IsLink());
                outcome = OutcomeOf(error);
            }
            if (outcome != Outcome::Removed) {
                reporter_.ReportPath(TraceKind::File, folder, size, outcome, error);
                leftovers = true;
            } else {
                // Not reported one by one: the folder's trace stands for them.
                reporter_.CountRemoved(size);
            }
        }
    }
    for (const auto& [name, subAttributes] : subFolders) {
        ChildPath child(folder, name);
        const TreeResult sub = DeleteTree(folder, subAttributes, force);
        result.bytes += sub.bytes;
        if (sub.outcome != Outcome::Removed) {
            leftovers = true;
            // A folder that stays only because of what stays inside it adds nothing to know.
            if (sub.outcome != Outcome::KeptWithContents) {
                reporter_.ReportPath(TraceKind::Folder, folder, sub.bytes, sub.outcome, sub.error);
            }
        }
    }
    if (leftovers) {
        result.error = files::kErrorDirNotEmpty;
        result.outcome = Outcome::KeptWithContents;
    } else if ((attributes & files::kReadOnly) != 0 && !force) {
        result.error = files::kErrorAccessDenied;
        result.outcome = Outcome::KeptByRule;
    } else {
        if (force && (attributes & (files::kReadOnly | files::kHidden | files::kSystem)) != 0) {
            changes_.ClearAttributes(folder);
        }
        result.error = changes_.RemoveFolder(folder, false);
        result.outcome = OutcomeOf(result.error);
    }
    return result;
}

double Walk::Files(std::wstring& folder, const FileSelector& selector, bool recurse,
                   Yields yields) {
    double total = 0;
    std::vector<std::wstring> subFolders;
    {
        files::FolderScan scan(folder);
        if (scan.error() != 0 || changes_.IsEmptied(folder)) {
            return 0;
        }
        while (scan.Next()) {
            ChildPath child(folder, scan.name());
            if (changes_.IsGone(folder)) {
                continue;
            }
            if (scan.IsFolder()) {
                if (recurse && !scan.IsLink()) {
                    subFolders.emplace_back(scan.name());
                }
                continue;
            }
            // A hidden file is made normal before it is looked at, except in the search for one
            // hidden name, which must leave every other file as it is.
            std::uint32_t attributes = scan.attributes();
            bool selected = false;
            if (selector.by == FileSelector::By::HiddenName) {
                selected = (attributes & files::kHidden) != 0 && Selects(selector, scan.name());
                if (selected) {
                    attributes = Unhide(folder, attributes);
                }
            } else {
                attributes = Unhide(folder, attributes);
                selected = Selects(selector, scan.name());
            }
            if (selected) {
                total += static_cast<double>(scan.size());
                RemoveOneFile(folder, attributes, scan.size());
            }
            if (yields != Yields::Never) {
                reporter_.LetEventsRun();
            }
        }
    }
    for (const std::wstring& name : subFolders) {
        {
            ChildPath child(folder, name);
            Files(folder, selector, recurse, yields);
        }
        if (yields == Yields::PerFileAndFolder) {
            reporter_.LetEventsRun();
        }
    }
    return total;
}

double Walk::NamedFolders(std::wstring& folder, std::uint32_t attributes,
                          const std::wstring& folderName) {
    double total = 0;
    std::vector<std::pair<std::wstring, std::uint32_t>> descend;
    {
        files::FolderScan scan(folder);
        if (scan.error() != 0 || changes_.IsEmptied(folder)) {
            return 0;
        }
        while (scan.Next()) {
            if (!scan.IsFolder()) {
                continue;
            }
            // The folder being searched is unhidden, not the sub-folders it holds.
            attributes = Unhide(folder, attributes);
            ChildPath child(folder, scan.name());
            if (changes_.IsGone(folder)) {
                continue;
            }
            if (Lowered(scan.name()) == folderName) {
                if (scan.IsLink()) {
                    std::uint32_t error = 0;
                    const Outcome outcome = RemoveLink(folder, error);
                    reporter_.ReportPath(TraceKind::Folder, folder, 0, outcome, error);
                } else {
                    const TreeResult tree = DeleteTree(folder, scan.attributes(), false);
                    total += tree.bytes;
                    reporter_.ReportPath(TraceKind::Folder, folder, tree.bytes, tree.outcome,
                                         tree.error);
                }
            } else if (!scan.IsLink()) {
                descend.emplace_back(scan.name(), scan.attributes());
            }
        }
    }
    // A matched folder is not searched again, even where part of it had to stay: the tree
    // deletion has already removed every match inside it that could go.
    for (const auto& [name, subAttributes] : descend) {
        ChildPath child(folder, name);
        NamedFolders(folder, subAttributes, folderName);
    }
    return total;
}

PickResult Walk::Picked(std::wstring& folder, const FilePick& pick) {
    PickResult result;
    bool leftovers = false;  // something stays in the folder, so the folder stays too
    std::vector<std::wstring> subFolders;
    {
        files::FolderScan scan(folder);
        if (scan.error() != 0) {
            return result;
        }
        const bool emptied = changes_.IsEmptied(folder);
        while (!emptied && scan.Next()) {
            ChildPath child(folder, scan.name());
            if (changes_.IsGone(folder)) {
                continue;
            }
            if (scan.IsFolder()) {
                if (pick.recurse && !scan.IsLink()) {
                    subFolders.emplace_back(scan.name());
                } else {
                    leftovers = true;
                }
                continue;
            }
            if (!pick.selects || !pick.selects(folder, scan.name())) {
                leftovers = true;
                continue;
            }
            const std::uint32_t attributes = Unhide(folder, scan.attributes());
            const double size = static_cast<double>(scan.size());
            result.bytes += size;
            std::uint32_t error = files::kErrorAccessDenied;
            Outcome outcome = Outcome::KeptByRule;
            if ((attributes & files::kReadOnly) == 0) {
                error = changes_.RemoveFile(folder, scan.IsLink());
                outcome = OutcomeOf(error);
            }
            reporter_.ReportPath(TraceKind::File, folder, size, outcome, error);
            leftovers = leftovers || outcome != Outcome::Removed;
            reporter_.LetEventsRun();
        }
    }
    for (const std::wstring& name : subFolders) {
        ChildPath child(folder, name);
        const PickResult sub = Picked(folder, pick);
        result.bytes += sub.bytes;
        leftovers = leftovers || !sub.gone;
    }
    if (pick.removeFolders && !leftovers && !(pick.keepsFolder && pick.keepsFolder(folder))) {
        const std::uint32_t error = changes_.RemoveFolder(folder, false);
        reporter_.ReportPath(TraceKind::Folder, folder, 0, OutcomeOf(error), error);
        result.gone = error == 0;
    }
    return result;
}

}  // namespace hm
