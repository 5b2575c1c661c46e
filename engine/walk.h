// The walk over folders that every file operation shares. All decisions are taken the same way
// whether the changes are made or only predicted; the walk sees the world through Changes, so a
// previewed walk skips what an earlier step would already have removed.
//
// Safety rules:
//  * a folder or file carrying the reparse-point attribute (junction, symbolic link, mount
//    point) is never descended into and never has its attributes changed; at most the link
//    itself is removed, never its target;
//  * only one folder's entries are held at a time per level: the walk never lists a whole tree.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/changes.h"
#include "engine/reporter.h"

namespace hm {

// What a walk over files selects.
struct FileSelector {
    // HiddenName: hidden files whose lower-cased name is the text; the only selector that leaves
    // the hidden attribute of the files it does not select alone.
    enum class By { Every, Name, Extension, Unclaimed, HiddenName };
    By by = By::Every;
    std::wstring text;  // the exact file name, or the extension (lower case by contract)
    // Unclaimed: the files this does not claim (by name) are selected.
    std::function<bool(std::wstring_view name)> claimed;
};

// Where an operation lets pending window events run.
enum class Yields { Never, PerFile, PerFileAndFolder };

// What a walk over a cleaning rule's folder selects, and which folders it must leave.
struct FilePick {
    // The file's path (the walk's form) and name; true when the file goes.
    std::function<bool(std::wstring_view path, std::wstring_view name)> selects;
    // A folder that stays even when nothing is left in it.
    std::function<bool(std::wstring_view folder)> keepsFolder;
    bool recurse = false;
    bool removeFolders = false;  // folders left empty go, the starting folder included
};

struct PickResult {
    double bytes = 0;   // sizes of the files selected, at every depth
    bool gone = false;  // the folder itself went (or would go)
};

struct TreeResult {
    double bytes = 0;
    std::uint32_t error = 0;  // why the folder itself stays (or would stay)
    Outcome outcome = Outcome::Removed;
};

class Walk {
public:
    Walk(Changes& changes, Reporter& reporter) : changes_(changes), reporter_(reporter) {}

    // Files of the folder (and, with recurse, of every folder below it) that the selector picks;
    // returns the sizes of those directly in the folder.
    double Files(std::wstring& folder, const FileSelector& selector, bool recurse, Yields yields);
    // Sub-folders anywhere below whose lower-cased name is folderName, each with its whole tree;
    // returns the tree sizes of those directly below the folder.
    double NamedFolders(std::wstring& folder, std::uint32_t attributes,
                        const std::wstring& folderName);
    // The folder with everything in it. Sizes are taken before each deletion is tried. Without
    // force, read-only files and folders stay, and so do the folders holding them.
    TreeResult DeleteTree(std::wstring& folder, std::uint32_t attributes, bool force);

    // Files the pick selects in the folder (and below it, with recurse); with removeFolders,
    // each folder left with nothing in it goes too, the folder itself included. Only the files
    // selected lose their attributes; links are neither entered nor removed.
    PickResult Picked(std::wstring& folder, const FilePick& pick);

    // Sets a hidden item's attributes to normal, which drops read-only and system too; returns
    // the attributes the item has afterwards. A link is left as it is.
    std::uint32_t Unhide(const std::wstring& path, std::uint32_t attributes);

    // Removes a folder link as a link; the outcome says whether it went.
    Outcome RemoveLink(const std::wstring& path, std::uint32_t& error);

private:
    // Deletes one selected file with the kill kind, which leaves a read-only file in place.
    void RemoveOneFile(const std::wstring& path, std::uint32_t attributes, std::uint64_t size);
    bool Selects(const FileSelector& selector, std::wstring_view name);
    const std::wstring& Lowered(std::wstring_view text);

    Changes& changes_;
    Reporter& reporter_;
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

}  // namespace hm
