// Overwriting files in place and removing them for good: the file shredder (Tessaro.exe and
// "hushmark-cli shred") and the cleaning pass's secure mode share this unit. Paths are in the
// "\\?\" form of files::ToLongPath.
//
// Every change goes through a handle opened on the item itself (never on what a link points
// at) and checked before anything is written: it must be a plain file (or folder) of the disk,
// carry no reparse point, and its final path must be its folder's final path plus its own name.
// An item that fails the check is a link, or is reached through one (some systems open a link's
// target even when asked for the link), and is refused with files::kErrorLinkNotAddressable:
// overwriting it would overwrite what the link points at.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace hm::shred {

inline constexpr int kDefaultPasses = 1;
inline constexpr int kMaxPasses = 3;

// The caller's progress callback asked to stop (ERROR_CANCELLED). The file is kept as it is,
// partly overwritten.
inline constexpr std::uint32_t kErrorStopped = 1223;

// Told the bytes written to the file so far and the bytes the whole overwrite will write (its
// allocated length, every stream, every pass); returns false to stop.
using Progress = std::function<bool(std::uint64_t written, std::uint64_t total)>;

struct Overwrite {
    int passes = kDefaultPasses;  // each pass writes fresh random data and is flushed to the disk
    Progress progress;            // may be empty
};

// Overwrites the whole allocated length of a plain file, and of each of its alternate data
// streams, with random data, flushing every pass to the disk; the file keeps its name and its
// attributes. Fails, changing nothing, where the file is in use by another program (one that
// writes to it or does not let it be deleted) or cannot be opened for writing (a read-only
// file included). The cleaning pass calls this before it deletes a file.
std::uint32_t OverwriteInPlace(const std::wstring& path, const Overwrite& how);

struct FileOutcome {
    std::uint32_t error = 0;   // 0: the file is gone
    bool overwritten = false;  // every pass reached the disk
    bool renamed = false;      // the name was replaced by random ones before the deletion
};

// The shredder's treatment of one file: read-only, hidden and system attributes are cleared,
// the file is overwritten as above, truncated to nothing, renamed several times to random names
// of the same folder so that its name leaves the folder, and deleted. Where the file cannot be
// opened for writing, it is left as it was, its attributes included.
FileOutcome ShredFile(const std::wstring& path, const Overwrite& how);

// Removes a link (junction, symbolic link, mount point) as itself; what it points at is not
// touched. Fails with files::kErrorLinkNotAddressable where the system cannot open the link
// itself.
std::uint32_t RemoveLink(const std::wstring& path);

// Removes an empty folder, giving it a random name first so that its own name leaves its
// parent; a folder that is not empty stays, under its name, with ERROR_DIR_NOT_EMPTY.
std::uint32_t RemoveEmptyFolder(const std::wstring& path);

// The path as the system resolves it, every link on the way followed ("\\?\" form, no trailing
// backslash); empty when it does not exist or cannot be opened.
std::wstring ResolvedPath(const std::wstring& longPath);

}  // namespace hm::shred
