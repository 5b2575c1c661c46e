#include "app/gui_main_window.h"

#include <commctrl.h>

#include <vector>

#include "app/gui_main_window_controls.h"
#include "app/gui_message_loop.h"
#include "engine/shared_values.h"
#include "platform/text.h"

#include "app/image_ids.h"

namespace hm {
namespace {

UINT IconFlags(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
        case MessageIcon::Exclamation:
            return MB_ICONWARNING;
        case MessageIcon::Critical:
            return MB_ICONERROR;
        case MessageIcon::None:
            break;
    }
    return 0;
}

int ImageIndex(int id) {
    for (size_t index = 0; index < MainWindow::kImageIds.size(); ++index) {
        if (MainWindow::kImageIds[index] == id) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi != nullptr && window != nullptr) {
        const UINT dpi = getDpi(window);
        if (dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

HICON LoadButtonIcon(HINSTANCE instance, int index, int size) {
    const int ids[] = {IDI_BTN_MAIN,    IDI_BTN_SETTINGS, IDI_BTN_CLEAN,    IDI_BTN_SEARCH,
                       IDI_BTN_OPTIONS, IDI_BTN_SHREDDER, IDI_BTN_REGISTRY, IDI_BTN_EXIT};
    HICON icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(ids[index]), IMAGE_ICON, size, size, 0));
    if (icon != nullptr) {
        return icon;
    }
    return static_cast<HICON>(
        LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace

MainWindow::MainWindow(MainWindowHost& host) : host_(host) {}

MainWindow::~MainWindow() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
    for (HICON& icon : icons_) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

bool MainWindow::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, kMainWindowClass, &existing)) {
        return true;
    }
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &ForwardingWindowProc<MainWindow>;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_HUSHMARK));
    if (windowClass.hIcon == nullptr) {
        windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    }
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

bool MainWindow::Create(HINSTANCE instance) {
    if (hwnd_ != nullptr || !RegisterWindowClass(instance)) {
        return false;
    }
    instance_ = instance;
    // WS_EX_CONTROLPARENT lets the message loop move the focus between the controls with Tab.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    if (CreateWindowExW(WS_EX_CONTROLPARENT, kMainWindowClass, Widen(kMainWindowCaption).c_str(),
                        style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance,
                        this) == nullptr) {
        hwnd_ = nullptr;
        return false;
    }
    dpi_ = WindowDpi(hwnd_);
    if (!CreateControls()) {
        DestroyWindow(hwnd_);
        return false;
    }
    Layout();
    ShowHomePanel();
    message_loop::AddDialogWindow(hwnd_);
    return true;
}

void MainWindow::MakeFonts() {
    const double scale = static_cast<double>(dpi_) / WindowDpi(nullptr);
    font_ = MakeMessageFont(false, scale);
    titleFont_ = MakeMessageFont(true, 2.0 * scale);
    linkFont_ = MakeMessageFont(false, scale, true);
}

bool MainWindow::CreateControls() {
    MakeFonts();
    for (const ControlSpec& spec : MainWindowControls()) {
        if (AddControl(hwnd_, spec.className, spec.text, spec.style, spec.exStyle, spec.box,
                       spec.id, nullptr) == nullptr) {
            return false;
        }
    }
    // The bar's picture lies beneath its buttons, and neither paints over the other.
    SetWindowPos(Control(IDC_PICTURE1), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (int id : kImageIds) {
        SetWindowLongW(Control(id), GWL_STYLE,
                       GetWindowLongW(Control(id), GWL_STYLE) | WS_CLIPSIBLINGS);
        SetWindowSubclass(Control(id), &MainWindow::ImageProc, 1,
                          reinterpret_cast<DWORD_PTR>(this));
    }
    SetWindowSubclass(Control(IDC_PICTURE1), &MainWindow::ImageProc, 1,
                      reinterpret_cast<DWORD_PTR>(this));
    HWND list = Control(IDC_LISTVIEW1);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const wchar_t* headers[] = {L"Item", L"Status"};
    for (int index = 0; index < 2; ++index) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(headers[index]);
        column.cx = 100;
        column.iSubItem = index;
        if (SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)) < 0) {
            return false;
        }
    }
    SendMessageW(Control(IDC_PROGRESS), PBM_SETRANGE32, 0, 100);
    EnableWindow(Control(IDC_DETAILS), FALSE);
    SetTimer(hwnd_, kTimer1, kTimer1Ms, nullptr);
    SetTimer(hwnd_, kTmrShowPopup, kTmrShowPopupMs, nullptr);
    return true;
}

// Places every control for the window's DPI, with fonts and pictures of the matching size.
void MainWindow::Layout() {
    MakeFonts();
    const HFONT fonts[] = {font_.get(), titleFont_.get(), linkFont_.get()};
    for (const ControlSpec& spec : MainWindowControls()) {
        HWND control = Control(spec.id);
        MoveWindow(control, Scale(spec.box.x), Scale(spec.box.y), Scale(spec.box.width),
                   Scale(spec.box.height), FALSE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[spec.font]), FALSE);
    }
    for (size_t index = 0; index < icons_.size(); ++index) {
        if (icons_[index] != nullptr) {
            DestroyIcon(icons_[index]);
        }
        icons_[index] = LoadButtonIcon(instance_, static_cast<int>(index), Scale(32));
    }
    helpIcon_ = static_cast<HICON>(
        LoadImageW(nullptr, IDI_QUESTION, IMAGE_ICON, Scale(32), Scale(32), LR_SHARED));
    SendMessageW(Control(IDC_PICTURE2), STM_SETICON, reinterpret_cast<WPARAM>(helpIcon_), 0);
    SetColumnWidths();

    RECT frame = {0, 0, Scale(kMainClientWidth), Scale(kMainClientHeight)};
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
    AdjustWindowRectEx(&frame, style, TRUE, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::SetColumnWidths() {
    HWND list = Control(IDC_LISTVIEW1);
    RECT inside = {};
    GetClientRect(list, &inside);
    const int itemWidth = Scale(analyzedRows_ > 0 ? kAnalysisItemColumnWidth : kItemColumnWidth);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, itemWidth);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1,
                 (inside.right - inside.left) - itemWidth - GetSystemMetrics(SM_CXVSCROLL));
}

void MainWindow::ShowHomePanel() {
    statusShown_ = false;
    for (const ControlSpec& spec : MainWindowControls()) {
        if (spec.panel != Panel::Both) {
            ShowWindow(Control(spec.id), spec.panel == Panel::Home ? SW_SHOW : SW_HIDE);
        }
    }
}

void MainWindow::ShowStatusPanel() {
    statusShown_ = true;
    for (const ControlSpec& spec : MainWindowControls()) {
        if (spec.panel != Panel::Both) {
            ShowWindow(Control(spec.id), spec.panel == Panel::Status ? SW_SHOW : SW_HIDE);
        }
    }
}

void MainWindow::SetHomeTotals(const std::string& lastClean, const std::string& totalsLine) {
    SetText(Control(IDC_LABEL12), lastClean);
    SetText(Control(IDC_LABEL14), totalsLine);
}

void MainWindow::SelectImage(int id) {
    const int selected = ImageIndex(id);
    for (size_t index = 0; index < borders_.size(); ++index) {
        const bool border = static_cast<int>(index) == selected;
        if (borders_[index] != border) {
            borders_[index] = border;
            InvalidateRect(Control(kImageIds[index]), nullptr, TRUE);
        }
    }
}

void MainWindow::ClearSelections() {
    SelectImage(0);
}

bool MainWindow::ImageBorder(int id) const {
    const int index = ImageIndex(id);
    return index >= 0 && borders_[static_cast<size_t>(index)];
}

int MainWindow::ShowMessage(const std::string& text, const std::string& title, UINT type) {
    if (messageBox_) {
        return messageBox_(hwnd_, Widen(text), Widen(title), type);
    }
    return MessageBoxW(hwnd_, Widen(text).c_str(), Widen(title).c_str(), type);
}

int MainWindow::TrackMenu(HMENU menu) {
    POINT cursor = {};
    GetCursorPos(&cursor);
    return static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                           cursor.x, cursor.y, 0, hwnd_, nullptr));
}

void MainWindow::Tell(const std::string& text, const std::string& title, MessageIcon icon) {
    ShowMessage(text, title, MB_OK | IconFlags(icon));
}

void MainWindow::BeginPass() {
    busy_ = true;
    ShowStatusPanel();
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    EnableWindow(Control(IDC_COMMAND1), FALSE);
    EnableWindow(Control(IDC_ANALYZE), FALSE);
    HWND list = Control(IDC_LISTVIEW1);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    currentRow_ = -1;
    analyzedRows_ = 0;
    EnableWindow(Control(IDC_DETAILS), FALSE);
    SetColumnWidths();
    SetStatusHeader("Status");
    UpdateWindow(list);
    SendMessageW(Control(IDC_PROGRESS), PBM_SETPOS, 1, 0);
    SetText(Control(IDC_SKINLABEL5), "");
}

void MainWindow::AddRow(const std::string& label, const std::string& status) {
    HWND list = Control(IDC_LISTVIEW1);
    std::wstring text = Widen(label);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = text.data();
    const int row =
        static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) {
        return;
    }
    currentRow_ = row;
    SetListText(row, 1, status);
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
}

void MainWindow::SetRowStatus(const std::string& status) {
    if (currentRow_ >= 0) {
        SetListText(currentRow_, 1, status);
    }
}

void MainWindow::SetListText(int row, int column, const std::string& text) {
    std::wstring wide = Widen(text);
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(Control(IDC_LISTVIEW1), LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void MainWindow::SetCaption(const std::string& text) {
    SetText(Control(IDC_SKINLABEL5), text);
}

void MainWindow::SetProgress(int value) {
    SendMessageW(Control(IDC_PROGRESS), PBM_SETPOS, value, 0);
}

void MainWindow::PumpEvents() {
    message_loop::PumpPending();
}

void MainWindow::BringToFront() {
    if (hwnd_ != nullptr && IsWindowVisible(hwnd_)) {
        SetForegroundWindow(hwnd_);
        SetFocus(hwnd_);
    }
}

void MainWindow::EndPass() {
    EnableWindow(Control(IDC_COMMAND1), TRUE);
    EnableWindow(Control(IDC_ANALYZE), TRUE);
    busy_ = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void MainWindow::SetStatusHeader(const std::string& text) {
    std::wstring wide = Widen(text);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = wide.data();
    SendMessageW(Control(IDC_LISTVIEW1), LVM_SETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
}

void MainWindow::ShowAnalysis(const std::string& statusHeader, const std::vector<ListRow>& items,
                              const ListRow& closing, const std::string& caption) {
    HWND list = Control(IDC_LISTVIEW1);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    analyzedRows_ = static_cast<int>(items.size());
    SetColumnWidths();
    SetStatusHeader(statusHeader);
    for (const ListRow& row : items) {
        AddRow(row.label, row.status);
    }
    AddRow(closing.label, closing.status);
    SetCaption(caption);
    // The first row is selected, so that "Details..." is ready at once.
    if (analyzedRows_ > 0) {
        LVITEMW state = {};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
        SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
    }
    UpdateDetailsButton();
}

int MainWindow::SelectedAnalysisRow() const {
    if (analyzedRows_ == 0) {
        return -1;
    }
    const int row = static_cast<int>(SendMessageW(Control(IDC_LISTVIEW1), LVM_GETNEXTITEM,
                                                  static_cast<WPARAM>(-1), LVNI_SELECTED));
    return row >= 0 && row < analyzedRows_ ? row : -1;
}

void MainWindow::UpdateDetailsButton() {
    EnableWindow(Control(IDC_DETAILS), !busy_ && SelectedAnalysisRow() >= 0);
}

}  // namespace hm
