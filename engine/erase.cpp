#include "engine/erase.h"

#include <windows.h>
#include <shlwapi.h>

#include <cwchar>
#include <memory>
#include <type_traits>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace hm {

// Paths are compared as the file system and the registry compare names: without regard to case.
struct Eraser::PreviewLedger {
    std::unordered_set<std::wstring> gone;     // files, folders, keys, values, sections
    std::unordered_set<std::wstring> emptied;  // folders that would be made again, empty

    static std::wstring Key(std::wstring_view path) {
        std::wstring key(path);
        if (!key.empty()) {
            CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
        }
        return key;
    }
    bool Contains(const std::wstring& path) const { return gone.count(Key(path)) != 0; }
    bool IsEmptied(const std::wstring& path) const { return emptied.count(Key(path)) != 0; }
    // The item itself or any folder or key above it is gone, or a folder above it was emptied.
    bool IsGone(const std::wstring& path) const {
        if (gone.empty() && emptied.empty()) {
            return false;
        }
        const std::wstring key = Key(path);
        if (gone.count(key) != 0) {
            return true;
        }
        for (size_t cut = key.find(L'\\'); cut != std::wstring::npos;
             cut = key.find(L'\\', cut + 1)) {
            const std::wstring above = key.substr(0, cut);
            if (gone.count(above) != 0 || emptied.count(above) != 0) {
                return true;
            }
        }
        return false;
    }
    void MarkGone(const std::wstring& path) { gone.insert(Key(path)); }
    void MarkEmptied(const std::wstring& path) {
        const std::wstring key = Key(path);
        gone.erase(key);
        emptied.insert(key);
    }
};

Eraser::Eraser(EraseMode mode, EraseObserver* observer)
    : mode_(mode),
      observer_(observer),
      ledger_(mode == EraseMode::Preview ? std::make_unique<PreviewLedger>() : nullptr) {}

Eraser::~Eraser() = default;

namespace {

using Ledger = Eraser::PreviewLedger;

constexpr double kWalkConstant = 10000;
constexpr std::uint32_t kKeyCount = 3;
constexpr std::uint32_t kTreeCount = 5;
constexpr std::uint32_t kValueCount = 1;

// Trace paths name the root the way people write it; the registry code elsewhere owns the
// full name table, this only needs the roots a cleaning item can name.
std::string RootName(RootKey root) {
    switch (root) {
        case kClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case kCurrentUser:
            return "HKEY_CURRENT_USER";
        case kLocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case kUsers:
            return "HKEY_USERS";
        case kPerformanceData:
            return "HKEY_PERFORMANCE_DATA";
        case kCurrentConfig:
            return "HKEY_CURRENT_CONFIG";
        case kDynData:
            return "HKEY_DYN_DATA";
        default:
            return {};
    }
}

// An empty sub-key names the root itself: a tree deletion there would empty the whole hive.
bool NamesRootItself(const std::string& subKey) {
    return subKey.find_first_not_of("\\ ") == std::string::npos;
}

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using KeyHandle = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

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

// What a walk over files selects.
struct FileSelector {
    enum class By { Every, Name, Extension };
    By by = By::Every;
    std::wstring text;  // the exact file name, or the extension as given (lower case by contract)
};

// Where an operation lets pending window events run.
enum class Yields { Never, PerFile, PerFileAndFolder };

struct TreeResult {
    double bytes = 0;
    std::uint32_t error = 0;  // why the folder itself stays (or would stay)
    bool leftovers = false;   // something inside stays; that item has been reported itself
};

// The machinery every operation shares. All decisions are taken the same way in both modes;
// only the calls that change something are left out in Preview, where their outcome is
// predicted from the attributes instead.
class Walk {
public:
    Walk(EraseMode mode, EraseObserver* observer, Ledger* ledger)
        : preview_(mode == EraseMode::Preview), observer_(observer), ledger_(ledger) {}

    bool preview() const { return preview_; }

    // Preview only: what an earlier step would already have removed is not there any more.
    bool Gone(const std::wstring& path) const {
        return ledger_ != nullptr && ledger_->Contains(path);
    }
    bool Emptied(const std::wstring& folder) const {
        return ledger_ != nullptr && ledger_->IsEmptied(folder);
    }
    void Forget(const std::wstring& path, std::uint32_t error) {
        if (ledger_ != nullptr && error == 0) {
            ledger_->MarkGone(path);
        }
    }

    // Paths are turned into text only when someone listens: a walk of many thousand files
    // should not pay for it otherwise.
    void Report(TraceKind kind, const std::wstring& path, double bytes, std::uint32_t error,
                const std::string& name = {}) {
        if (observer_ != nullptr) {
            ReportKey(kind, files::ToDisplayPath(path), error, name, bytes);
        }
    }

    void ReportKey(TraceKind kind, const std::string& path, std::uint32_t error,
                   const std::string& name = {}, double bytes = 0) {
        if (observer_ == nullptr) {
            return;
        }
        Trace trace;
        trace.kind = kind;
        trace.path = path;
        trace.name = name;
        trace.bytes = bytes;
        trace.removed = error == 0;
        trace.error = error;
        observer_->OnTrace(trace);
    }

    void LetEventsRun() {
        if (observer_ != nullptr) {
            observer_->OnYield();
        }
    }

    // The file operations set a hidden item's attributes to normal before looking at it, which
    // drops read-only and system too. Returns the attributes the item has afterwards.
    std::uint32_t Unhide(const std::wstring& path, std::uint32_t attributes) {
        if ((attributes & files::kHidden) == 0) {
            return attributes;
        }
        if (!preview_) {
            files::SetAttributes(path, files::kNormal);
        }
        return attributes & (files::kDirectory | files::kReparsePoint);
    }

    // Both single-file deletion kinds leave a read-only file in place; asking the file system
    // would only fail, so the attribute decides, which Preview can see as well.
    void RemoveOneFile(const std::wstring& path, std::uint32_t attributes, std::uint64_t size) {
        std::uint32_t error = 0;
        if ((attributes & files::kReadOnly) != 0) {
            error = files::kErrorAccessDenied;
        } else if (!preview_) {
            error = files::RemoveFile(path);
        }
        Report(TraceKind::File, path, static_cast<double>(size), error);
        Forget(path, error);
    }

    // A folder link goes as a link: removing it never reaches what it points at.
    std::uint32_t RemoveLink(const std::wstring& path) {
        return preview_ ? 0 : files::RemoveFolder(path);
    }

    // Sizes are taken before each deletion is tried, so the total is the tree's size as it was.
    // Without force, read-only files and folders stay, and so do the folders holding them.
    TreeResult DeleteTree(std::wstring& folder, std::uint32_t attributes, bool force);

    double Files(std::wstring& folder, const FileSelector& selector, bool recurse, Yields yields);
    double NamedFolders(std::wstring& folder, std::uint32_t attributes,
                        const std::wstring& folderName);

    bool Selects(const FileSelector& selector, std::wstring_view name) {
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
        }
        return false;
    }

    // Unicode-aware, so that "КЭШ" matches "кэш" as "CACHE" matches "cache".
    const std::wstring& Lowered(std::wstring_view text) {
        lowered_.assign(text);
        if (!lowered_.empty()) {
            CharLowerBuffW(lowered_.data(), static_cast<DWORD>(lowered_.size()));
        }
        return lowered_;
    }

private:
    bool preview_;
    EraseObserver* observer_;
    Ledger* ledger_;
    std::wstring lowered_;
};

// Appends "\name" to a path buffer and takes it off again when the scope ends, so that one
// buffer serves a whole walk.
class ChildPath {
public:
    ChildPath(std::wstring& path, std::wstring_view name) : path_(path), length_(path.size()) {
        path_ += L'\\';
        path_ += name;
    }
    ~ChildPath() { path_.resize(length_); }
    ChildPath(const ChildPath&) = delete;
    ChildPath& operator=(const ChildPath&) = delete;

private:
    std::wstring& path_;
    size_t length_;
};

TreeResult Walk::DeleteTree(std::wstring& folder, std::uint32_t attributes, bool force) {
    TreeResult result;
    // Only this folder's sub-folders are held while its files go; the walk never lists a tree.
    std::vector<std::pair<std::wstring, std::uint32_t>> subFolders;
    {
        files::FolderScan scan(folder);
        if (scan.error() != 0) {
            result.error = scan.error();
            return result;
        }
        const bool emptied = Emptied(folder);
        while (!emptied && scan.Next()) {
            ChildPath child(folder, scan.name());
            if (Gone(folder)) {
                continue;
            }
            if (scan.IsFolder()) {
                if (scan.IsLink()) {
                    const std::uint32_t error = RemoveLink(folder);
                    Forget(folder, error);
                    if (error != 0) {
                        Report(TraceKind::Folder, folder, 0, error);
                        result.leftovers = true;
                    }
                } else {
                    subFolders.emplace_back(scan.name(), scan.attributes());
                }
                continue;
            }
            std::uint32_t fileAttributes = scan.attributes();
            constexpr std::uint32_t kBlocking = files::kReadOnly | files::kHidden | files::kSystem;
            if (force && (fileAttributes & kBlocking) != 0 && !scan.IsLink()) {
                if (!preview_) {
                    files::SetAttributes(folder, files::kNormal);
                }
                fileAttributes = files::kNormal;
            }
            const double size = static_cast<double>(scan.size());
            result.bytes += size;
            std::uint32_t error = 0;
            if ((fileAttributes & files::kReadOnly) != 0) {
                error = files::kErrorAccessDenied;
            } else if (!preview_) {
                error = files::RemoveFile(folder);
            }
            Forget(folder, error);
            if (error != 0) {
                Report(TraceKind::File, folder, size, error);
                result.leftovers = true;
            }
        }
    }
    for (const auto& [name, subAttributes] : subFolders) {
        ChildPath child(folder, name);
        const TreeResult sub = DeleteTree(folder, subAttributes, force);
        result.bytes += sub.bytes;
        if (sub.error != 0) {
            result.leftovers = true;
            // A folder that stays only because of what stays inside it adds nothing to know.
            if (!sub.leftovers) {
                Report(TraceKind::Folder, folder, sub.bytes, sub.error);
            }
        }
    }
    if (result.leftovers) {
        result.error = files::kErrorDirNotEmpty;
    } else if ((attributes & files::kReadOnly) != 0 && !force) {
        result.error = files::kErrorAccessDenied;
    } else if (!preview_) {
        if (force && (attributes & (files::kReadOnly | files::kHidden | files::kSystem)) != 0) {
            files::SetAttributes(folder, files::kNormal);
        }
        result.error = files::RemoveFolder(folder);
    }
    Forget(folder, result.error);
    return result;
}

double Walk::Files(std::wstring& folder, const FileSelector& selector, bool recurse,
                   Yields yields) {
    double total = 0;
    std::vector<std::wstring> subFolders;
    {
        files::FolderScan scan(folder);
        if (scan.error() != 0 || Emptied(folder)) {
            return 0;
        }
        while (scan.Next()) {
            if (ledger_ != nullptr) {
                ChildPath child(folder, scan.name());
                if (Gone(folder)) {
                    continue;
                }
            }
            if (scan.IsFolder()) {
                if (recurse && !scan.IsLink()) {
                    subFolders.emplace_back(scan.name());
                }
                continue;
            }
            {
                ChildPath child(folder, scan.name());
                // A file link's attributes are not ours to change: on some systems that
                // reaches the file it points at.
                const std::uint32_t attributes =
                    scan.IsLink() ? scan.attributes() : Unhide(folder, scan.attributes());
                if (Selects(selector, scan.name())) {
                    total += static_cast<double>(scan.size());
                    RemoveOneFile(folder, attributes, scan.size());
                }
            }
            if (yields != Yields::Never) {
                LetEventsRun();
            }
        }
    }
    for (const std::wstring& name : subFolders) {
        {
            ChildPath child(folder, name);
            Files(folder, selector, recurse, yields);
        }
        if (yields == Yields::PerFileAndFolder) {
            LetEventsRun();
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
        if (scan.error() != 0 || Emptied(folder)) {
            return 0;
        }
        while (scan.Next()) {
            if (!scan.IsFolder()) {
                continue;
            }
            // The folder being searched is unhidden, not the sub-folders it holds.
            attributes = Unhide(folder, attributes);
            ChildPath child(folder, scan.name());
            if (Gone(folder)) {
                continue;
            }
            if (Lowered(scan.name()) == folderName) {
                if (scan.IsLink()) {
                    const std::uint32_t error = RemoveLink(folder);
                    Forget(folder, error);
                    Report(TraceKind::Folder, folder, 0, error);
                } else {
                    const TreeResult tree = DeleteTree(folder, scan.attributes(), false);
                    total += tree.bytes;
                    Report(TraceKind::Folder, folder, tree.bytes, tree.error);
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

// The folder in the form the walk uses, or empty when the operation must not act at all: a
// relative path comes from a failed lookup ("Error\Mozilla", "\Mozilla") and would resolve
// against whatever the current folder happens to be.
std::wstring UsablePath(const std::string& folder) {
    if (!IsAbsolutePath(folder)) {
        return {};
    }
    return files::ToLongPath(folder);
}

// The folder a walk starts from, or empty when there is nothing to walk. A link given as the
// starting folder is refused like one met inside a tree: its contents belong elsewhere.
std::wstring WalkableFolder(const std::string& folder, std::uint32_t& attributes,
                            const Ledger* ledger) {
    std::wstring path = UsablePath(folder);
    files::Info info;
    if (path.empty() || (ledger != nullptr && ledger->IsGone(path)) ||
        files::QueryInfo(path, info) != 0 || (info.attributes & files::kDirectory) == 0 ||
        (info.attributes & files::kReparsePoint) != 0) {
        return {};
    }
    attributes = info.attributes;
    return path;
}

double WalkFiles(EraseMode mode, EraseObserver* observer, Ledger* ledger, const std::string& folder,
                 FileSelector selector, bool recurse, Yields yields) {
    std::uint32_t attributes = 0;
    std::wstring path = WalkableFolder(folder, attributes, ledger);
    if (path.empty()) {
        return 0;
    }
    Walk walk(mode, observer, ledger);
    return walk.Files(path, selector, recurse, yields);
}

FileSelector ByName(const std::string& fileName) {
    return {FileSelector::By::Name, Widen(fileName)};
}

FileSelector ByExtension(const std::string& extension) {
    return {FileSelector::By::Extension, Widen(extension)};
}

// Ledger entries for things that are not files: a prefix keeps them apart from paths.
std::wstring KeyEntry(const std::string& rootName, const std::string& subKey) {
    return L"reg:" + Widen(rootName + "\\" + subKey);
}
std::wstring ValueEntry(const std::string& rootName, const std::string& subKey,
                        const std::string& value) {
    return L"val:" + Widen(rootName + "\\" + subKey) + L"|" + Widen(value);
}

}  // namespace

std::uint32_t Eraser::DeleteRegKey(RootKey root, const std::string& subKey) {
    const std::string rootName = RootName(root);
    if (rootName.empty() || NamesRootItself(subKey)) {
        return kKeyCount;
    }
    Walk walk(mode_, observer_, ledger_.get());
    const HKEY parent = ToHkey(root);
    const std::wstring wide = Widen(subKey);
    bool existed = false;
    std::uint32_t error = 0;
    if (walk.preview()) {
        RegKey key;
        existed = key.Open(parent, subKey, KEY_READ) == ERROR_SUCCESS &&
                  !ledger_->IsGone(KeyEntry(rootName, subKey));
        DWORD subKeys = 0;
        if (existed &&
            RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
            subKeys > 0) {
            // Deleting by name leaves a key that still has sub-keys.
            error = ERROR_ACCESS_DENIED;
        }
    } else {
        // The key is opened with create semantics, so a missing key is made and deleted again.
        HKEY opened = nullptr;
        DWORD disposition = 0;
        const LONG created = RegCreateKeyExW(parent, wide.c_str(), 0, nullptr, 0, KEY_READ, nullptr,
                                             &opened, &disposition);
        const KeyHandle key(created == ERROR_SUCCESS ? opened : nullptr);
        existed = created == ERROR_SUCCESS && disposition == REG_OPENED_EXISTING_KEY;
        error = static_cast<std::uint32_t>(RegDeleteKeyW(parent, wide.c_str()));
        if (error == ERROR_FILE_NOT_FOUND) {
            existed = false;
        } else if (created != ERROR_SUCCESS) {
            // Not ours to open, yet there: a key that could not be opened still existed.
            existed = true;
        }
    }
    if (existed) {
        walk.ReportKey(TraceKind::RegistryKey, rootName + "\\" + subKey, error);
        walk.Forget(KeyEntry(rootName, subKey), error);
    }
    return kKeyCount;
}

std::uint32_t Eraser::DeleteRegTree(RootKey root, const std::string& subKey) {
    const std::string rootName = RootName(root);
    if (rootName.empty() || NamesRootItself(subKey)) {
        return kTreeCount;
    }
    Walk walk(mode_, observer_, ledger_.get());
    const HKEY parent = ToHkey(root);
    RegKey probe;
    const LONG opened = probe.Open(parent, subKey, KEY_READ);
    probe.Close();
    if (opened == ERROR_FILE_NOT_FOUND ||
        (ledger_ != nullptr && ledger_->IsGone(KeyEntry(rootName, subKey)))) {
        return kTreeCount;
    }
    std::uint32_t error = 0;
    if (!walk.preview()) {
        error = static_cast<std::uint32_t>(SHDeleteKeyW(parent, Widen(subKey).c_str()));
    }
    walk.ReportKey(TraceKind::RegistryTree, rootName + "\\" + subKey, error);
    walk.Forget(KeyEntry(rootName, subKey), error);
    return kTreeCount;
}

std::uint32_t Eraser::DeleteRegValue(RootKey root, const std::string& subKey,
                                     const std::string& value) {
    const std::string rootName = RootName(root);
    if (rootName.empty()) {
        return kValueCount;
    }
    Walk walk(mode_, observer_, ledger_.get());
    RegKey key;
    const REGSAM access = walk.preview() ? KEY_QUERY_VALUE : KEY_QUERY_VALUE | KEY_SET_VALUE;
    if (key.Open(ToHkey(root), subKey, access) != ERROR_SUCCESS) {
        return kValueCount;
    }
    const std::wstring name = Widen(value);
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
        return kValueCount;
    }
    if (ledger_ != nullptr && (ledger_->IsGone(KeyEntry(rootName, subKey)) ||
                               ledger_->Contains(ValueEntry(rootName, subKey, value)))) {
        return kValueCount;
    }
    std::uint32_t error = 0;
    if (!walk.preview()) {
        error = static_cast<std::uint32_t>(RegDeleteValueW(key.get(), name.c_str()));
    }
    const std::string path = subKey.empty() ? rootName : rootName + "\\" + subKey;
    walk.ReportKey(TraceKind::RegistryValue, path, error, value);
    walk.Forget(ValueEntry(rootName, subKey, value), error);
    return kValueCount;
}

void Eraser::DeleteIniSection(const std::string& file, const std::string& section) {
    const std::wstring longPath = UsablePath(file);
    if (longPath.empty()) {
        return;
    }
    // The profile functions take ordinary full paths; a relative one would mean the Windows
    // folder to them.
    const std::wstring path = Widen(files::ToDisplayPath(longPath));
    const std::wstring wanted = Widen(section);
    // Writing to a file without the section would be a no-op at best; on some systems it
    // creates the file. So the section must be there first, and Preview asks the same.
    std::vector<wchar_t> names(4096);
    for (;;) {
        const DWORD length = GetPrivateProfileSectionNamesW(
            names.data(), static_cast<DWORD>(names.size()), path.c_str());
        if (length + 2 < names.size()) {
            names.resize(length + 1);
            names.push_back(L'\0');
            break;
        }
        names.resize(names.size() * 2);
    }
    bool found = false;
    for (const wchar_t* name = names.data(); *name != L'\0'; name += wcslen(name) + 1) {
        if (CompareStringOrdinal(name, -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL) {
            found = true;
            break;
        }
    }
    const std::wstring entry = L"ini:" + longPath + L"|" + wanted;
    if (!found ||
        (ledger_ != nullptr && (ledger_->Contains(entry) || ledger_->IsGone(longPath)))) {
        return;
    }
    Walk walk(mode_, observer_, ledger_.get());
    std::uint32_t error = 0;
    if (!walk.preview() &&
        !WritePrivateProfileStringW(wanted.c_str(), nullptr, nullptr, path.c_str())) {
        error = static_cast<std::uint32_t>(GetLastError());
    }
    walk.Report(TraceKind::IniSection, longPath, 0, error, section);
    walk.Forget(entry, error);
}

double Eraser::DeleteFolderFiles(const std::string& folder) {
    return WalkFiles(mode_, observer_, ledger_.get(), folder, {}, true, Yields::Never) +
           kWalkConstant;
}

double Eraser::DeleteNamedFiles(const std::string& folder, const std::string& fileName) {
    return WalkFiles(mode_, observer_, ledger_.get(), folder, ByName(fileName), true,
                     Yields::PerFileAndFolder) +
           kWalkConstant;
}

double Eraser::DeleteFilesByExtension(const std::string& folder, const std::string& extension) {
    return WalkFiles(mode_, observer_, ledger_.get(), folder, ByExtension(extension), true,
                     Yields::Never) +
           kWalkConstant;
}

double Eraser::DeleteNamedFolders(const std::string& folder, const std::string& folderName) {
    std::uint32_t attributes = 0;
    std::wstring path = WalkableFolder(folder, attributes, ledger_.get());
    if (path.empty()) {
        return kWalkConstant;
    }
    Walk walk(mode_, observer_, ledger_.get());
    return walk.NamedFolders(path, attributes, Widen(folderName)) + kWalkConstant;
}

double Eraser::ResetFolder(const std::string& folder) {
    std::wstring path = UsablePath(folder);
    if (path.empty() || IsVolumeRoot(path)) {
        return 0;
    }
    Walk walk(mode_, observer_, ledger_.get());
    Ledger* ledger = ledger_.get();
    files::Info info;
    if (files::QueryInfo(path, info) != 0 || (ledger != nullptr && ledger->IsGone(path))) {
        // A missing folder is made, when its parent exists.
        if (!walk.preview()) {
            files::CreateFolder(path);
        } else {
            // The folder would be made when its parent is (still) there.
            const std::wstring parent = path.substr(0, path.rfind(L'\\'));
            files::Info parentInfo;
            if (files::QueryInfo(parent, parentInfo) == 0 && !ledger->IsGone(parent)) {
                ledger->MarkEmptied(path);
            }
        }
        return 0;
    }
    if ((info.attributes & files::kDirectory) == 0) {
        return 0;
    }
    if ((info.attributes & files::kReparsePoint) != 0) {
        // Resetting a link means replacing the link, never emptying what it points at.
        const std::uint32_t error = walk.RemoveLink(path);
        walk.Report(TraceKind::Folder, path, 0, error);
        if (!walk.preview() && error == 0) {
            files::CreateFolder(path);
        } else if (ledger != nullptr && error == 0) {
            ledger->MarkEmptied(path);
        }
        return 0;
    }
    const std::uint32_t attributes = walk.Unhide(path, info.attributes);
    const TreeResult tree = walk.DeleteTree(path, attributes, true);
    walk.Report(TraceKind::Folder, path, tree.bytes, tree.error);
    if (!walk.preview()) {
        files::CreateFolder(path);
    } else if (tree.error == 0) {
        ledger->MarkEmptied(path);
    }
    return tree.bytes;
}

double Eraser::DeleteFilesInFolder(const std::string& folder) {
    return WalkFiles(mode_, observer_, ledger_.get(), folder, {}, false, Yields::Never);
}

double Eraser::DeleteNamedFilesInFolder(const std::string& folder, const std::string& fileName) {
    return WalkFiles(mode_, observer_, ledger_.get(), folder, ByName(fileName), false,
                     Yields::PerFile);
}

double Eraser::DeleteFilesByExtensionInFolder(const std::string& folder,
                                              const std::string& extension) {
    return WalkFiles(mode_, observer_, ledger_.get(), folder, ByExtension(extension), false,
                     Yields::PerFile);
}

void Eraser::DeleteAtReboot(const std::string& file) {
    const std::wstring path = UsablePath(file);
    if (path.empty()) {
        return;
    }
    Walk walk(mode_, observer_, ledger_.get());
    files::Info info;
    const double bytes = files::QueryInfo(path, info) == 0 ? static_cast<double>(info.size) : 0;
    const std::uint32_t error = walk.preview() ? 0 : files::DeleteAtNextBoot(path);
    walk.Report(TraceKind::RebootDelete, path, bytes, error);
}

}  // namespace hm
