#include "app/gui_main_window.h"

#include <commctrl.h>

#include <utility>

#include "config/inifun.h"
#include "engine/format_rules.h"
#include "platform/text.h"

namespace hm {
namespace {

constexpr int kClientWidth = 620;
constexpr int kClientHeight = 500;
constexpr int kItemColumnWidth = 250;
// A flood of messages (a runaway timer, a stuck repaint) must not keep the pass from going on.
constexpr int kMaxPumpedMessages = 1000;

constexpr const char* kWarningText =
    "It's highly recommended that you shut down all other programs when erase the "
    "tracks,Hushmark can not erase the files which being used by other programs.";

UINT IconFlags(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
        case MessageIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case MessageIcon::Critical:
            return MB_ICONERROR;
        case MessageIcon::None:
            break;
    }
    return 0;
}

PassSetup WindowPassSetup(const std::string& programFolder, std::function<std::string()> now) {
    PassSetup setup;
    setup.programFolder = programFolder;
    setup.now = std::move(now);
    return setup;
}

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT type) {
    return MessageBoxW(owner, text.c_str(), title.c_str(), type);
}

}  // namespace

MainWindow::MainWindow(SharedValues& values, const std::string& programFolder,
                       std::function<std::string()> now)
    : values_(values),
      run_(*this, values, WindowPassSetup(programFolder, std::move(now))),
      messageBox_(&ShowMessageBox) {}

MainWindow::~MainWindow() {
    notice_.Close();
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
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
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

bool MainWindow::Create(HINSTANCE instance) {
    if (hwnd_ != nullptr || !RegisterWindowClass(instance)) {
        return false;
    }
    instance_ = instance;
    // No WS_CLIPCHILDREN: the "Status" frame paints only its outline and relies on the window
    // having painted the background beneath it.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    // WM_NCCREATE stores the window in hwnd_.
    if (CreateWindowExW(0, kMainWindowClass, Widen(kMainWindowCaption).c_str(), style,
                        CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, instance, this) == nullptr) {
        hwnd_ = nullptr;
        return false;
    }
    if (!CreateControls()) {
        DestroyWindow(hwnd_);
        return false;
    }
    values_.BackgroundRun = 0;
    LoadHomeTotals();
    return true;
}

bool MainWindow::CreateControls() {
    font_ = MakeMessageFont();
    titleFont_ = MakeMessageFont(true, 1.8);
    const HFONT font = font_.get();
    const DWORD label = SS_NOPREFIX | SS_ENDELLIPSIS;
    bool made = true;
    const auto add = [&](const wchar_t* className, const std::string& text, DWORD style,
                         DWORD exStyle, ControlBox box, int id, HFONT useFont) {
        HWND control = AddControl(hwnd_, className, text, style, exStyle, box, id, useFont);
        made = made && control != nullptr;
        return control;
    };

    // Home area.
    add(L"STATIC", kAppTitle, SS_NOPREFIX, 0, {16, 10, 400, 34}, kProductName, titleFont_.get());
    add(L"STATIC",
        "Erases the tracks that browsers, Windows, Office, messengers and mail programs leave "
        "behind.",
        label, 0, {16, 46, 588, 18}, kTagline, font);
    add(L"STATIC", "Last Cleaned at:", SS_NOPREFIX, 0, {16, 72, 100, 18}, kLastCleanCaption, font);
    add(L"STATIC", "", label, 0, {120, 72, 484, 18}, kLabel12, font);
    add(L"STATIC", "", label, 0, {16, 94, 588, 18}, kLabel14, font);

    // Status panel; the frame is made last so that it lies beneath the controls it holds.
    HWND list = add(WC_LISTVIEWW, "",
                    LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP,
                    WS_EX_CLIENTEDGE, {20, 146, 580, 186}, kListView1, font);
    HWND progress = add(PROGRESS_CLASSW, "", 0, 0, {20, 342, 580, 18}, kProgressBar, nullptr);
    add(L"STATIC", "", label, 0, {20, 368, 580, 18}, kSkinLabel5, font);
    add(L"STATIC", kWarningText, SS_NOPREFIX, 0, {20, 394, 580, 34}, kWarning, font);
    add(L"BUTTON", "Start Cleaning >>", BS_PUSHBUTTON | WS_TABSTOP, 0, {370, 446, 140, 28},
        kCommand1, font);
    add(L"BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 0, {520, 446, 80, 28}, kCommand2, font);
    add(L"BUTTON", "Status", BS_GROUPBOX | WS_CLIPSIBLINGS, 0, {8, 122, 604, 368}, kStatusFrame,
        font);
    if (!made) {
        return false;
    }

    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    RECT inside = {};
    GetClientRect(list, &inside);
    const int statusWidth =
        (inside.right - inside.left) - kItemColumnWidth - GetSystemMetrics(SM_CXVSCROLL);
    const std::pair<const wchar_t*, int> columns[] = {{L"Item", kItemColumnWidth},
                                                      {L"Status", statusWidth}};
    for (int index = 0; index < 2; ++index) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(columns[index].first);
        column.cx = columns[index].second;
        column.iSubItem = index;
        if (SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)) < 0) {
            return false;
        }
    }
    SendMessageW(progress, PBM_SETRANGE32, 0, 100);
    return true;
}

void MainWindow::LoadHomeTotals() {
    const std::string settings = run_.SettingsFile();
    std::string lastClean;
    CarryOn([&] { lastClean = LoadLastPassTotals(settings, values_); });
    SetText(Control(kLabel12), lastClean);
    SetText(Control(kLabel14),
            TotalsLineText(values_.RegistryKeysTotal, values_.BytesReleasedTotal));
}

bool MainWindow::HandleDialogKeys(MSG& message) {
    return hwnd_ != nullptr && IsDialogMessageW(hwnd_, &message);
}

void MainWindow::Tell(const std::string& text, const std::string& title, MessageIcon icon) {
    if (messageBox_) {
        messageBox_(hwnd_, Widen(text), Widen(title), MB_OK | IconFlags(icon));
    }
}

void MainWindow::BeginPass() {
    busy_ = true;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    EnableWindow(Control(kCommand1), FALSE);
    HWND list = Control(kListView1);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    currentRow_ = -1;
    UpdateWindow(list);
    SendMessageW(Control(kProgressBar), PBM_SETPOS, 1, 0);
    SetText(Control(kSkinLabel5), "");
}

void MainWindow::AddRow(const std::string& label, const std::string& status) {
    HWND list = Control(kListView1);
    if (list == nullptr) {
        return;
    }
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
    SendMessageW(Control(kListView1), LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void MainWindow::SetCaption(const std::string& text) {
    SetText(Control(kSkinLabel5), text);
}

void MainWindow::SetProgress(int value) {
    SendMessageW(Control(kProgressBar), PBM_SETPOS, value, 0);
}

void MainWindow::PumpEvents() {
    MSG message;
    for (int count = 0; count < kMaxPumpedMessages; ++count) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            return;
        }
        if (message.message == WM_QUIT) {
            // Leave the quit request for the message loop that owns it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!HandleDialogKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

void MainWindow::EnableStart() {
    EnableWindow(Control(kCommand1), TRUE);
}

void MainWindow::RestorePointer() {
    busy_ = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void MainWindow::ShowPopup(const PopupRequest& request) {
    // The key, the click flag and the sound belong to the pop-up notifications; the notice
    // window that stands in for them shows the title and text only.
    notice_.Show(instance_, request.title, request.text);
}

void MainWindow::ShowHomeTotals(const std::string& lastClean, const std::string& totalsLine) {
    SetText(Control(kLabel12), lastClean);
    SetText(Control(kLabel14), totalsLine);
    if (hwnd_ != nullptr) {
        ShowWindow(hwnd_, SW_SHOW);
    }
}

void MainWindow::ExitProgram() {
    notice_.Close();
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
    PostQuitMessage(0);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // "Cancel" has no action: a pass always visits every item.
            if (LOWORD(wParam) == kCommand1 && HIWORD(wParam) == BN_CLICKED) {
                CleanNow();
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (busy_) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_CLOSE:
            // Until the tray icon exists, closing ends the program; never in the middle of a
            // pass, which runs inside this window's own message handling.
            if (!run_.IsRunning()) {
                DestroyWindow(hwnd_);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace hm
