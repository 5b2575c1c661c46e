#include "keeplists/gui_cookie_dialog.h"

#include <utility>

#include "engine/clean_run.h"
#include "engine/shared_values.h"
#include "keeplists/gui_url_dialog.h"
#include "keeplists/keep_list_file.h"
#include "keeplists/keep_list_rules.h"
#include "platform/files.h"
#include "platform/text.h"

namespace hm {
namespace {

std::string PreviewOf(const std::string& bytes, std::uint64_t fileSize) {
    std::string shown = TextForEditBox(FromAnsi(bytes));
    if (fileSize > bytes.size()) {
        shown = "[Only the first " + std::to_string(frmcookie::kPreviewLimit / 1024) +
                " KiB of this " + std::to_string(fileSize) + "-byte file are shown.]\r\n\r\n" +
                shown;
    }
    return shown;
}

}  // namespace

frmcookie::frmcookie(std::string programFolder, Regfun& registry)
    : Dialog(IDD_FRMCOOKIE), programFolder_(std::move(programFolder)), registry_(registry) {}

std::string frmcookie::KeepListFile() const {
    return CookieKeepListPath(programFolder_);
}

bool frmcookie::OnInit() {
    CarryOn([&] { cookieFolder_ = UserShellFolder(registry_, "Cookies"); });
    CarryOn([&] { cookies_ = ListCookieFiles(cookieFolder_); });
    CarryOn([&] { FillListBox(Item(lstCookieList), cookies_); });
    CarryOn([&] { FillListBox(Item(List1), ReadKeepListEntries(KeepListFile())); });
    // Both extents, also without a keep list: cookie paths are long.
    CarryOn([&] { FitListExtent(Item(List1)); });
    CarryOn([&] { FitListExtent(Item(lstCookieList)); });
    return true;
}

bool frmcookie::OnCommand(int id, int code) {
    if (id == cmdAdd && code == BN_CLICKED) {
        CarryOn([&] { AddClicked(); });
        return true;
    }
    if (id == cmdRemove && code == BN_CLICKED) {
        CarryOn([&] { RemoveClicked(); });
        return true;
    }
    if ((id == lstCookieList || id == List1) && code == LBN_SELCHANGE) {
        CarryOn([&] { ShowPreview(id); });
        return true;
    }
    return Dialog::OnCommand(id, code);
}

void frmcookie::OnDestroyed() {
    cookies_.clear();
}

void frmcookie::AddClicked() {
    AddSelectedToKeepList(Item(lstCookieList), Item(List1), KeepListFile());
}

void frmcookie::RemoveClicked() {
    RemoveSelectedFromKeepList(Item(List1), KeepListFile());
}

void frmcookie::ShowPreview(int listId) {
    const HWND list = Item(listId);
    const std::vector<int> selected = SelectedIndices(list);
    if (selected.empty()) {
        return;
    }
    // In the keep list the entry clicked last holds the caret; a click that deselected it
    // leaves the first entry still selected.
    int entry = selected.front();
    const LRESULT caret = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
    for (const int index : selected) {
        if (index == caret) {
            entry = index;
        }
    }
    std::string bytes;
    std::uint64_t fileSize = 0;
    // A file that cannot be read (gone since it was kept) leaves the preview as it was.
    if (files::ReadFileHead(ListBoxEntry(list, entry), kPreviewLimit, bytes, fileSize) != 0) {
        return;
    }
    SetItemText(Text1, PreviewOf(bytes, fileSize));
}

}  // namespace hm
