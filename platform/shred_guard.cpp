#include "platform/shred_guard.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <utility>

#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/shred.h"
#include "platform/text.h"

namespace hm::shred {
namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

bool SameText(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

enum class Relation { None, Same, Holds, Inside };

// How a path stands to a folder: the folder itself, a folder above it, or something inside it.
Relation RelationOf(std::wstring_view path, std::wstring_view folder) {
    if (SameText(path, folder)) {
        return Relation::Same;
    }
    if (folder.size() > path.size() && folder[path.size()] == L'\\' &&
        SameText(folder.substr(0, path.size()), path)) {
        return Relation::Holds;
    }
    if (path.size() > folder.size() && path[folder.size()] == L'\\' &&
        SameText(path.substr(0, folder.size()), folder)) {
        return Relation::Inside;
    }
    return Relation::None;
}

// "\\?\C:" or "\\?\UNC\server\share" (or less): a root can never be shredded.
bool IsRoot(std::wstring_view longPath) {
    if (longPath.substr(0, kLongUncPrefix.size()) == kLongUncPrefix) {
        const std::wstring_view rest = longPath.substr(kLongUncPrefix.size());
        const size_t server = rest.find(L'\\');
        return server == std::wstring_view::npos ||
               rest.find(L'\\', server + 1) == std::wstring_view::npos;
    }
    return longPath.substr(kLongPrefix.size()).size() <= 2;
}

// The plain form of a "\\?\" path the user gave, or empty for the "\\?\" and "\\.\" paths that
// name devices, volumes or places outside the drives.
bool PlainForm(std::string& path) {
    std::string slashed = path;
    for (char& c : slashed) {
        if (c == '/') {
            c = '\\';
        }
    }
    if (slashed.rfind("\\\\.\\", 0) == 0) {
        return false;
    }
    if (slashed.rfind("\\\\?\\", 0) != 0) {
        return true;
    }
    const std::string rest = slashed.substr(4);
    if (rest.size() > 4 && AsciiLower(rest.substr(0, 4)) == "unc\\") {
        path = "\\\\" + rest.substr(4);
        return true;
    }
    const bool letter =
        !rest.empty() && ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'));
    if (letter && rest.size() >= 3 && rest[1] == ':' && rest[2] == '\\') {
        path = rest;
        return true;
    }
    return false;
}

// Characters no file or folder name may hold; a colon past the drive names a data stream.
std::string BadCharacters(const std::string& path) {
    for (size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (c == ':' && i != 1) {
            return "it names a data stream of a file, not a file or folder";
        }
        if (c < 32 || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|') {
            return "it holds characters that no file or folder name may hold";
        }
    }
    return {};
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path) {
        result = path;
    }
    CoTaskMemFree(path);
    return result;
}

std::wstring Environment(const wchar_t* name) {
    const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
    if (needed == 0) {
        return {};
    }
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), needed);
    value.resize(length < needed ? length : 0);
    return value;
}

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t cut = path.rfind(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

}  // namespace

std::wstring StoredSpelling(const std::wstring& longPath) {
    std::wstring head = longPath;
    std::wstring tail;
    for (;;) {
        const DWORD needed = GetLongPathNameW(head.c_str(), nullptr, 0);
        if (needed > 0) {
            std::wstring spelled(needed, L'\0');
            const DWORD length = GetLongPathNameW(head.c_str(), spelled.data(), needed);
            if (length > 0 && length < needed) {
                spelled.resize(length);
                head = std::move(spelled);
                break;
            }
        }
        // Only the part that exists can be looked up; the rest is kept as given.
        const size_t cut = head.rfind(L'\\');
        if (cut == std::wstring::npos || cut <= kLongPrefix.size() + 2) {
            break;
        }
        tail.insert(0, head, cut, std::wstring::npos);
        head.resize(cut);
    }
    return files::OnDiskCase(head + tail);
}

Guard::Guard(std::vector<ProtectedFolder> folders) : folders_(std::move(folders)) {}

Guard Guard::ForThisProcess() {
    std::vector<ProtectedFolder> folders;
    auto add = [&folders](const std::wstring& raw, const char* what, bool withContents) {
        const std::string text = Narrow(raw);
        if (raw.empty() || !IsAbsolutePath(text)) {
            return;
        }
        const std::wstring longPath = files::ToLongPath(text);
        if (longPath.empty()) {
            return;
        }
        const std::wstring spelled = StoredSpelling(longPath);
        folders.push_back({spelled, what, withContents});
        const std::wstring resolved = ResolvedPath(spelled);
        if (!resolved.empty() && !SameText(resolved, spelled)) {
            folders.push_back({resolved, what, withContents});
        }
    };
    constexpr const char* kWindows = "the Windows folder";
    wchar_t windows[MAX_PATH + 1] = {};
    if (GetWindowsDirectoryW(windows, MAX_PATH + 1) <= MAX_PATH) {
        add(windows, kWindows, true);
    }
    if (GetSystemWindowsDirectoryW(windows, MAX_PATH + 1) <= MAX_PATH) {
        add(windows, kWindows, true);
    }
    add(Environment(L"SystemRoot"), kWindows, true);
    add(Environment(L"windir"), kWindows, true);

    constexpr const char* kProgramFiles = "a program-files folder";
    add(KnownFolder(FOLDERID_ProgramFiles), kProgramFiles, true);
    add(KnownFolder(FOLDERID_ProgramFilesX86), kProgramFiles, true);
    add(KnownFolder(FOLDERID_ProgramFilesX64), kProgramFiles, true);
    add(Environment(L"ProgramFiles"), kProgramFiles, true);
    add(Environment(L"ProgramFiles(x86)"), kProgramFiles, true);
    add(Environment(L"ProgramW6432"), kProgramFiles, true);

    constexpr const char* kProfile = "your user profile folder";
    add(KnownFolder(FOLDERID_Profile), kProfile, false);
    add(Environment(L"USERPROFILE"), kProfile, false);

    add(ProgramFolder(), "this program's own folder", true);
    return Guard(std::move(folders));
}

std::string Guard::Judge(const std::wstring& path) const {
    for (const ProtectedFolder& folder : folders_) {
        switch (RelationOf(path, folder.path)) {
            case Relation::Same:
                return "it is " + folder.what;
            case Relation::Holds:
                return "it holds " + folder.what;
            case Relation::Inside:
                if (folder.withContents) {
                    return "it is inside " + folder.what;
                }
                break;
            case Relation::None:
                break;
        }
    }
    return {};
}

Verdict Guard::Check(std::string_view given) const {
    Verdict verdict;
    std::string path(given);
    if (TrimBlanks(path).empty()) {
        verdict.refusal = "no path was given";
        return verdict;
    }
    if (path.find('\0') != std::string::npos) {
        verdict.refusal = "it holds a NUL character";
        return verdict;
    }
    if (!PlainForm(path)) {
        verdict.refusal = "it names a device or a volume, not a file or folder on a drive";
        return verdict;
    }
    if (!IsAbsolutePath(path)) {
        verdict.refusal =
            "it is not a full path (a path relative to the current folder is refused)";
        return verdict;
    }
    verdict.refusal = BadCharacters(path);
    if (verdict.refused()) {
        return verdict;
    }
    const std::wstring longPath = files::ToLongPath(path);
    if (longPath.empty()) {
        verdict.refusal = "it is not a valid path";
        return verdict;
    }
    verdict.path = StoredSpelling(longPath);
    if (IsRoot(verdict.path)) {
        verdict.refusal = "it is the root of a drive or network share";
        return verdict;
    }
    verdict.refusal = Judge(verdict.path);
    if (verdict.refused()) {
        return verdict;
    }
    // Through a link, a harmless-looking path can stand for a refused folder.
    const std::wstring resolved = ResolvedPath(verdict.path);
    if (!resolved.empty() && !SameText(resolved, verdict.path)) {
        if (IsRoot(resolved)) {
            verdict.refusal = "it leads to the root of a drive";
        } else if (std::string why = Judge(resolved); !why.empty()) {
            // "it is ..." becomes "..., which is ...".
            verdict.refusal =
                "it leads to " + files::ToDisplayPath(resolved) + ", which" + why.substr(2);
        }
    }
    return verdict;
}

}  // namespace hm::shred
