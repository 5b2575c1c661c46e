#include "app/gui_options_dialog.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <utility>

#include "app/options_rules.h"
#include "config/inifun.h"
#include "engine/clean_run.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace hm {
namespace {

struct OptionBox {
    int id;
    const char* key;
};

// The boxes that "OK" stores as they are; the boss key and the start-up entry have steps of
// their own.
constexpr OptionBox kStoredBoxes[] = {
    {Frmoption::Check3, kAutoCleanKey},       {Frmoption::Check4, kExitKey},
    {Frmoption::Check6, kSecurelyKey},        {Frmoption::Check7, kWindowsStartupKey},
    {Frmoption::Check8, kWindowsShutdownKey},
};

constexpr OptionBox kLoadedBoxes[] = {
    {Frmoption::Check1, kBossKeyKey},         {Frmoption::Check2, kStartupKey},
    {Frmoption::Check3, kAutoCleanKey},       {Frmoption::Check4, kExitKey},
    {Frmoption::Check6, kSecurelyKey},        {Frmoption::Check7, kWindowsStartupKey},
    {Frmoption::Check8, kWindowsShutdownKey},
};

constexpr const wchar_t* kPageTitles[Frmoption::kPageCount] = {L"General", L"Schedule",
                                                               L"Homepage"};
constexpr int kPageTemplates[Frmoption::kPageCount] = {
    IDD_FRMOPTION_GENERAL, IDD_FRMOPTION_SCHEDULE, IDD_FRMOPTION_HOMEPAGE};

// Controls of page n have ids 2100 + 100 n and up (options_ids.h).
int PageOfControl(int id) {
    const int page = id / 100 - 21;
    return page >= 0 && page < Frmoption::kPageCount ? page : -1;
}

// Under a visual style a tab page should show the tab control's pane texture rather than the
// dialog colour. The theme library is in the process whenever styles are in use, so it is not
// loaded here, and without it there is nothing to match.
void UseTabTexture(HWND page) {
    HMODULE theme = GetModuleHandleW(L"uxtheme.dll");
    if (theme == nullptr) {
        return;
    }
    using EnableTexture = HRESULT(WINAPI*)(HWND, DWORD);
    const FARPROC found = GetProcAddress(theme, "EnableThemeDialogTexture");
    if (found != nullptr) {
        reinterpret_cast<EnableTexture>(reinterpret_cast<void (*)()>(found))(page, ETDT_ENABLETAB);
    }
}

}  // namespace

bool RunKeyWriter::Write(RootKey root, const std::string& commandLine) {
    RegKey key;
    if (key.Create(ToHkey(root), kRunSubKey, KEY_SET_VALUE) != ERROR_SUCCESS) {
        return false;
    }
    return key.SetString(kRunValueName, commandLine) == ERROR_SUCCESS;
}

void RunKeyWriter::Remove(RootKey root) {
    RegKey key;
    if (key.Open(ToHkey(root), kRunSubKey, KEY_SET_VALUE) == ERROR_SUCCESS) {
        key.DeleteValue(kRunValueName);
    }
}

Frmoption::Frmoption(std::string programFolder, Regfun& registry, SharedValues& values,
                     std::function<void(bool on)> switchBossKey)
    : Dialog(IDD_FRMOPTION),
      programFolder_(std::move(programFolder)),
      registry_(registry),
      values_(values),
      switchBossKey_(std::move(switchBossKey)) {
    // The template holds a tab control, which cannot be made before its class is registered.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

Frmoption::~Frmoption() {
    // The heading font must outlive the window that draws with it.
    if (hwnd() != nullptr) {
        DestroyWindow(hwnd());
    }
}

HWND Frmoption::Control(int id) const {
    if (hwnd() == nullptr) {
        return nullptr;
    }
    const int page = PageOfControl(id);
    if (page < 0) {
        return Item(id);
    }
    return pages_[page] != nullptr ? GetDlgItem(pages_[page], id) : nullptr;
}

HWND Frmoption::PageWindow(int page) const {
    return page >= 0 && page < kPageCount ? pages_[page] : nullptr;
}

int Frmoption::CurrentPage() const {
    return static_cast<int>(SendMessageW(Item(Tabs), TCM_GETCURSEL, 0, 0));
}

void Frmoption::ShowPage(int page) {
    if (page < 0 || page >= kPageCount) {
        return;
    }
    SendMessageW(Item(Tabs), TCM_SETCURSEL, page, 0);
    HWND focus = GetFocus();
    for (int index = 0; index < kPageCount; ++index) {
        if (index != page && pages_[index] != nullptr && IsChild(pages_[index], focus)) {
            // Keys sent to a hidden control would go nowhere the user can see.
            SetFocus(Item(Tabs));
        }
        ShowWindow(pages_[index], index == page ? SW_SHOW : SW_HIDE);
    }
}

bool Frmoption::OnInit() {
    CreatePages();
    Load();
    SetFocus(Item(Tabs));
    return false;
}

void Frmoption::CreatePages() {
    HWND tabs = Item(Tabs);
    for (int page = 0; page < kPageCount; ++page) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kPageTitles[page]);
        SendMessageW(tabs, TCM_INSERTITEMW, page, reinterpret_cast<LPARAM>(&item));
    }
    // The pages fill the tab control's display area, whatever size the font gave it.
    RECT area = {};
    GetWindowRect(tabs, &area);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&area), 2);
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (int page = 0; page < kPageCount; ++page) {
        pages_[page] = CreateDialogParamW(Module(), MAKEINTRESOURCEW(kPageTemplates[page]), hwnd(),
                                          &Frmoption::PageProc, 0);
        if (pages_[page] != nullptr) {
            UseTabTexture(pages_[page]);
            // Above the tab control, which would otherwise paint over the page.
            SetWindowPos(pages_[page], HWND_TOP, area.left, area.top, area.right - area.left,
                         area.bottom - area.top, SWP_NOACTIVATE);
        }
    }
    HWND heading = Control(IDC_OPT_PROTECTHEADING);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(heading, WM_GETFONT, 0, 0));
    LOGFONTW bold = {};
    if (font != nullptr && GetObjectW(font, sizeof(bold), &bold) != 0) {
        bold.lfWeight = FW_BOLD;
        headingFont_ = ScopedFont(CreateFontIndirectW(&bold));
        SendMessageW(heading, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_.get()), FALSE);
    }
    ShowPage(kGeneral);
}

INT_PTR CALLBACK Frmoption::PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        // The dialog handles its pages' controls as its own.
        SendMessageW(GetParent(page), WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

void Frmoption::Load() {
    // A missing value reads as "Error". Shown, it would go back as the start page on "OK".
    CarryOn([&] {
        std::string startPage = registry_.GetRegString(kCurrentUserIeMain, kStartPageValue);
        SetTextOf(Text1, startPage == "Error" ? std::string() : startPage);
    });
    CarryOn([&] {
        std::string title = registry_.GetRegString(kCurrentUserIeMain, kWindowTitleValue);
        SetTextOf(Text2, title == "Error" ? std::string() : title);
    });
    CarryOn([&] {
        for (const OptionBox& box : kLoadedBoxes) {
            SetCheck(box.id, ReadsAsChecked(ReadOption(box.key)));
        }
    });
    CarryOn([&] {
        HWND list = Control(cmbStartTime);
        for (const std::string& time : StartTimes()) {
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(time).c_str()));
        }
    });
    CarryOn([&] {
        const std::array<bool, 7> days = ParseCleanDays(ReadOption(kCleanDaysKey));
        for (std::size_t day = 0; day < days.size(); ++day) {
            SetCheck(kDayBoxes[day], days[day]);
        }
    });
    CarryOn([&] { SetTextOf(cmbStartTime, ReadOption(kCleanTimeKey)); });
}

bool Frmoption::OnCommand(int id, int code) {
    switch (id) {
        case Command1:
            if (code == BN_CLICKED) {
                OnOK();
            }
            return true;
        case Command2:
            if (code == BN_CLICKED) {
                OnCancel();
            }
            return true;
        case chkDaily:
            if (code == BN_CLICKED) {
                const bool all = Checked(chkDaily);
                for (int box : kDayBoxes) {
                    SetCheck(box, all);
                }
            }
            return true;
        default:
            return Dialog::OnCommand(id, code);
    }
}

LRESULT Frmoption::OnNotify(const NMHDR& header) {
    if (static_cast<int>(header.idFrom) == Tabs && header.code == TCN_SELCHANGE) {
        ShowPage(CurrentPage());
    }
    return 0;
}

void Frmoption::OnOK() {
    CarryOn([&] {
        if (Text(Text1).empty()) {
            SetTextOf(Text1, " ");
        }
    });
    CarryOn([&] {
        if (Text(Text2).empty()) {
            SetTextOf(Text2, " ");
        }
    });
    CarryOn([&] { SaveInternetExplorerTexts(); });
    CarryOn([&] { SaveBossKey(); });
    CarryOn([&] { SaveStartWithWindows(); });
    CarryOn([&] {
        for (const OptionBox& box : kStoredBoxes) {
            WriteOption(box.key, FlagText(Checked(box.id)));
        }
    });
    CarryOn([&] { SaveSchedule(); });
    // The schedule tick reads these; it must see the new schedule without a restart.
    CarryOn([&] { values_.DayFlags = DayFlagsFromCleanDays(ReadOption(kCleanDaysKey)); });
    CarryOn([&] { values_.CleanTime = ReadOption(kCleanTimeKey); });
    Close(IDOK);
}

void Frmoption::SaveInternetExplorerTexts() {
    const std::string startPage = Text(Text1);
    const std::string title = Text(Text2);
    for (const char* key : kIeMainKeys) {
        // A key the user may not write (the machine's, another user's) is skipped silently.
        CarryOn([&] { registry_.SetRegString(key, kStartPageValue, startPage); });
        CarryOn([&] { registry_.SetRegString(key, kWindowTitleValue, title); });
    }
}

void Frmoption::SaveBossKey() {
    const bool wanted = Checked(Check1);
    // Read the way the main window read it at start, so that "on" here means the hot keys are
    // registered. A value that cannot be compared counts as on; unchecking must switch it off
    // too, or a fresh install could never lose its boss key.
    if (ReadsAsChecked(ReadOption(kBossKeyKey)) == wanted) {
        return;
    }
    WriteOption(kBossKeyKey, FlagText(wanted));
    if (switchBossKey_) {
        switchBossKey_(wanted);
    }
}

void Frmoption::SaveStartWithWindows() {
    const bool wanted = Checked(Check2);
    WriteOption(kStartupKey, FlagText(wanted));
    if (!wanted) {
        runKey_->Remove(kLocalMachine);
        runKey_->Remove(kCurrentUser);
        return;
    }
    const std::string commandLine = RunValueText(programFolder_);
    // Only administrators may write the machine's Run key; everyone else starts the program
    // from their own. One entry at a time, or the program would start twice.
    if (runKey_->Write(kLocalMachine, commandLine)) {
        runKey_->Remove(kCurrentUser);
    } else {
        runKey_->Write(kCurrentUser, commandLine);
    }
}

void Frmoption::SaveSchedule() {
    std::array<bool, 7> days{};
    for (std::size_t day = 0; day < days.size(); ++day) {
        days[day] = Checked(kDayBoxes[day]);
    }
    CarryOn([&] { WriteOption(kCleanDaysKey, FormatCleanDays(days)); });
    CarryOn([&] { WriteOption(kCleanTimeKey, Text(cmbStartTime)); });
}

void Frmoption::OnDestroyed() {
    pages_ = {};
    headingFont_.Reset();
}

std::string Frmoption::Settings() const {
    return programFolder_ + "\\hushsd.dat";
}

std::string Frmoption::ReadOption(const char* key) const {
    return ReadIniValue(Settings(), kOptionsSection, key);
}

void Frmoption::WriteOption(const char* key, const std::string& value) const {
    WriteIniValue(Settings(), kOptionsSection, key, value);
}

bool Frmoption::Checked(int id) const {
    return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Frmoption::SetCheck(int id, bool checked) {
    SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string Frmoption::Text(int id) const {
    return GetText(Control(id));
}

void Frmoption::SetTextOf(int id, const std::string& text) {
    SetText(Control(id), text);
}

}  // namespace hm
