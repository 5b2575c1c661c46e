#include "shredder/gui_pickers.h"

#include <commdlg.h>
#include <shlobj.h>

#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm {

std::vector<std::string> PickFiles(HWND owner) {
    std::vector<wchar_t> names(1 << 16, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"All files\0*.*\0";
    dialog.lpstrFile = names.data();
    dialog.nMaxFile = static_cast<DWORD>(names.size());
    dialog.lpstrTitle = L"Add Files to Shred";
    dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                   OFN_NODEREFERENCELINKS | OFN_HIDEREADONLY | OFN_DONTADDTORECENT |
                   OFN_FORCESHOWHIDDEN;
    if (!GetOpenFileNameW(&dialog)) {
        return {};
    }
    // One file: its full path. Several: the folder, then each name, each ended by a NUL.
    std::vector<std::string> parts;
    for (const wchar_t* at = names.data(); *at != L'\0'; at += wcslen(at) + 1) {
        parts.push_back(Narrow(at));
    }
    if (parts.size() <= 1) {
        return parts;
    }
    std::string folder = parts.front();
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    std::vector<std::string> paths;
    for (size_t i = 1; i < parts.size(); ++i) {
        paths.push_back(JoinPath(folder, parts[i]));
    }
    return paths;
}

std::optional<std::string> PickFolder(HWND owner) {
    BROWSEINFOW browse = {};
    browse.hwndOwner = owner;
    browse.lpszTitle = L"Choose a folder to shred with everything in it.";
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (chosen == nullptr) {
        return std::nullopt;
    }
    std::vector<wchar_t> path(32768, L'\0');
    const bool found = SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()),
                                             GPFIDL_DEFAULT) != FALSE;
    CoTaskMemFree(chosen);
    if (!found) {
        return std::nullopt;
    }
    return Narrow(path.data());
}

}  // namespace hm
