#include "search/gui_frm_extentions.h"

#include <utility>

#include "engine/clean_run.h"
#include "platform/path_rules.h"
#include "platform/text.h"
#include "search/extension_rules.h"
#include "search/extention_handller.h"
#include "search/locate_rules.h"

namespace hm {

frmExtentions::frmExtentions(std::string programFolder, const search::LintwellSettings& settings,
                             std::function<void(const std::string&)> setSearchText,
                             MessageBoxFunction messageBox)
    : Dialog(IDD_FRMEXTENTIONS),
      programFolder_(std::move(programFolder)),
      settings_(settings),
      setSearchText_(std::move(setSearchText)),
      messageBox_(std::move(messageBox)) {}

bool frmExtentions::OnInit() {
    CarryOn([&] {
        if (!settings_.Has(search::kGeneralSection, search::kMaxLogSizeKey)) {
            settings_.Save(search::kGeneralSection, search::kMaxLogSizeKey,
                           search::kDefaultMaxLogSize);
        }
    });
    CarryOn([&] { LoadExtensionList(); });
    CarryOn([&] { SetItemText(txtAdd, search::kNewExtensionText); });
    return true;
}

void frmExtentions::LoadExtensionList() {
    const HWND list = Item(lstFileTypes);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : ExtentionHandller::ReadExtensionList(programFolder_)) {
        const std::wstring text = Widen(line);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

bool frmExtentions::OnCommand(int id, int code) {
    switch (id) {
        case cmdAdd:
            CarryOn([&] { Add(); });
            return true;
        case cmdRemove:
            CarryOn([&] { Remove(); });
            return true;
        case cmdDefault:
            CarryOn([&] { Default(); });
            return true;
        case cmdDone:
            Close(IDOK);
            return true;
        default:
            return Dialog::OnCommand(id, code);
    }
}

void frmExtentions::HandPatternsBack() {
    const std::string patterns = ExtentionHandller::ReadExtensionPatterns(programFolder_);
    if (!patterns.empty() && setSearchText_) {
        setSearchText_(patterns);
    }
}

void frmExtentions::Add() {
    const std::string text(TrimBlanks(ItemText(txtAdd)));
    if (ExtentionHandller::IsValidExtension(text)) {
        ExtentionHandller::AppendExtension(programFolder_, text);
        LoadExtensionList();
        HandPatternsBack();
        SetItemText(txtAdd, search::kNewExtensionText);
        return;
    }
    const std::wstring message = L"Please fill a legal extention name and try again!";
    if (messageBox_) {
        messageBox_(hwnd(), message, L"Error", MB_ICONERROR | MB_OK);
    } else {
        MessageBoxW(hwnd(), message.c_str(), L"Error", MB_ICONERROR | MB_OK);
    }
    SetItemText(txtAdd, search::kNewExtensionText);
    SetFocus(Item(txtAdd));
}

void frmExtentions::Remove() {
    const HWND list = Item(lstFileTypes);
    std::string selected;
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    const LRESULT length = index >= 0 ? SendMessageW(list, LB_GETTEXTLEN, index, 0) : LB_ERR;
    if (length > 0) {
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        selected = Narrow(text);
    }
    ExtentionHandller::RemoveExtension(programFolder_, selected);
    LoadExtensionList();
    HandPatternsBack();
}

void frmExtentions::Default() {
    const std::wstring question = L"Are you sure you want to Return to the defaul settings?";
    const int answer = messageBox_ ? messageBox_(hwnd(), question, L"Warnning:", MB_YESNO)
                                   : MessageBoxW(hwnd(), question.c_str(), L"Warnning:", MB_YESNO);
    if (answer != IDYES) {
        return;
    }
    ExtentionHandller::WriteDefaultExtensions(programFolder_);
    LoadExtensionList();
    HandPatternsBack();
}

}  // namespace hm
