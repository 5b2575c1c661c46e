// The erase operations every cleaning item is built from, and the other changes its special
// steps make. Each operation takes plain paths and names, never raises an error, and returns what
// the pass adds to its counters: registry operations a fixed count, file operations a byte total.
//
// Every change goes through the Changes given (engine/changes.h): made in an erasing pass,
// predicted and remembered in a preview, which then changes nothing (no deletion, no attribute
// change, no key, no process) yet returns what the erasing pass would return and reports,
// through the observer, each thing it would remove or start.
//
// Safety rules that hold in both modes:
//  * a folder or file carrying the reparse-point attribute (junction, symbolic link, mount
//    point) is never descended into; at most the link itself is removed, never its target;
//  * a path that is not absolute (see IsAbsolutePath), or that holds a NUL character, makes a
//    file or profile operation do nothing and return its constant part: such paths come from
//    failed lookups or damaged registry values;
//  * paths of any length and names outside the ANSI code page are handled.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/changes.h"
#include "engine/reporter.h"
#include "engine/trace.h"
#include "engine/walk.h"
#include "platform/regfun.h"

namespace hm {

enum class EraseMode { Erase, Preview };

class Eraser {
public:
    // letEventsRun is called wherever an operation lets pending window events run.
    Eraser(EraseMode mode, EraseObserver* observer = nullptr,
           std::function<void()> letEventsRun = {});
    Eraser(std::unique_ptr<Changes> changes, EraseObserver* observer,
           std::function<void()> letEventsRun = {});
    ~Eraser();
    Eraser(const Eraser&) = delete;
    Eraser& operator=(const Eraser&) = delete;

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

    // Registers the file for deletion at the next restart of Windows. A missing file is left
    // alone: there is nothing to schedule.
    enum class Scheduled { NoFile, Yes, Failed };
    Scheduled DeleteAtReboot(const std::string& file);

    // One file, deleted without force (a read-only file stays); returns its size, counted
    // before the deletion is tried; 0 when it is not there.
    double DeleteFileItself(const std::string& file);
    // One folder with everything in it, without force (read-only items, and the folders that hold
    // them, stay); returns the size of its whole tree. A drive or share root is refused, and a
    // link is removed as a link.
    double DeleteFolderItself(const std::string& folder);

    // Hidden files of the given name (compared without regard to case) at every depth below the
    // folder. Only the files it selects lose their attributes; returns their sizes.
    double DeleteHiddenNamedFiles(const std::string& folder, const std::string& fileName);

    // Every file directly in the folder that keep() does not claim; keep() receives the file's
    // path as the folder given plus "\" plus its name. Lets window events run after each file;
    // returns the sizes of the files it selected, no constant part.
    double DeleteFilesInFolderExcept(const std::string& folder,
                                     const std::function<bool(const std::string& path)>& keep);

    // The files below the folder that the pick selects (engine/walk.h), each reported; with
    // pick.removeFolders the folders left empty go too, the folder itself included, unless the
    // pick keeps them. Only the files selected are unhidden; links are never entered. Lets
    // window events run after each file; returns the sizes of the files selected, at every
    // depth. A drive or share root is never removed.
    double DeletePickedFiles(const std::string& folder, const FilePick& pick);

    // The other changes of the special steps, each reported like a deletion.
    // Makes the key (and missing parents) if it is not there.
    void CreateRegKey(RootKey root, const std::string& subKey);
    // Writes a string value into an existing key.
    void SetRegString(RootKey root, const std::string& subKey, const std::string& name,
                      const std::string& text);
    // Starts a program; 0 when it started (and, when asked to wait, has ended).
    std::uint32_t Launch(LaunchRequest request);
    void EmptyClipboard();
    void EmptyRecycleBins();
    void ClearRecentDocuments();
    void ClearUrlHistory();
    // Removes rows from a database (engine/database_cleaning.h) and reports it as one trace
    // with the bytes the database shrank by; returns them.
    double CleanDatabase(const std::string& path, const DatabaseCleaning& cleaning);

    // The world as this pass sees it (see Changes).
    const Changes& view() const { return *changes_; }
    // What stayed against the system's will since the tally was last reset.
    Reporter& reporter() { return reporter_; }

private:
    std::unique_ptr<Changes> changes_;
    Reporter reporter_;
};

}  // namespace hm
