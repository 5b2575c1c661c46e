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
// text is not a path the system can make full.
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

// Attributes and size of one file or folder.
std::uint32_t QueryInfo(const std::wstring& path, Info& info);
std::uint32_t SetAttributes(const std::wstring& path, std::uint32_t attributes);
// Deletes one file (or a file link, never its target).
std::uint32_t RemoveFile(const std::wstring& path);
// Removes one empty folder, or a folder link without touching what it points at.
std::uint32_t RemoveFolder(const std::wstring& path);
// Creates one folder; its parent must exist.
std::uint32_t CreateFolder(const std::wstring& path);
// Registers the file for deletion when Windows next starts.
std::uint32_t DeleteAtNextBoot(const std::wstring& path);

}  // namespace hm::files

namespace hm {

// True when the path names an existing folder (a folder link included); UTF-8, any length. A
// relative path is taken relative to the current folder.
bool IsFolder(std::string_view path);

}  // namespace hm
