// Thin adapter over the Win32 file system: folder enumeration with a scoped handle, attributes,
// sizes, deletion and creation. Paths here are UTF-16 in the "\\?\" form that ToLongPath makes,
// so that names outside the ANSI code page and paths longer than MAX_PATH work everywhere.
//
// Every call reports the Win32 error code it ended with (0 for success) instead of throwing;
// callers that carry on after a failure just look at it or ignore it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace hm::files {

// File attribute bits as the file system reports them.
inline constexpr std::uint32_t kReadOnly = 0x1;
inline constexpr std::uint32_t kHidden = 0x2;
inline constexpr std::uint32_t kSystem = 0x4;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kNormal = 0x80;
inline constexpr std::uint32_t kReparsePoint = 0x400;

// Win32 error codes the callers tell apart or report themselves.
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorDirNotEmpty = 145;

// The "\\?\" form of an absolute path ("\\?\UNC\server\share\..." for a share), after the
// system's own normalisation of "..", "." and "/", which the "\\?\" form would otherwise turn
// off. A trailing backslash is dropped, so callers can append "\" and a name. Empty when the
// text is not a path the system can make full, or when it holds a NUL character (the system
// would read only the part before it, a different and wider path).
std::wstring ToLongPath(std::string_view path);

// The form people read: UTF-8, without the "\\?\" prefix.
std::string ToDisplayPath(std::wstring_view longPath);

// One folder's entries, one at a time ("." and ".." skipped). Attributes and sizes come from
// the enumeration itself, so walking a tree costs no extra call per entry. The folder may be
// changed while it is being scanned; entries removed meanwhile may or may not still appear.
class FolderScan {
public:
    explicit FolderScan(const std::wstring& folder);
    ~FolderScan();
    FolderScan(const FolderScan&) = delete;
    FolderScan& operator=(const FolderScan&) = delete;

    // 0 when the folder could be opened (an empty folder included).
    std::uint32_t error() const { return error_; }

    // Moves to the next entry; false at the end.
    bool Next();

    std::wstring_view name() const;
    std::uint32_t attributes() const;
    std::uint64_t size() const;
    bool IsFolder() const { return (attributes() & kDirectory) != 0; }
    // Junctions, symbolic links and mount points: their contents belong to another tree.
    bool IsLink() const { return (attributes() & kReparsePoint) != 0; }

private:
    struct State;
    std::unique_ptr<State> state_;
    std::uint32_t error_ = 0;
};

struct Info {
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
};

inline constexpr std::uint32_t kErrorInvalidName = 123;
inline constexpr std::uint32_t kErrorSharingViolation = 32;
inline constexpr std::uint32_t kErrorLockViolation = 33;
// The system opened something other than the item named: a link it can only follow.
inline constexpr std::uint32_t kErrorLinkNotAddressable = 1920;  // ERROR_CANT_ACCESS_FILE
// Not a file of the disk (a pipe or device the file system lists among files).
inline constexpr std::uint32_t kErrorNotDiskFile = 50;  // ERROR_NOT_SUPPORTED

// Attributes and size of one file or folder.
std::uint32_t QueryInfo(const std::wstring& path, Info& info);

// Sets the item's attributes to normal through a handle of the item itself. An item that is a
// link (or that the system can reach only through a link) is refused: changing it would change
// what the link points at.
std::uint32_t ClearAttributes(const std::wstring& path);

// One file or folder held open for deletion. The handle names the item itself: a link is opened
// as the link, and where the system could only open what a link points at, Open fails with
// kErrorLinkNotAddressable. Opening fails as the deletion itself would where the item is in use
// without delete sharing, or where its name cannot be used. Nothing changes until Delete. A pass
// removes links this way, and a preview opens every item this way to foresee its removal.
class DeletionCandidate {
public:
    DeletionCandidate() = default;
    ~DeletionCandidate();
    DeletionCandidate(const DeletionCandidate&) = delete;
    DeletionCandidate& operator=(const DeletionCandidate&) = delete;

    // isLink: the folder listing showed the item with the reparse-point attribute.
    std::uint32_t Open(const std::wstring& path, bool isLink);
    // Deletes the item and lets the handle go. A folder must be empty (a folder link need not).
    std::uint32_t Delete();

private:
    void Close();
    void* handle_ = nullptr;
};

// Deletes one file, or removes one empty folder, by path. For an item the listing showed as a
// plain file or folder; a link is removed through a DeletionCandidate, which makes sure it is the
// link that goes. (Deleting by path costs the system about a third of the handle route, which
// counts in folders of many thousand files.)
std::uint32_t RemoveFile(const std::wstring& path);
std::uint32_t RemoveFolder(const std::wstring& path);

// Creates one folder; its parent must exist.
std::uint32_t CreateFolder(const std::wstring& path);
// Registers the file for deletion when Windows next starts.
std::uint32_t DeleteAtNextBoot(const std::wstring& path);
// Renames a file over another in one step (the other is replaced, never left half-written).
std::uint32_t MoveReplacing(const std::wstring& from, const std::wstring& to);
// Whether DeleteAtNextBoot may succeed: the system keeps that list where only administrators
// may write.
std::uint32_t CanDeleteAtNextBoot();

// The total size of the files below a folder, at every depth; links are counted as themselves and
// not followed. Fails when the path is no folder.
std::uint32_t TreeSize(const std::wstring& folder, std::uint64_t& size);

// A small file read whole into bytes; fails (and leaves bytes as it was) when the file is missing,
// is no file of the disk, or is larger than the limit. path is an ordinary UTF-8 path.
std::uint32_t ReadWholeFile(const std::string& path, std::uint64_t limit, std::string& bytes);
// At most the first limit bytes of a file of the disk, and its whole size.
std::uint32_t ReadFileHead(const std::string& path, std::uint64_t limit, std::string& bytes,
                           std::uint64_t& fileSize);
// Creates or truncates the file and writes the bytes.
std::uint32_t WriteWholeFile(const std::string& path, const std::string& bytes);

// The path with each existing part spelled as the file system stores it, so that two spellings
// of one folder compare equal. Parts that do not exist are left as given.
std::wstring OnDiskCase(const std::wstring& longPath);

}  // namespace hm::files

namespace hm {

// True when the path names an existing folder (a folder link included); UTF-8, any length. A
// relative path is taken relative to the current folder.
bool IsFolder(std::string_view path);

}  // namespace hm
