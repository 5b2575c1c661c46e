#include "platform/shred.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/handles.h"
#include "platform/shred_overwrite.h"

namespace hm::shred {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr int kRenames = 3;
constexpr std::size_t kLongestRandomName = 128;
// Found a folder where a file was listed (ERROR_DIRECTORY_NOT_SUPPORTED, which not every SDK
// names).
constexpr std::uint32_t kErrorFolderNotFile = 336;

std::uint32_t LastError() {
    return static_cast<std::uint32_t>(GetLastError());
}

bool HoldsNul(std::wstring_view path) {
    return path.find(L'\0') != std::wstring_view::npos;
}

std::wstring FinalPathOf(HANDLE item) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(item, path.data(), static_cast<DWORD>(path.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            // A volume's root folder comes back as "\\?\C:\"; its items are joined with one "\".
            while (!path.empty() && path.back() == L'\\') {
                path.pop_back();
            }
            return path;
        }
        path.resize(length + 1);
    }
}

// The final path of the folder an item lives in. The last answer is kept: the items of one
// folder come one after the other. A folder swapped for a link meanwhile only makes the
// comparison stricter, as its items then resolve elsewhere.
std::uint32_t FolderFinalPath(const std::wstring& folder, std::wstring& finalPath) {
    thread_local std::wstring lastFolder;
    thread_local std::wstring lastFinal;
    if (!lastFolder.empty() && folder == lastFolder) {
        finalPath = lastFinal;
        return 0;
    }
    // "\\?\C:" would be the volume, and a share is opened as its root folder: both need the
    // backslash.
    constexpr std::wstring_view kUnc = L"\\\\?\\UNC\\";
    const bool unc = std::wstring_view(folder).substr(0, kUnc.size()) == kUnc;
    const bool root = unc ? std::count(folder.begin() + kUnc.size(), folder.end(), L'\\') < 2
                          : folder.back() == L':';
    const ScopedHandle handle(CreateFileW((root ? folder + L'\\' : folder).c_str(),
                                          FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.valid()) {
        return LastError();
    }
    std::wstring resolved = FinalPathOf(handle.get());
    if (resolved.empty()) {
        return LastError() != 0 ? LastError() : ERROR_NOT_SUPPORTED;
    }
    lastFolder = folder;
    lastFinal = resolved;
    finalPath = std::move(resolved);
    return 0;
}

enum class Kind { File, Folder };

struct Checked {
    ScopedHandle handle;
    std::uint32_t attributes = 0;
    std::wstring finalPath;  // of the item, as the system resolves it
};

// Opens the item itself and makes sure it is what the path names: of the kind expected, no
// link, a file of the disk, and found where the path says.
std::uint32_t OpenChecked(const std::wstring& path, DWORD access, DWORD share, Kind kind,
                          Checked& checked) {
    if (HoldsNul(path)) {
        return files::kErrorInvalidName;
    }
    const size_t cut = path.rfind(L'\\');
    if (cut == std::wstring::npos || cut + 1 >= path.size() || cut < 6) {
        return files::kErrorInvalidName;
    }
    const DWORD flags =
        FILE_FLAG_OPEN_REPARSE_POINT | (kind == Kind::Folder ? FILE_FLAG_BACKUP_SEMANTICS : 0);
    ScopedHandle handle(
        CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, flags, nullptr));
    if (!handle.valid()) {
        return LastError();
    }
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(handle.get(), FileBasicInfo, &basic, sizeof basic)) {
        return LastError();
    }
    if ((basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return files::kErrorLinkNotAddressable;
    }
    const bool isFolder = (basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (kind == Kind::File && isFolder) {
        return kErrorFolderNotFile;
    }
    if (kind == Kind::Folder && !isFolder) {
        return ERROR_DIRECTORY;
    }
    if (kind == Kind::File && GetFileType(handle.get()) != FILE_TYPE_DISK) {
        return files::kErrorNotDiskFile;
    }
    std::wstring finalPath = FinalPathOf(handle.get());
    if (finalPath.empty()) {
        return LastError() != 0 ? LastError() : ERROR_NOT_SUPPORTED;
    }
    std::wstring folderFinal;
    const std::uint32_t error = FolderFinalPath(path.substr(0, cut), folderFinal);
    if (error != 0) {
        return error;
    }
    // The folder part resolves the same way on both sides; the name must be the item's own,
    // letter case included, or the handle reached something else.
    const std::wstring_view name = std::wstring_view(path).substr(cut + 1);
    const size_t finalCut = finalPath.rfind(L'\\');
    const bool sameFolder =
        finalCut != std::wstring::npos &&
        CompareStringOrdinal(finalPath.c_str(), static_cast<int>(finalCut), folderFinal.c_str(),
                             static_cast<int>(folderFinal.size()), TRUE) == CSTR_EQUAL;
    if (!sameFolder || std::wstring_view(finalPath).substr(finalCut + 1) != name) {
        return files::kErrorLinkNotAddressable;
    }
    checked.handle = std::move(handle);
    checked.attributes = basic.FileAttributes;
    checked.finalPath = std::move(finalPath);
    return 0;
}

std::uint32_t SetAttributes(HANDLE item, std::uint32_t attributes) {
    FILE_BASIC_INFO basic{};  // zero times: left as they are
    basic.FileAttributes = attributes;
    return SetFileInformationByHandle(item, FileBasicInfo, &basic, sizeof basic) ? 0 : LastError();
}

bool IsDeviceName(std::wstring_view name) {
    if (name.size() == 3) {
        return name == L"con" || name == L"prn" || name == L"aux" || name == L"nul";
    }
    return name.size() == 4 && (name.substr(0, 3) == L"com" || name.substr(0, 3) == L"lpt") &&
           name[3] >= L'1' && name[3] <= L'9';
}

std::wstring RandomName(size_t length, RandomSource& random) {
    constexpr std::wstring_view kLetters = L"abcdefghijklmnopqrstuvwxyz0123456789";
    length = std::clamp<size_t>(length, 1, kLongestRandomName);
    std::wstring name;
    do {
        name.clear();
        for (size_t i = 0; i < length; ++i) {
            name.push_back(kLetters[random.Next() % kLetters.size()]);
        }
    } while (IsDeviceName(name));
    return name;
}

// The native form that renaming through a handle needs: "\??\C:\..." or "\??\UNC\...".
std::wstring NativePath(const std::wstring& longPath) {
    return L"\\??\\" + longPath.substr(4);
}

std::uint32_t Rename(HANDLE item, const std::wstring& nativeTarget) {
    const size_t bytes =
        offsetof(FILE_RENAME_INFO, FileName) + nativeTarget.size() * sizeof(wchar_t);
    std::vector<std::uint64_t> buffer(bytes / sizeof(std::uint64_t) + 1);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nativeTarget.size() * sizeof(wchar_t));
    std::copy(nativeTarget.begin(), nativeTarget.end(), rename->FileName);
    return SetFileInformationByHandle(item, FileRenameInfo, rename, static_cast<DWORD>(bytes))
               ? 0
               : LastError();
}

// Gives the item random names of its own folder, the first as long as its own name; true when
// at least one rename took.
bool ScrubName(HANDLE item, const std::wstring& finalPath, int renames) {
    const size_t cut = finalPath.rfind(L'\\');
    const std::wstring folder = NativePath(finalPath.substr(0, cut));
    const size_t length = finalPath.size() - cut - 1;
    RandomSource random;
    bool renamed = false;
    for (int done = 0, tries = 0; done < renames && tries < renames * 4; ++tries) {
        const std::uint32_t error = Rename(item, folder + L'\\' + RandomName(length, random));
        if (error == 0) {
            renamed = true;
            ++done;
        } else if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            break;
        }
    }
    return renamed;
}

std::uint32_t DeleteThrough(HANDLE item) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(item, FileDispositionInfo, &disposition, sizeof disposition)
               ? 0
               : LastError();
}

// The data has reached the disk already; only the recorded length goes now.
std::uint32_t Truncate(HANDLE file) {
    FILE_END_OF_FILE_INFO end{};
    return SetFileInformationByHandle(file, FileEndOfFileInfo, &end, sizeof end) ? 0 : LastError();
}

constexpr std::uint32_t kBlockingAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD kWriteAccess = GENERIC_WRITE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

}  // namespace

std::uint32_t OverwriteInPlace(const std::wstring& path, const Overwrite& how) {
    Checked file;
    const std::uint32_t error =
        OpenChecked(path, kWriteAccess, kShareWhileWriting, Kind::File, file);
    return error != 0 ? error : OverwriteStreams(path, file.handle.get(), how);
}

FileOutcome ShredFile(const std::wstring& path, const Overwrite& how) {
    FileOutcome outcome;
    // A read-only file cannot be opened for writing: that attribute goes first, and comes back
    // if the file then turns out to be in use.
    std::uint32_t original = 0;
    {
        Checked attributes;
        outcome.error = OpenChecked(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll,
                                    Kind::File, attributes);
        if (outcome.error != 0) {
            return outcome;
        }
        original = attributes.attributes;
        if ((original & FILE_ATTRIBUTE_READONLY) != 0 &&
            (outcome.error = SetAttributes(attributes.handle.get(), FILE_ATTRIBUTE_NORMAL)) != 0) {
            return outcome;
        }
    }
    Checked file;
    outcome.error = OpenChecked(path, kWriteAccess | DELETE | FILE_WRITE_ATTRIBUTES,
                                kShareWhileWriting, Kind::File, file);
    if (outcome.error != 0) {
        Checked attributes;
        if ((original & FILE_ATTRIBUTE_READONLY) != 0 &&
            OpenChecked(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll, Kind::File,
                        attributes) == 0) {
            SetAttributes(attributes.handle.get(), original);
        }
        return outcome;
    }
    if ((original & kBlockingAttributes) != 0 &&
        (outcome.error = SetAttributes(file.handle.get(), FILE_ATTRIBUTE_NORMAL)) != 0) {
        return outcome;
    }
    if ((outcome.error = OverwriteStreams(path, file.handle.get(), how)) != 0) {
        return outcome;
    }
    outcome.overwritten = true;
    if ((outcome.error = Truncate(file.handle.get())) != 0) {
        return outcome;
    }
    outcome.renamed = ScrubName(file.handle.get(), file.finalPath, kRenames);
    outcome.error = DeleteThrough(file.handle.get());
    return outcome;
}

std::wstring ResolvedPath(const std::wstring& longPath) {
    if (HoldsNul(longPath) || longPath.empty()) {
        return {};
    }
    const std::wstring openable = longPath.back() == L':' ? longPath + L'\\' : longPath;
    const ScopedHandle item(CreateFileW(openable.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return item.valid() ? FinalPathOf(item.get()) : std::wstring();
}

std::uint32_t RemoveLink(const std::wstring& path) {
    files::DeletionCandidate link;
    const std::uint32_t error = link.Open(path, true);
    return error != 0 ? error : link.Delete();
}

std::uint32_t RemoveEmptyFolder(const std::wstring& path) {
    {
        // A folder that keeps something must keep its name too: a random one would only hide
        // it. (Listed before the folder is held for deletion: a listing does not share that.)
        files::FolderScan scan(path);
        if (scan.error() != 0) {
            return scan.error();
        }
        if (scan.Next()) {
            return files::kErrorDirNotEmpty;
        }
    }
    Checked folder;
    std::uint32_t error =
        OpenChecked(path, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE,
                    kShareAll, Kind::Folder, folder);
    if (error != 0) {
        return error;
    }
    if ((folder.attributes & kBlockingAttributes) != 0 &&
        (error = SetAttributes(folder.handle.get(), FILE_ATTRIBUTE_NORMAL)) != 0) {
        return error;
    }
    ScrubName(folder.handle.get(), folder.finalPath, 1);
    return DeleteThrough(folder.handle.get());
}

}  // namespace hm::shred
