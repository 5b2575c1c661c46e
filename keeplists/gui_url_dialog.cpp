#include "keeplists/gui_url_dialog.h"

#include <utility>

#include "engine/clean_run.h"
#include "keeplists/keep_list_file.h"
#include "keeplists/keep_list_rules.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace hm {
namespace {

std::wstring EntryText(HWND listBox, int index) {
    const LRESULT length = SendMessageW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR || length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

}  // namespace

int ListTextWidth(HWND listBox) {
    const int count = static_cast<int>(SendMessageW(listBox, LB_GETCOUNT, 0, 0));
    if (count <= 0) {
        return 0;
    }
    const HDC dc = GetDC(listBox);
    if (dc == nullptr) {
        return 0;
    }
    // The list box's own font, or the measure would not match what it draws.
    const auto font = reinterpret_cast<HFONT>(SendMessageW(listBox, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    std::vector<int> widths;
    widths.reserve(static_cast<std::size_t>(count));
    for (int index = 0; index < count; ++index) {
        const std::wstring text = EntryText(listBox, index);
        RECT box = {};
        // Single line and no prefix: the list box shows an "&" of an address as it is.
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        widths.push_back(box.right - box.left);
    }
    SelectObject(dc, previous);
    ReleaseDC(listBox, dc);
    return ListTextWidthFromWidths(widths);
}

void FitListExtent(HWND listBox) {
    SendMessageW(listBox, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(ListTextWidth(listBox)), 0);
}

std::string ListBoxEntry(HWND listBox, int index) {
    return Narrow(EntryText(listBox, index));
}

std::vector<std::string> ListBoxEntries(HWND listBox) {
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessageW(listBox, LB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        entries.push_back(ListBoxEntry(listBox, index));
    }
    return entries;
}

std::vector<int> SelectedIndices(HWND listBox) {
    const LONG_PTR style = GetWindowLongPtrW(listBox, GWL_STYLE);
    if ((style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) == 0) {
        const LRESULT current = SendMessageW(listBox, LB_GETCURSEL, 0, 0);
        return current == LB_ERR ? std::vector<int>{} : std::vector<int>{static_cast<int>(current)};
    }
    const LRESULT count = SendMessageW(listBox, LB_GETSELCOUNT, 0, 0);
    if (count == LB_ERR || count <= 0) {
        return {};
    }
    std::vector<int> selected(static_cast<std::size_t>(count));
    const LRESULT got = SendMessageW(listBox, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                     reinterpret_cast<LPARAM>(selected.data()));
    selected.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return selected;
}

void AppendListBoxEntry(HWND listBox, const std::string& entry) {
    SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry).c_str()));
}

void FillListBox(HWND listBox, const std::vector<std::string>& entries) {
    SendMessageW(listBox, WM_SETREDRAW, FALSE, 0);
    SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
    for (const std::string& entry : entries) {
        AppendListBoxEntry(listBox, entry);
    }
    SendMessageW(listBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox, nullptr, TRUE);
}

void AddSelectedToKeepList(HWND source, HWND keepList, const std::string& file) {
    const std::vector<int> selected = SelectedIndices(source);
    // Nothing chosen: an empty line would keep nothing and, for addresses, write an empty one
    // back into the drop list.
    if (selected.empty()) {
        return;
    }
    const std::string entry(RightTrim(ListBoxEntry(source, selected.front())));
    // The list shows what the file holds: an entry the file refused does not appear.
    if (AppendKeepListEntry(file, entry) != 0) {
        return;
    }
    AppendListBoxEntry(keepList, entry);
    FitListExtent(keepList);
}

void RemoveSelectedFromKeepList(HWND keepList, const std::string& file) {
    const std::vector<int> selected = SelectedIndices(keepList);
    if (selected.empty()) {
        return;
    }
    const std::vector<std::string> kept = WithoutIndices(ListBoxEntries(keepList), selected);
    // One rewrite for all the entries removed; if it fails, the list still shows the file.
    if (RewriteKeepList(file, kept) != 0) {
        return;
    }
    FillListBox(keepList, kept);
    FitListExtent(keepList);
}

std::vector<std::string> TypedAddresses() {
    std::vector<std::string> addresses;
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, kTypedUrlsSubKey, KEY_READ) != ERROR_SUCCESS) {
        return addresses;
    }
    // All names first, then each value through the registry routine: an address longer than a
    // fixed enumeration buffer must not end the listing early.
    std::vector<std::string> names;
    key.ValueNames(names);
    for (const std::string& name : names) {
        std::uint32_t type = 0;
        std::string text = Regfun::QueryRegValue(kCurrentUser, kTypedUrlsSubKey, name, type);
        if (text != "error") {
            addresses.push_back(std::move(text));
        }
    }
    return addresses;
}

frmurl::frmurl(std::string programFolder)
    : Dialog(IDD_FRMURL), programFolder_(std::move(programFolder)) {}

std::string frmurl::KeepListFile() const {
    return UrlKeepListPath(programFolder_);
}

bool frmurl::OnInit() {
    CarryOn([&] { FillListBox(Item(List2), TypedAddresses()); });
    CarryOn([&] { FillListBox(Item(List1), ReadKeepListEntries(KeepListFile())); });
    // Both extents, also without a keep list: the drop list's addresses may be long too.
    CarryOn([&] { FitListExtent(Item(List1)); });
    CarryOn([&] { FitListExtent(Item(List2)); });
    return true;
}

bool frmurl::OnCommand(int id, int code) {
    if (id == cmdAdd && code == BN_CLICKED) {
        CarryOn([&] { AddClicked(); });
        return true;
    }
    if (id == cmdRemove && code == BN_CLICKED) {
        CarryOn([&] { RemoveClicked(); });
        return true;
    }
    return Dialog::OnCommand(id, code);
}

void frmurl::AddClicked() {
    AddSelectedToKeepList(Item(List2), Item(List1), KeepListFile());
}

void frmurl::RemoveClicked() {
    RemoveSelectedFromKeepList(Item(List1), KeepListFile());
}

}  // namespace hm
