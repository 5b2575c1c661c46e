// The erase operations every cleaning item is built from. Each takes plain paths and names,
// never raises an error, and returns what the pass adds to its counters: registry operations a
// fixed count, file operations a byte total.
//
// One code path serves two modes. In Preview nothing changes (no deletion, no attribute change,
// no key creation), yet every operation returns exactly what Erase would return and reports,
// through the observer, each file, folder, key, value and section it would remove.
//
// Safety rules that hold in both modes:
//  * a folder or file carrying the reparse-point attribute (junction, symbolic link, mount
//    point) is never descended into; at most the link itself is removed, never its target;
//  * a path that is not absolute (see IsAbsolutePath) makes a file or profile operation do
//    nothing and return its constant part: such paths come from failed lookups;
//  * paths of any length and names outside the ANSI code page are handled.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/regfun.h"

namespace hm {

enum class EraseMode { Erase, Preview };

enum class TraceKind {
    File,
    Folder,
    RegistryKey,
    RegistryTree,
    RegistryValue,
    IniSection,
    RebootDelete
};

// One thing an operation removed (Erase), tried to remove and could not (removed == false), or
// would remove (Preview; removed tells whether the deletion would succeed, as far as can be told
// without trying).
struct Trace {
    TraceKind kind = TraceKind::File;
    std::string path;  // file or folder path; "HKEY_...\sub\key" for registry; profile file path
    std::string name;  // registry value name or profile section; empty otherwise
    double bytes = 0;  // file size, or a folder's whole-tree size
    bool removed = false;
    std::uint32_t error = 0;  // system error code when not removed
};

class EraseObserver {
public:
    virtual ~EraseObserver() = default;
    virtual void OnTrace(const Trace& trace) = 0;
    // Where an operation lets pending window events run.
    virtual void OnYield() {}
};

class Eraser {
public:
    explicit Eraser(EraseMode mode, EraseObserver* observer = nullptr);
    ~Eraser();
    Eraser(const Eraser&) = delete;
    Eraser& operator=(const Eraser&) = delete;

    EraseMode mode() const { return mode_; }

    // Registry: counts 3, 5 and 1, always.
    std::uint32_t DeleteRegKey(RootKey root, const std::string& subKey);
    std::uint32_t DeleteRegTree(RootKey root, const std::string& subKey);
    std::uint32_t DeleteRegValue(RootKey root, const std::string& subKey, const std::string& value);

    void DeleteIniSection(const std::string& file, const std::string& section);

    // Recursive: delete at every depth, return the sizes found directly in the folder + 10000.
    double DeleteFolderFiles(const std::string& folder);
    double DeleteNamedFiles(const std::string& folder, const std::string& fileName);
    double DeleteFilesByExtension(const std::string& folder, const std::string& extension);
    double DeleteNamedFolders(const std::string& folder, const std::string& folderName);

    // The folder's whole tree goes and the folder is made again, empty.
    double ResetFolder(const std::string& folder);

    // This folder only; no constant part.
    double DeleteFilesInFolder(const std::string& folder);
    double DeleteNamedFilesInFolder(const std::string& folder, const std::string& fileName);
    double DeleteFilesByExtensionInFolder(const std::string& folder, const std::string& extension);

    // Registers the file for deletion at the next restart of Windows.
    void DeleteAtReboot(const std::string& file);

    // In Preview, what earlier operations of this eraser would have removed; later operations
    // treat it as gone, so a previewed pass finds what the real pass would find.
    struct PreviewLedger;

private:
    EraseMode mode_;
    EraseObserver* observer_;
    std::unique_ptr<PreviewLedger> ledger_;
};

}  // namespace hm
