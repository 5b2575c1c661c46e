// frmsettings: its pages, frames and boxes, made from the catalogue when the dialog opens. All
// positions are dialog units of the page's own font, turned into pixels by the page itself, so
// the layout scales with the font and the screen's DPI like the templates do.
#include "config/gui_settings_dialog.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <utility>

#include "platform/text.h"

namespace hm {
namespace {

// Dialog units.
constexpr int kMargin = 6;
constexpr int kGap = 6;
constexpr int kInset = 8;      // from a frame's sides to its boxes
constexpr int kFrameTop = 12;  // from a frame's top to its first row, below the caption
constexpr int kRowPitch = 12;
constexpr int kBoxHeight = 10;
constexpr int kFrameBottom = 4;  // below the last row
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kRowButtonHeight = 12;  // a button beside a box keeps to the box's row

// The buttons that open the keep lists, each beside the box whose items the list keeps.
struct OptionButton {
    int id;
    std::string_view beside;
};
constexpr OptionButton kOptionButtons[] = {{frmsettings::Command7, "Check1"},
                                           {frmsettings::Command8, "Check4"}};

// Frames with names of their own; the others are numbered as they are made.
struct NamedFrame {
    std::string_view tab;
    int id;
};
constexpr NamedFrame kNamedFrames[] = {{"Windows", frmsettings::Frame5},
                                       {"Microsoft Office", frmsettings::Frame6}};

// These two frame titles have always been set in a serif face.
constexpr std::string_view kSerifFrames[] = {"Internet Explorer", "Windows"};

const OptionButton* OptionButtonBeside(std::string_view control) {
    for (const OptionButton& button : kOptionButtons) {
        if (button.beside == control) {
            return &button;
        }
    }
    return nullptr;
}

ControlBox Pixels(HWND page, int left, int top, int right, int bottom) {
    RECT box = {left, top, right, bottom};
    MapDialogRect(page, &box);
    return {box.left, box.top, box.right - box.left, box.bottom - box.top};
}

void MoveTo(HWND control, const ControlBox& box) {
    SetWindowPos(control, nullptr, box.x, box.y, box.width, box.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The page's client size in its dialog units.
SIZE SizeInDialogUnits(HWND page) {
    RECT unit = {0, 0, 400, 800};
    MapDialogRect(page, &unit);
    RECT client = {};
    GetClientRect(page, &client);
    return {unit.right > 0 ? client.right * 400 / unit.right : 0,
            unit.bottom > 0 ? client.bottom * 800 / unit.bottom : 0};
}

HFONT FontOf(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
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

// The part of a tab control that its pages cover, in the parent's client coordinates.
RECT DisplayArea(HWND tabs, HWND parent) {
    RECT area = {};
    GetWindowRect(tabs, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

void AddTabs(HWND tabs, const std::vector<std::string_view>& titles) {
    for (std::size_t index = 0; index < titles.size(); ++index) {
        std::wstring title = Widen(titles[index]);
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = title.data();
        SendMessageW(tabs, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
    }
}

void AddColumns(HWND list, std::initializer_list<std::pair<const wchar_t*, int>> columns) {
    RECT client = {};
    GetClientRect(list, &client);
    const int width = client.right - GetSystemMetrics(SM_CXVSCROLL);
    int index = 0;
    for (const auto& [title, percent] : columns) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(title);
        column.cx = width * percent / 100;
        column.iSubItem = index;
        SendMessageW(list, LVM_INSERTCOLUMNW, index++, reinterpret_cast<LPARAM>(&column));
    }
}

// Every caption on a page, in the order the boxes are made, with the page's access keys.
std::vector<std::string> PageCaptions(const PageModel& model, std::string_view taken) {
    std::vector<std::string> captions;
    for (const FrameModel& frame : model.frames) {
        for (const CatalogueItem* row : frame.boxes) {
            captions.emplace_back(row->box.caption);
        }
        if (!frame.selectAll.empty()) {
            captions.emplace_back(kSelectAllCaption);
        }
    }
    return WithAccessKeys(captions, taken);
}

// The access keys that a page's template controls already use.
std::string TakenKeys(HWND page) {
    std::string taken;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (const char key = AccessKeyOf(GetText(child))) {
            taken.push_back(key);
        }
    }
    return taken;
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(page, DWLP_USER, lParam);
        return FALSE;
    }
    const auto dialog = reinterpret_cast<HWND>(GetWindowLongPtrW(page, DWLP_USER));
    if (dialog == nullptr) {
        return FALSE;
    }
    // The dialog handles its pages' controls as its own.
    if (message == WM_COMMAND) {
        SendMessageW(dialog, WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        SetWindowLongPtrW(page, DWLP_MSGRESULT, SendMessageW(dialog, WM_NOTIFY, wParam, lParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

HWND frmsettings::CreatePage(int templateId, HWND parent) {
    HWND page = CreateDialogParamW(Module(), MAKEINTRESOURCEW(templateId), parent, &PageProc,
                                   reinterpret_cast<LPARAM>(hwnd()));
    if (page != nullptr) {
        UseTabTexture(page);
    }
    return page;
}

void frmsettings::CreatePages() {
    const std::vector<PageModel> model = SettingsPages();
    const std::vector<std::string_view> titles = SettingsTabs();
    HWND tabs = Item(SSTab1);
    // The community rules come from winapp2.ini, not the catalogue; their tab comes last.
    std::vector<std::string_view> shownTitles = titles;
    shownTitles.push_back(kWinapp2Tab);
    AddTabs(tabs, shownTitles);
    const RECT area = DisplayArea(tabs, hwnd());
    const auto place = [](HWND page, const RECT& at) {
        // Above the tab control, which would otherwise paint over the page.
        SetWindowPos(page, HWND_TOP, at.left, at.top, at.right - at.left, at.bottom - at.top,
                     SWP_NOACTIVATE);
    };
    for (std::string_view title : titles) {
        std::vector<const PageModel*> shown;
        for (const PageModel& page : model) {
            if (page.tab == title) {
                shown.push_back(&page);
            }
        }
        if (shown.empty()) {
            continue;
        }
        if (!shown.front()->subTab.empty()) {
            // Each such tab holds a tab control of its own, with one page per sub-tab.
            HWND holder = CreatePage(IDD_SETTINGS_TABPAGE, hwnd());
            SubTabs sub = {static_cast<int>(pages_.size()), GetDlgItem(holder, SSTab2), {}};
            pages_.push_back(holder);
            place(holder, area);
            const SIZE size = SizeInDialogUnits(holder);
            MoveTo(sub.control, Pixels(holder, 4, 4, size.cx - 4, size.cy - 4));
            std::vector<std::string_view> subTitles;
            for (const PageModel* page : shown) {
                subTitles.push_back(page->subTab);
            }
            AddTabs(sub.control, subTitles);
            const RECT innerArea = DisplayArea(sub.control, holder);
            for (const PageModel* page : shown) {
                HWND window = CreatePage(IDD_SETTINGS_BOXPAGE, holder);
                sub.pages.push_back(window);
                place(window, innerArea);
                FillBoxPage(window, *page);
            }
            subTabs_.push_back(std::move(sub));
            continue;
        }
        const PageModel& page = *shown.front();
        const int templateId = page.kind == PageKind::Plugins       ? IDD_SETTINGS_PLUGINS
                               : page.kind == PageKind::CustomItems ? IDD_SETTINGS_CUSTOM
                                                                    : IDD_SETTINGS_BOXPAGE;
        HWND window = CreatePage(templateId, hwnd());
        pages_.push_back(window);
        place(window, area);
        if (page.kind == PageKind::Plugins) {
            FillPluginPage(window);
        } else if (page.kind == PageKind::CustomItems) {
            FillCustomPage(window, page);
        } else {
            FillBoxPage(window, page);
        }
    }
    HWND rules = CreatePage(IDD_SETTINGS_WINAPP2, hwnd());
    pages_.push_back(rules);
    place(rules, area);
    FillWinapp2Page(rules);
    for (const SubTabs& sub : subTabs_) {
        ShowSubTab(sub.tab, 0);
    }
    ShowTab(0);
}

void frmsettings::FillBoxPage(HWND page, const PageModel& model) {
    const SIZE size = SizeInDialogUnits(page);
    const int count = static_cast<int>(model.frames.size());
    const int columns = std::min(count, 2);
    if (columns == 0) {
        return;
    }
    const int perColumn = (count + columns - 1) / columns;
    const int width = (size.cx - 2 * kMargin - (columns - 1) * kGap) / columns;
    const std::vector<std::string> captions = PageCaptions(model, TakenKeys(page));
    std::size_t caption = 0;
    std::vector<int> top(static_cast<std::size_t>(columns), kMargin);
    for (int index = 0; index < count; ++index) {
        const FrameModel& frame = model.frames[static_cast<std::size_t>(index)];
        const int column = index / perColumn;
        const int left = kMargin + column * (width + kGap);
        int& y = top[static_cast<std::size_t>(column)];
        const RECT box = {
            left, y, left + width,
            y + kFrameTop + FrameRows(frame) * kRowPitch - (kRowPitch - kBoxHeight) + kFrameBottom};
        int id = nextFrameId_;
        for (const NamedFrame& named : kNamedFrames) {
            if (named.tab == model.tab && model.frames.size() == 1) {
                id = named.id;
            }
        }
        if (id == nextFrameId_) {
            ++nextFrameId_;
        }
        AddFrame(page, frame, id, box);
        AddBoxes(page, frame, box, captions, caption);
        y = box.bottom + kGap;
    }
}

HWND frmsettings::AddFrame(HWND page, const FrameModel& frame, int id, RECT dlu) {
    HFONT font = FontOf(page);
    if (std::find(std::begin(kSerifFrames), std::end(kSerifFrames), frame.caption) !=
        std::end(kSerifFrames)) {
        if (serifFont_.get() == nullptr) {
            LOGFONTW face = {};
            GetObjectW(font, sizeof(face), &face);
            lstrcpynW(face.lfFaceName, L"Times New Roman", LF_FACESIZE);
            serifFont_ = ScopedFont(CreateFontIndirectW(&face));
        }
        font = serifFont_.get() != nullptr ? serifFont_.get() : font;
    }
    return AddControl(page, L"Button", std::string(frame.caption), BS_GROUPBOX, 0,
                      Pixels(page, dlu.left, dlu.top, dlu.right, dlu.bottom), id, font);
}

void frmsettings::AddBoxes(HWND page, const FrameModel& frame, RECT dlu,
                           const std::vector<std::string>& captions, std::size_t& caption) {
    std::vector<std::string_view> names;
    for (const CatalogueItem* row : frame.boxes) {
        names.push_back(row->box.control);
    }
    if (!frame.selectAll.empty()) {
        names.push_back(frame.selectAll);
    }
    const bool withButtons = std::any_of(names.begin(), names.end(), [](std::string_view name) {
        return OptionButtonBeside(name) != nullptr;
    });
    const int rows = FrameRows(frame);
    const int left = dlu.left + kInset;
    const int column = (dlu.right - dlu.left - 2 * kInset - (frame.columns - 1) * kInset) /
                       std::max(frame.columns, 1);
    const int width = column - (withButtons ? kButtonWidth + kGap : 0);
    HFONT font = FontOf(page);
    for (int index = 0; index < static_cast<int>(names.size()); ++index) {
        const std::string_view name = names[static_cast<std::size_t>(index)];
        const int x = left + index / rows * (column + kInset);
        const int y = dlu.top + kFrameTop + index % rows * kRowPitch;
        const DWORD notify = ConfirmationFor(name).empty() ? 0 : BS_NOTIFY;
        const std::string& text = caption < captions.size() ? captions[caption] : std::string();
        ++caption;
        AddControl(page, L"Button", text, BS_AUTOCHECKBOX | WS_TABSTOP | notify, 0,
                   Pixels(page, x, y, x + width, y + kBoxHeight), CheckId(name), font);
        if (const OptionButton* button = OptionButtonBeside(name)) {
            const int bx = x + width + kGap;
            AddControl(page, L"Button", "Options", BS_PUSHBUTTON | WS_TABSTOP, 0,
                       Pixels(page, bx, y - 1, bx + kButtonWidth, y - 1 + kRowButtonHeight),
                       button->id, font);
        }
    }
}

void frmsettings::FillCustomPage(HWND page, const PageModel& model) {
    if (model.frames.empty()) {
        return;
    }
    const FrameModel& frame = model.frames.front();
    const SIZE size = SizeInDialogUnits(page);
    const int buttons = size.cx - kMargin - kButtonWidth;
    const RECT box = {kMargin, kMargin, buttons - kGap, size.cy - kMargin};
    const std::string taken = TakenKeys(page);
    HWND framed = AddFrame(page, frame, Frame7, box);
    // The frame and its box come first in the tab order, before the template's list.
    SetWindowPos(framed, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::size_t caption = 0;
    const std::vector<std::string> captions = PageCaptions(model, taken);
    FrameModel single = frame;
    single.boxes.resize(std::min<std::size_t>(single.boxes.size(), 1));
    single.selectAll = {};
    const RECT boxRow = {box.left, box.top, box.right, box.top + kFrameTop + kBoxHeight};
    AddBoxes(page, single, boxRow, captions, caption);
    HWND previous = framed;
    for (const CatalogueItem* row : single.boxes) {
        HWND made = GetDlgItem(page, CheckId(row->box.control));
        SetWindowPos(made, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = made;
    }
    MoveTo(GetDlgItem(page, ListView2), Pixels(page, box.left + kInset, boxRow.bottom + kGap,
                                               box.right - kInset, box.bottom - kInset));
    const int ids[] = {Command101, Command102, Command2};
    for (int index = 0; index < 3; ++index) {
        const int y = kMargin + 4 + index * (kButtonHeight + 4);
        MoveTo(GetDlgItem(page, ids[index]),
               Pixels(page, buttons, y, buttons + kButtonWidth, y + kButtonHeight));
    }
    HWND list = GetDlgItem(page, ListView2);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AddColumns(list, {{L"Name", 50}, {L"Type", 11}, {L"Size", 13}, {L"Modified", 26}});
}

void frmsettings::FillPluginPage(HWND page) {
    const SIZE size = SizeInDialogUnits(page);
    HWND list = GetDlgItem(page, ListView1);
    MoveTo(list, Pixels(page, kMargin, kMargin, size.cx - kMargin, size.cy - kMargin));
    const DWORD styles = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
    AddColumns(list, {{L"Applications Name", 30}, {L"Version", 15}, {L"Description", 55}});
}

void frmsettings::FillWinapp2Page(HWND page) {
    const SIZE size = SizeInDialogUnits(page);
    HWND button = GetDlgItem(page, Winapp2Import);
    // The button keeps the template's width unless its caption needs more in this font.
    RECT width = {0, 0, 64, kButtonHeight};
    MapDialogRect(page, &width);
    HDC dc = GetDC(button);
    const HGDIOBJ old = SelectObject(dc, FontOf(button));
    RECT need = {};
    DrawTextW(dc, Widen(GetText(button)).c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(button, dc);
    RECT padding = {0, 0, 12, 0};
    MapDialogRect(page, &padding);
    const int pixels = std::max<int>(width.right, need.right + padding.right);
    const ControlBox right =
        Pixels(page, size.cx - kMargin, kMargin, size.cx - kMargin, kMargin + kButtonHeight);
    MoveTo(button, {right.x - pixels, right.y, pixels, right.height});
    const ControlBox note = Pixels(page, kMargin, kMargin + 3, size.cx - kMargin, kMargin + 13);
    MoveTo(GetDlgItem(page, Winapp2Note),
           {note.x, note.y, std::max(0, right.x - pixels - note.x - note.height), note.height});
    HWND list = GetDlgItem(page, Winapp2List);
    const int top = kMargin + kButtonHeight + kGap;
    MoveTo(list, Pixels(page, kMargin, top, size.cx - kMargin, size.cy - kMargin));
    const DWORD styles = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
    AddColumns(list, {{L"Rule", 40}, {L"Note", 60}});
    LOGFONTW face = {};
    GetObjectW(FontOf(list), sizeof(face), &face);
    face.lfWeight = FW_BOLD;
    boldFont_ = ScopedFont(CreateFontIndirectW(&face));
}

}  // namespace hm
