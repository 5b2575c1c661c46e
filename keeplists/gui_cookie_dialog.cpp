#include "keeplists/gui_cookie_dialog.h"

#include <algorithm>
#include <utility>

#include "engine/clean_run.h"
#include "engine/shared_values.h"
#include "keeplists/cookie_site_rules.h"
#include "keeplists/gui_url_dialog.h"
#include "keeplists/keep_list_file.h"
#include "keeplists/keep_list_rules.h"
#include "platform/files.h"
#include "platform/path_rules.h"
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

std::string SitePreviewOf(const std::string& site, const BrowserCookieSite* found) {
    if (found == nullptr) {
        return "No browser holds cookies of " + site + " now.";
    }
    std::string shown = "Cookies of " + site + " are held by:";
    for (const std::string& holder : found->holders) {
        shown += "\r\n    " + holder;
    }
    return shown + "\r\n\r\nKept, the site keeps them and those of every site below it.";
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
    CarryOn([&] {
        sites_ = FindBrowserCookieSites(UserShellFolder(registry_, "AppData"),
                                        UserShellFolder(registry_, "Local AppData"));
    });
    CarryOn([&] {
        std::vector<std::string> entries = cookies_;
        for (const BrowserCookieSite& found : sites_) {
            entries.push_back(found.site);
        }
        FillListBox(Item(lstCookieList), entries);
    });
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
    sites_.clear();
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
    const std::string text = ListBoxEntry(list, entry);
    // Cookie files are full paths; a site is no file, and is never read as one from the current
    // folder.
    if (!IsAbsolutePath(text)) {
        ShowSitePreview(text);
        return;
    }
    std::string bytes;
    std::uint64_t fileSize = 0;
    // A file that cannot be read (gone since it was kept) leaves the preview as it was.
    if (files::ReadFileHead(text, kPreviewLimit, bytes, fileSize) != 0) {
        return;
    }
    SetItemText(Text1, PreviewOf(bytes, fileSize));
}

void frmcookie::ShowSitePreview(const std::string& entry) {
    // A kept line is the site as typed ("http://Example.com/"); an entry naming none (an empty
    // line) leaves the preview as it was.
    const std::vector<std::string> named = KeptCookieSites(std::vector<std::string>{entry});
    if (named.empty()) {
        return;
    }
    const std::string& site = named.front();
    const auto found = std::find_if(sites_.begin(), sites_.end(),
                                    [&](const BrowserCookieSite& s) { return s.site == site; });
    SetItemText(Text1, SitePreviewOf(site, found != sites_.end() ? &*found : nullptr));
}

}  // namespace hm
