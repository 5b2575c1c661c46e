#include "config/gui_settings_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "config/inifun.h"
#include "config/plugin_list.h"
#include "engine/clean_run.h"
#include "engine/shared_values.h"
#include "keeplists/gui_cookie_dialog.h"
#include "keeplists/gui_url_dialog.h"
#include "platform/text.h"

namespace hm {
namespace {

// Posted when the focus has left a box that asks before it stays ticked; asking at once, in the
// middle of the focus change, would put a message box between a button's press and release.
constexpr UINT kAskAfterFocusLeft = WM_APP + 1;

// A mail program whose boxes only count where it is installed: the registry value that is
// there when it is, and the frame of its boxes.
struct MailProgram {
    const char* keyPath;
    const char* valueName;
    std::string_view frame;
};
constexpr MailProgram kMailPrograms[] = {
    {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Outlook Express", "InstallRoot", "Outlook Express"},
    {"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Mail", "Store Root", "Windows Live Mail"},
};

bool InMailFrame(const CatalogueItem& item) {
    return std::any_of(std::begin(kMailPrograms), std::end(kMailPrograms),
                       [&](const MailProgram& mail) { return mail.frame == item.box.frame; });
}

const SelectAllBox* SelectAllOfFrame(std::string_view frame) {
    for (const SelectAllBox& box : SelectAllBoxes()) {
        if (box.frame == frame) {
            return &box;
        }
    }
    return nullptr;
}

std::string ControlName(int id) {
    return "Check" + std::to_string(id - IDC_SET_CHECK_BASE);
}

const CatalogueItem* ItemOfBox(std::string_view control) {
    for (const CatalogueItem* item : DialogItems()) {
        if (item->box.control == control) {
            return item;
        }
    }
    return nullptr;
}

const std::vector<HWND> kNoPages;

}  // namespace

int frmsettings::CheckId(std::string_view control) {
    const int number = CheckNumber(control);
    return number > 0 && IDC_SET_CHECK_BASE + number <= IDC_SET_CHECK_LAST
               ? IDC_SET_CHECK_BASE + number
               : 0;
}

frmsettings::frmsettings(std::string programFolder, Regfun& registry, SettingsServices services)
    : Dialog(IDD_FRMSETTINGS),
      programFolder_(std::move(programFolder)),
      registry_(registry),
      services_(std::move(services)) {
    // The templates hold tab controls and report lists, which cannot be made before their
    // classes are registered.
    INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                     ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

frmsettings::~frmsettings() {
    // The frame font must outlive the window that draws with it.
    if (hwnd() != nullptr) {
        DestroyWindow(hwnd());
    }
}

HWND frmsettings::Control(int id) const {
    if (hwnd() == nullptr) {
        return nullptr;
    }
    if (HWND direct = Item(id)) {
        return direct;
    }
    for (HWND page : pages_) {
        if (HWND found = GetDlgItem(page, id)) {
            return found;
        }
    }
    for (const SubTabs& sub : subTabs_) {
        for (HWND page : sub.pages) {
            if (HWND found = GetDlgItem(page, id)) {
                return found;
            }
        }
    }
    return nullptr;
}

const frmsettings::SubTabs* frmsettings::SubTabsOf(int tab) const {
    for (const SubTabs& sub : subTabs_) {
        if (sub.tab == tab) {
            return &sub;
        }
    }
    return nullptr;
}

HWND frmsettings::SubTabControl(int tab) const {
    const SubTabs* sub = SubTabsOf(tab);
    return sub != nullptr ? sub->control : nullptr;
}

const std::vector<HWND>& frmsettings::SubPages(int tab) const {
    const SubTabs* sub = SubTabsOf(tab);
    return sub != nullptr ? sub->pages : kNoPages;
}

bool frmsettings::OnInit() {
    CreatePages();
    Load();
    SetFocus(Item(SSTab1));
    return false;
}

std::string frmsettings::SettingsFile() const {
    return programFolder_ + "\\hushsd.dat";
}

bool frmsettings::Ticked(int id) const {
    return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void frmsettings::SetBox(int id, bool ticked) {
    SendMessageW(Control(id), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void frmsettings::Load() {
    const std::string settings = SettingsFile();
    for (const CatalogueItem* item : DialogItems()) {
        if (InMailFrame(*item)) {
            continue;
        }
        CarryOn([&] {
            const SettingName name = DialogSettingName(*item);
            SetBox(CheckId(item->box.control),
                   BoxTicked(*item, ReadIniValue(settings, std::string(name.section),
                                                 std::string(name.key))));
        });
    }
    for (const MailProgram& mail : kMailPrograms) {
        CarryOn([&] { LoadMailBoxes(mail.keyPath, mail.valueName, mail.frame); });
    }
    CarryOn([&] { LoadCustomList(); });
    CarryOn([&] {
        SendMessageW(Control(ListView1), LVM_DELETEALLITEMS, 0, 0);
        AddList(PluginFolder(programFolder_), kPluginExtension);
    });
    CarryOn([&] { LoadWinapp2Rules(); });
}

void frmsettings::LoadMailBoxes(const char* keyPath, const char* valueName,
                                std::string_view frame) {
    const SelectAllBox* selectAll = SelectAllOfFrame(frame);
    if (selectAll == nullptr) {
        return;
    }
    const std::string answer = services_.readRegistry ? services_.readRegistry(keyPath, valueName)
                                                      : registry_.GetRegString(keyPath, valueName);
    const std::vector<const CatalogueItem*> members = SelectAllMembers(*selectAll);
    if (answer != "Error") {
        const std::string settings = SettingsFile();
        for (const CatalogueItem* item : members) {
            CarryOn([&] {
                const SettingName name = DialogSettingName(*item);
                SetBox(CheckId(item->box.control),
                       BoxTicked(*item, ReadIniValue(settings, std::string(name.section),
                                                     std::string(name.key))));
            });
        }
        return;
    }
    // Not installed: nothing of it to erase, so its boxes stay off and are saved off.
    std::vector<int> ids = {CheckId(selectAll->control)};
    for (const CatalogueItem* item : members) {
        ids.push_back(CheckId(item->box.control));
    }
    for (int id : ids) {
        SetBox(id, false);
        EnableWindow(Control(id), FALSE);
    }
}

bool frmsettings::OnCommand(int id, int code) {
    const bool clicked = code == BN_CLICKED;
    switch (id) {
        case Command1:
            if (clicked) {
                OnOK();
            }
            return true;
        case Command3:
            if (clicked) {
                OnCancel();
            }
            return true;
        case Command7:
            if (clicked) {
                frmurl urls(programFolder_);
                urls.ShowModal(hwnd());
            }
            return true;
        case Command8:
            if (clicked) {
                frmcookie cookies(programFolder_, registry_);
                cookies.ShowModal(hwnd());
            }
            return true;
        case Command101:
            if (clicked) {
                ShowAddMenu();
            }
            return true;
        case Command102:
            if (clicked) {
                RemoveSelectedRow();
            }
            return true;
        case Command2:
            if (clicked) {
                SendMessageW(Control(ListView2), LVM_DELETEALLITEMS, 0, 0);
            }
            return true;
        case Winapp2Import:
            if (clicked) {
                CarryOn([&] { ImportRules(); });
            }
            return true;
        case addfiles:
            CarryOn([&] { AddFiles(); });
            return true;
        case addfolders:
            CarryOn([&] { AddFolders(); });
            return true;
        default:
            break;
    }
    if (id > IDC_SET_CHECK_BASE && id <= IDC_SET_CHECK_LAST) {
        const std::string name = ControlName(id);
        if (clicked) {
            for (const SelectAllBox& box : SelectAllBoxes()) {
                if (box.control == name) {
                    SelectAllClicked(box);
                }
            }
            if (const CatalogueItem* item = ItemOfBox(name); item && item->box.asksFirst) {
                AskAfterTicking(id, *item);
            }
        } else if (code == BN_KILLFOCUS && !ConfirmationFor(name).empty()) {
            PostMessageW(hwnd(), kAskAfterFocusLeft, static_cast<WPARAM>(id), 0);
        }
        return true;
    }
    return Dialog::OnCommand(id, code);
}

void frmsettings::SelectAllClicked(const SelectAllBox& box) {
    const bool on = Ticked(CheckId(box.control));
    for (const CatalogueItem* member : SelectAllMembers(box)) {
        const int id = CheckId(member->box.control);
        if (member->box.asksFirst) {
            // Asks only as the box goes from cleared to ticked, as a click on it would.
            if (!on || !Ticked(id)) {
                SetBox(id, on && Ask(TickQuestionFor(*member)) == IDOK);
            }
            continue;
        }
        const std::string_view question = ConfirmationFor(member->box.control);
        // Clearing never asks; ticking asks for the boxes that always ask.
        SetBox(id, on && (question.empty() || Ask(question) == IDOK));
    }
}

void frmsettings::AskAfterTicking(int id, const CatalogueItem& item) {
    // The button has let go of the mouse before it reports the click, so the question can come
    // at once; clearing never asks.
    if (Ticked(id) && Ask(TickQuestionFor(item)) != IDOK) {
        SetBox(id, false);
    }
}

void frmsettings::AskAfterFocusLeft(int id) {
    HWND box = Control(id);
    if (box == nullptr || !Ticked(id)) {
        return;
    }
    // Only a move to another control of this dialog asks, as the user works through the boxes;
    // switching to another program does not.
    HWND focus = GetFocus();
    if (focus == nullptr || focus == box || !IsChild(hwnd(), focus)) {
        return;
    }
    // A button pressed with the mouse would keep the capture and swallow the answer's click.
    if (HWND captured = GetCapture(); captured != nullptr && IsChild(hwnd(), captured)) {
        ReleaseCapture();
    }
    if (Ask(ConfirmationFor(ControlName(id))) != IDOK) {
        SetBox(id, false);
    }
}

int frmsettings::Ask(std::string_view question) {
    const std::wstring text = Widen(question);
    const std::wstring title = Widen(kAppTitle);
    if (services_.messageBox) {
        return services_.messageBox(hwnd(), text, title, MB_OKCANCEL);
    }
    return MessageBoxW(hwnd(), text.c_str(), title.c_str(), MB_OKCANCEL);
}

void frmsettings::ShowAddMenu() {
    HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(IDM_SETTINGS_OPTIONS));
    if (menu == nullptr) {
        return;
    }
    POINT at = {};
    GetCursorPos(&at);
    RECT button = {};
    GetWindowRect(Control(Command101), &button);
    // Pressed from the keyboard, the mouse may be anywhere: open under the button instead.
    if (!PtInRect(&button, at)) {
        at = {button.left, button.bottom};
    }
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y,
                   0, hwnd(), nullptr);
    DestroyMenu(menu);
}

void frmsettings::OnOK() {
    const std::string settings = SettingsFile();
    for (const CatalogueItem* item : DialogItems()) {
        CarryOn([&] {
            const SettingName name = DialogSettingName(*item);
            WriteIniValue(settings, std::string(name.section), std::string(name.key),
                          Ticked(CheckId(item->box.control)) ? "1" : "0");
        });
    }
    CarryOn([&] { SaveCustomList(); });
    CarryOn([&] { SavePluginSwitches(); });
    CarryOn([&] { SaveWinapp2Ticks(); });
    Close(IDOK);
}

LRESULT frmsettings::OnNotify(const NMHDR& header) {
    if (static_cast<int>(header.idFrom) == Winapp2List) {
        if (header.code == LVN_ITEMCHANGING) {
            return Winapp2TickRefused(reinterpret_cast<const NMLISTVIEW&>(header)) ? TRUE : FALSE;
        }
        return header.code == static_cast<UINT>(NM_CUSTOMDRAW)
                   ? DrawWinapp2Row(reinterpret_cast<const NMLVCUSTOMDRAW&>(header))
                   : 0;
    }
    if (header.code != TCN_SELCHANGE) {
        return 0;
    }
    const int selected = static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
    if (static_cast<int>(header.idFrom) == SSTab1) {
        ShowTab(selected);
        return 0;
    }
    for (const SubTabs& sub : subTabs_) {
        if (sub.control == header.hwndFrom) {
            ShowSubTab(sub.tab, selected);
        }
    }
    return 0;
}

bool frmsettings::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == kAskWinapp2Warning) {
        CarryOn([&] { AskWinapp2Warning(static_cast<int>(wParam)); });
        result = 0;
        return true;
    }
    if (message != kAskAfterFocusLeft) {
        return false;
    }
    AskAfterFocusLeft(static_cast<int>(wParam));
    result = 0;
    return true;
}

void frmsettings::ShowOnly(const std::vector<HWND>& pages, int shown, HWND tabs) {
    HWND focus = GetFocus();
    for (int index = 0; index < static_cast<int>(pages.size()); ++index) {
        HWND page = pages[static_cast<std::size_t>(index)];
        if (index != shown && page != nullptr && IsChild(page, focus)) {
            // Keys sent to a hidden control would go nowhere the user can see.
            SetFocus(tabs);
        }
        ShowWindow(page, index == shown ? SW_SHOW : SW_HIDE);
    }
}

void frmsettings::ShowTab(int tab) {
    if (tab < 0 || tab >= static_cast<int>(pages_.size())) {
        return;
    }
    SendMessageW(Item(SSTab1), TCM_SETCURSEL, tab, 0);
    ShowOnly(pages_, tab, Item(SSTab1));
}

void frmsettings::ShowSubTab(int tab, int subTab) {
    const SubTabs* sub = SubTabsOf(tab);
    if (sub == nullptr || subTab < 0 || subTab >= static_cast<int>(sub->pages.size())) {
        return;
    }
    SendMessageW(sub->control, TCM_SETCURSEL, subTab, 0);
    ShowOnly(sub->pages, subTab, sub->control);
}

void frmsettings::OnDestroyed() {
    pages_.clear();
    subTabs_.clear();
    nextFrameId_ = IDC_SET_FRAME_FIRST;
    serifFont_.Reset();
    winapp2Rows_.clear();
    winapp2Asking_.clear();
    boldFont_.Reset();
}

}  // namespace hm
