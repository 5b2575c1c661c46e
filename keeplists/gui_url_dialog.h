// The URL keep-list dialog frmurl ("URL Drop-List Options"): the addresses now in Internet
// Explorer's typed-address drop list beside the URL keep list ("keepurl.dat"), with "Add >" and
// "< Remove" between them. Every change is written to the file at once; there is nothing to
// save or cancel. The list-box helpers below serve the cookie keep-list dialog too.
//
// The pass needs only the keep list itself and reads it without a window through
// KeepListFiles::KeptAddresses, which yields exactly the entries this dialog's load puts in List1.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/gui_dialog.h"
#include "keeplists/url_dialog_ids.h"

namespace hm {

// The horizontal scroll extent a list box needs for its widest entry: each entry's text measured
// in the list box's own font, plus 8 pixels; 0 for an empty list.
int ListTextWidth(HWND listBox);
// Gives the list box that extent.
void FitListExtent(HWND listBox);

// A list box's entries in list order; its selected entries' indices in list order (one at most
// for a single-selection list).
std::vector<std::string> ListBoxEntries(HWND listBox);
std::vector<int> SelectedIndices(HWND listBox);
std::string ListBoxEntry(HWND listBox, int index);
void FillListBox(HWND listBox, const std::vector<std::string>& entries);
void AppendListBoxEntry(HWND listBox, const std::string& entry);

// "Add >" of both dialogs: appends the entry selected in source, right-trimmed, to the keep-list
// file and then to the keep list box. Does nothing when nothing is selected or the file refuses.
void AddSelectedToKeepList(HWND source, HWND keepList, const std::string& file);
// "< Remove" of both dialogs: rewrites the file once without the selected entries, then shows
// the rest. Does nothing when nothing is selected or the rewrite fails.
void RemoveSelectedFromKeepList(HWND keepList, const std::string& file);

// "HKEY_CURRENT_USER\" + this key holds the drop list.
inline constexpr const char* kTypedUrlsSubKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

// The texts of every value of the typed-address key, in the registry's order, as the registry
// routine QueryRegValue reads them; a value it cannot read (over its 255 bytes, for one) is left
// out and the values after it still count.
std::vector<std::string> TypedAddresses();

class frmurl : public Dialog {
public:
    enum : int {
        List1 = IDC_URL_LIST1,  // the keep list, several entries selectable
        List2 = IDC_URL_LIST2,  // the current drop list
        cmdAdd = IDC_URL_CMDADD,
        cmdRemove = IDC_URL_CMDREMOVE,
    };

    // The keep list lives in programFolder & "\keepurl.dat".
    explicit frmurl(std::string programFolder);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;

private:
    void AddClicked();
    void RemoveClicked();
    std::string KeepListFile() const;

    std::string programFolder_;
};

}  // namespace hm
