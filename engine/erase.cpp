#include "engine/erase.h"

#include <utility>

#include "engine/walk.h"
#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm {
namespace {

constexpr double kWalkConstant = 10000;

// A drive or share root can never be removed itself, so resetting one could only empty it.
bool IsVolumeRoot(std::wstring_view longPath) {
    constexpr std::wstring_view kUnc = L"\\\\?\\UNC\\";
    constexpr std::wstring_view kLocal = L"\\\\?\\";
    if (longPath.substr(0, kUnc.size()) == kUnc) {
        const std::wstring_view rest = longPath.substr(kUnc.size());
        const size_t server = rest.find(L'\\');
        return server == std::wstring_view::npos ||
               rest.find(L'\\', server + 1) == std::wstring_view::npos;
    }
    const std::wstring_view rest = longPath.substr(kLocal.size());
    return rest.size() <= 2;
}

// The path in the form the walk uses, spelled as the file system stores it, or empty when the
// operation must not act at all: a relative path comes from a failed lookup ("Error\Mozilla",
// "\Mozilla") and would resolve against whatever the current folder happens to be.
std::wstring UsablePath(const std::string& path) {
    if (!IsAbsolutePath(path)) {
        return {};
    }
    const std::wstring longPath = files::ToLongPath(path);
    return longPath.empty() ? longPath : files::OnDiskCase(longPath);
}

// The folder a walk starts from, or empty when there is nothing to walk. A link given as the
// starting folder is refused like one met inside a tree: its contents belong elsewhere.
std::wstring WalkableFolder(const std::string& folder, const Changes& view,
                            std::uint32_t& attributes) {
    std::wstring path = UsablePath(folder);
    files::Info info;
    if (path.empty() || view.IsGone(path) || files::QueryInfo(path, info) != 0 ||
        (info.attributes & files::kDirectory) == 0 ||
        (info.attributes & files::kReparsePoint) != 0) {
        return {};
    }
    attributes = info.attributes;
    return path;
}

FileSelector ByName(const std::string& fileName) {
    return {FileSelector::By::Name, Widen(fileName), {}};
}

FileSelector ByExtension(const std::string& extension) {
    return {FileSelector::By::Extension, Widen(extension), {}};
}

}  // namespace

Eraser::Eraser(EraseMode mode, EraseObserver* observer, std::function<void()> letEventsRun)
    : Eraser(mode == EraseMode::Preview ? MakeDryRunChanges() : MakeRealChanges(), observer,
             std::move(letEventsRun)) {}

Eraser::Eraser(std::unique_ptr<Changes> changes, EraseObserver* observer,
               std::function<void()> letEventsRun)
    : changes_(std::move(changes)), reporter_(observer, std::move(letEventsRun)) {}

Eraser::~Eraser() = default;

namespace {

double WalkFiles(Changes& changes, Reporter& reporter, const std::string& folder,
                 const FileSelector& selector, bool recurse, Yields yields) {
    std::uint32_t attributes = 0;
    std::wstring path = WalkableFolder(folder, changes, attributes);
    if (path.empty()) {
        return 0;
    }
    Walk walk(changes, reporter);
    return walk.Files(path, selector, recurse, yields);
}

}  // namespace

double Eraser::DeleteFolderFiles(const std::string& folder) {
    return WalkFiles(*changes_, reporter_, folder, {}, true, Yields::Never) + kWalkConstant;
}

double Eraser::DeleteNamedFiles(const std::string& folder, const std::string& fileName) {
    return WalkFiles(*changes_, reporter_, folder, ByName(fileName), true,
                     Yields::PerFileAndFolder) +
           kWalkConstant;
}

double Eraser::DeleteFilesByExtension(const std::string& folder, const std::string& extension) {
    return WalkFiles(*changes_, reporter_, folder, ByExtension(extension), true, Yields::Never) +
           kWalkConstant;
}

double Eraser::DeleteNamedFolders(const std::string& folder, const std::string& folderName) {
    std::uint32_t attributes = 0;
    std::wstring path = WalkableFolder(folder, *changes_, attributes);
    if (path.empty()) {
        return kWalkConstant;
    }
    Walk walk(*changes_, reporter_);
    return walk.NamedFolders(path, attributes, Widen(folderName)) + kWalkConstant;
}

double Eraser::ResetFolder(const std::string& folder) {
    std::wstring path = UsablePath(folder);
    if (path.empty() || IsVolumeRoot(path)) {
        return 0;
    }
    Walk walk(*changes_, reporter_);
    files::Info info;
    if (files::QueryInfo(path, info) != 0 || changes_->IsGone(path)) {
        // A missing folder is made, when its parent exists.
        changes_->MakeFolder(path);
        return 0;
    }
    if ((info.attributes & files::kDirectory) == 0) {
        return 0;
    }
    if ((info.attributes & files::kReparsePoint) != 0) {
        // Resetting a link means replacing the link, never emptying what it points at.
        std::uint32_t error = 0;
        const Outcome outcome = walk.RemoveLink(path, error);
        reporter_.ReportPath(TraceKind::Folder, path, 0, outcome, error);
        if (outcome == Outcome::Removed) {
            changes_->MakeFolder(path);
        }
        return 0;
    }
    const std::uint32_t attributes = walk.Unhide(path, info.attributes);
    const TreeResult tree = walk.DeleteTree(path, attributes, true);
    reporter_.ReportPath(TraceKind::Folder, path, tree.bytes, tree.outcome, tree.error);
    changes_->MakeFolder(path);
    return tree.bytes;
}

double Eraser::DeleteFilesInFolder(const std::string& folder) {
    return WalkFiles(*changes_, reporter_, folder, {}, false, Yields::Never);
}

double Eraser::DeleteNamedFilesInFolder(const std::string& folder, const std::string& fileName) {
    return WalkFiles(*changes_, reporter_, folder, ByName(fileName), false, Yields::PerFile);
}

double Eraser::DeleteFilesByExtensionInFolder(const std::string& folder,
                                              const std::string& extension) {
    return WalkFiles(*changes_, reporter_, folder, ByExtension(extension), false, Yields::PerFile);
}

Eraser::Scheduled Eraser::DeleteAtReboot(const std::string& file) {
    const std::wstring path = UsablePath(file);
    files::Info info;
    if (path.empty() || changes_->IsGone(path) || files::QueryInfo(path, info) != 0) {
        return Scheduled::NoFile;
    }
    const std::uint32_t error = changes_->DeleteAtReboot(path);
    reporter_.ReportPath(TraceKind::RebootDelete, path, static_cast<double>(info.size),
                         OutcomeOf(error), error);
    return error == 0 ? Scheduled::Yes : Scheduled::Failed;
}

double Eraser::DeleteFileItself(const std::string& file) {
    const std::wstring path = UsablePath(file);
    files::Info info;
    if (path.empty() || changes_->IsGone(path) || files::QueryInfo(path, info) != 0 ||
        (info.attributes & files::kDirectory) != 0) {
        return 0;
    }
    // Without force, a read-only file stays; nothing is unhidden first.
    std::uint32_t error = files::kErrorAccessDenied;
    Outcome outcome = Outcome::KeptByRule;
    if ((info.attributes & files::kReadOnly) == 0) {
        error = changes_->RemoveFile(path, (info.attributes & files::kReparsePoint) != 0);
        outcome = OutcomeOf(error);
    }
    reporter_.ReportPath(TraceKind::File, path, static_cast<double>(info.size), outcome, error);
    return static_cast<double>(info.size);
}

double Eraser::DeleteFolderItself(const std::string& folder) {
    std::wstring path = UsablePath(folder);
    files::Info info;
    if (path.empty() || IsVolumeRoot(path) || changes_->IsGone(path) ||
        files::QueryInfo(path, info) != 0 || (info.attributes & files::kDirectory) == 0) {
        return 0;
    }
    Walk walk(*changes_, reporter_);
    if ((info.attributes & files::kReparsePoint) != 0) {
        std::uint32_t error = 0;
        const Outcome outcome = walk.RemoveLink(path, error);
        reporter_.ReportPath(TraceKind::Folder, path, 0, outcome, error);
        return 0;
    }
    const TreeResult tree = walk.DeleteTree(path, info.attributes, false);
    reporter_.ReportPath(TraceKind::Folder, path, tree.bytes, tree.outcome, tree.error);
    return tree.bytes;
}

double Eraser::DeleteHiddenNamedFiles(const std::string& folder, const std::string& fileName) {
    FileSelector selector;
    selector.by = FileSelector::By::HiddenName;
    selector.text = Widen(AsciiLower(fileName));
    return WalkFiles(*changes_, reporter_, folder, selector, true, Yields::PerFile);
}

double Eraser::DeleteFilesInFolderExcept(const std::string& folder,
                                         const std::function<bool(const std::string&)>& keep) {
    FileSelector selector;
    selector.by = FileSelector::By::Unclaimed;
    const std::string prefix = folder + "\\";
    selector.claimed = [&](std::wstring_view name) { return keep(prefix + Narrow(name)); };
    return WalkFiles(*changes_, reporter_, folder, selector, false, Yields::PerFile);
}

double Eraser::DeletePickedFiles(const std::string& folder, const FilePick& pick) {
    std::uint32_t attributes = 0;
    std::wstring path = WalkableFolder(folder, *changes_, attributes);
    if (path.empty()) {
        return 0;
    }
    FilePick walkPick = pick;
    walkPick.removeFolders = pick.removeFolders && !IsVolumeRoot(path);
    Walk walk(*changes_, reporter_);
    return walk.Picked(path, walkPick).bytes;
}

}  // namespace hm
