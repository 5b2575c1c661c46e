// frmLocate's drive and folder lists, "&Delete selected" and "&Reset All".
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "engine/clean_run.h"
#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/text.h"
#include "search/extention_handller.h"
#include "search/gui_frm_locate.h"
#include "search/locate_rules.h"
#include "search/search_rules.h"

namespace hm {
namespace {

constexpr const char* kDeleteWarning =
    "Deleting file from your Hard Disk is risky... make sure you know what your doing!\r\n"
    "Do you want to continue?\r\n"
    "(if you click yes, this message will no apear again)";
constexpr const char* kResetQuestion = "Do you want to reset all of the parameters to default? ";

// "C:\" for "C:\a\b", "\\server\share" for a share; empty for anything else.
std::string RootOf(const std::string& path) {
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') {
        return path.substr(0, 3);
    }
    if (path.rfind("\\\\", 0) == 0) {
        const std::size_t server = path.find('\\', 2);
        const std::size_t share =
            server == std::string::npos ? server : path.find('\\', server + 1);
        return path.substr(0, share);
    }
    return {};
}

// A file the listing showed as a link goes as the link; any other file by its path.
void DeleteForGood(const std::wstring& path) {
    files::Info info;
    if (files::QueryInfo(path, info) == 0 && (info.attributes & files::kReparsePoint) != 0) {
        files::DeletionCandidate candidate;
        if (candidate.Open(path, true) == 0) {
            candidate.Delete();
        }
        return;
    }
    files::RemoveFile(path);
}

}  // namespace

void frmLocate::FillDrives() {
    const HWND drives = Item(Drive1);
    SendMessageW(drives, CB_RESETCONTENT, 0, 0);
    wchar_t roots[512] = {};
    const DWORD length = GetLogicalDriveStringsW(511, roots);
    if (length == 0 || length > 511) {
        return;
    }
    for (const wchar_t* root = roots; *root != L'\0'; root += lstrlenW(root) + 1) {
        const std::wstring name(root, 2);  // "C:"
        SendMessageW(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
}

void frmLocate::ChangeDir(const std::string& folder) {
    const std::wstring longPath = files::ToLongPath(folder);
    if (longPath.empty() || !IsFolder(files::ToDisplayPath(longPath))) {
        return;
    }
    std::string path = files::ToDisplayPath(longPath);
    if (path.size() == 2 && path[1] == ':') {
        path += '\\';
    }
    dirPath_ = path;
    CarryOn([&] { FillFolders(); });
    CarryOn([&] {
        const std::wstring drive = Widen(path.substr(0, 2));
        SendMessageW(Item(Drive1), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(drive.c_str()));
    });
    Store(search::kStartUpSection, search::kAppPathKey, dirPath_);
    SearchAgain(false);
}

void frmLocate::FillFolders() {
    const HWND list = Item(Dir1);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    folderEntries_.clear();

    // The open folders from the root down, then the current folder's sub-folders a level deeper.
    std::vector<std::string> chain;
    const std::string root = RootOf(dirPath_);
    for (std::string path = dirPath_; !path.empty();) {
        chain.insert(chain.begin(), path);
        if (path == root || root.empty()) {
            break;
        }
        const std::string parent(ParentOf(path));
        path = parent.size() == 2 && parent[1] == ':' ? parent + "\\" : parent;
    }
    std::vector<std::string> children;
    files::FolderScan scan(files::ToLongPath(dirPath_));
    while (scan.Next()) {
        if (scan.IsFolder()) {
            children.push_back(Narrow(scan.name()));
        }
    }
    std::sort(children.begin(), children.end(), [](const std::string& a, const std::string& b) {
        return search::UpperCase(a) < search::UpperCase(b);
    });
    const auto add = [&](const std::string& shown, std::size_t level, const std::string& path) {
        const std::wstring text = Widen(std::string(2 * level, ' ') + shown);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        folderEntries_.push_back(path);
    };
    for (std::size_t level = 0; level < chain.size(); ++level) {
        add(level == 0 ? chain[level] : std::string(FileNameOf(chain[level])), level, chain[level]);
    }
    for (const std::string& child : children) {
        add(child, chain.size(), search::AddBackslash(dirPath_) + child);
    }
    SendMessageW(list, LB_SETCURSEL, chain.empty() ? 0 : chain.size() - 1, 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void frmLocate::OpenSelectedFolder() {
    const LRESULT selected = SendMessageW(Item(Dir1), LB_GETCURSEL, 0, 0);
    if (selected < 0 || static_cast<std::size_t>(selected) >= folderEntries_.size() ||
        folderEntries_[static_cast<std::size_t>(selected)] == dirPath_) {
        return;
    }
    ChangeDir(folderEntries_[static_cast<std::size_t>(selected)]);
}

// Enter in the folder list opens the selected folder, as a double click does, instead of
// pressing the dialog's default button.
LRESULT CALLBACK frmLocate::FolderListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self) {
    if (message == WM_GETDLGCODE && lParam != 0 &&
        reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
        reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN) {
        return DLGC_WANTALLKEYS | DefSubclassProc(list, message, wParam, lParam);
    }
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        CarryOn([&] { reinterpret_cast<frmLocate*>(self)->OpenSelectedFolder(); });
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(list, &frmLocate::FolderListProc, id);
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

void frmLocate::DriveChanged() {
    const HWND drives = Item(Drive1);
    const LRESULT selected = SendMessageW(drives, CB_GETCURSEL, 0, 0);
    wchar_t name[8] = {};
    if (selected < 0 || SendMessageW(drives, CB_GETLBTEXTLEN, selected, 0) != 2) {
        return;
    }
    SendMessageW(drives, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(name));
    const std::string root = Narrow(name) + "\\";
    if (!IsFolder(root)) {
        // A drive without a medium: the list goes back to the folder's own drive.
        const std::wstring current = Widen(dirPath_.substr(0, 2));
        SendMessageW(drives, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(current.c_str()));
        return;
    }
    ChangeDir(root);
}

void frmLocate::DeleteSelected() {
    if (search::PromptReadsAsTrue(
            settings_.Get(search::kGeneralSection, search::kPromptKey, "1"))) {
        if (Ask(kDeleteWarning, "Note", MB_ICONWARNING | MB_YESNO) != IDYES) {
            return;
        }
        Store(search::kGeneralSection, search::kPromptKey, "0");
    }
    const HWND list = Item(List1);
    const LRESULT count = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    std::vector<int> selected(count > 0 ? static_cast<std::size_t>(count) : 0);
    if (!selected.empty()) {
        SendMessageW(list, LB_GETSELITEMS, selected.size(),
                     reinterpret_cast<LPARAM>(selected.data()));
    }
    const bool recycle = IsChecked(chkDelType);
    // The paths as found, not as read back out of the entries' text: a name holding two blanks
    // would otherwise name another file.
    const std::vector<std::wstring> paths = entryPaths_;
    for (int index : selected) {
        if (index < 0 || static_cast<std::size_t>(index) >= paths.size()) {
            continue;
        }
        const std::wstring& path = paths[static_cast<std::size_t>(index)];
        CarryOn([&] {
            if (recycle) {
                ExtentionHandller::RecycleFile(files::ToDisplayPath(path));
            } else {
                DeleteForGood(path);
            }
        });
    }
    ClearList();
    SetChecked(Check1, false);
    Store(search::kStartUpSection, search::kSubFoldersKey, "0");
    SearchAgain(false);
    if (!searching_) {
        SetItemText(cmdAction1, "E&xit");
    }
}

void frmLocate::ResetAll() {
    if (search::ResetAsksFirst(settings_.Get(search::kGeneralSection, search::kUsesKey, "1")) &&
        Ask(kResetQuestion, "Are you sure?", MB_YESNO) != IDYES) {
        return;
    }
    CarryOn([&] {
        startFolder_ = search::AddBackslash(programFolder_);
        Store(search::kStartUpSection, search::kAppPathKey, startFolder_);
        Store(search::kStartUpSection, search::kLogKey, "1");
        SetChecked(chkDelType, true);
        Store(search::kStartUpSection, search::kRecycleKey, "1");
        SetChecked(Check1, true);
        Store(search::kStartUpSection, search::kSubFoldersKey, "1");
        Store(search::kGeneralSection, search::kTipsKey, "1");
        Store(search::kGeneralSection, search::kTipNumberKey, "1");
        Store(search::kGeneralSection, search::kPromptKey, "1");
        Store(search::kGeneralSection, search::kDeleteDirsKey, search::kDefaultDeleteDirs);
        Store(search::kGeneralSection, search::kMaxLogSizeKey, search::kDefaultMaxLogSize);
    });
    CarryOn([&] { ExtentionHandller::WriteDefaultExtensions(programFolder_); });
    InvalidateRect(hwnd(), nullptr, TRUE);
}

}  // namespace hm
