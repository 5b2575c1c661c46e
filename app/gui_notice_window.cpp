#include "app/gui_notice_window.h"

#include "platform/text.h"

namespace hm {
namespace {

constexpr UINT_PTR kCloseTimer = 1;
constexpr int kWidth = 340;
constexpr int kHeight = 96;
constexpr int kMargin = 10;

}  // namespace

bool NoticeWindow::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, kNoticeWindowClass, &existing)) {
        return true;
    }
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &ForwardingWindowProc<NoticeWindow>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
    windowClass.lpszClassName = kNoticeWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

bool NoticeWindow::Show(HINSTANCE instance, const std::string& title, const std::string& text) {
    Close();
    if (!RegisterWindowClass(instance)) {
        return false;
    }
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);

    // No owner: the main window hides itself after a tray pass, and the notice must stay.
    // WM_NCCREATE stores the window in hwnd_.
    if (CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kNoticeWindowClass,
                        Widen(title).c_str(), WS_POPUP | WS_BORDER, work.right - kWidth - kMargin,
                        work.bottom - kHeight - kMargin, kWidth, kHeight, nullptr, nullptr,
                        instance, this) == nullptr) {
        hwnd_ = nullptr;
        return false;
    }

    titleFont_ = MakeMessageFont(true);
    textFont_ = MakeMessageFont();
    const int inner = kWidth - 2 * kMargin - 2;
    // SS_NOTIFY so that a click on the text closes the notice as a click on its background does.
    AddControl(hwnd_, L"STATIC", title, SS_NOPREFIX | SS_NOTIFY, 0, {kMargin, 8, inner, 20},
               kTitleId, titleFont_.get());
    AddControl(hwnd_, L"STATIC", text, SS_NOPREFIX | SS_NOTIFY, 0,
               {kMargin, 32, inner, kHeight - 32 - 8}, kTextId, textFont_.get());

    SetTimer(hwnd_, kCloseTimer, kDisplayMs, nullptr);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    return true;
}

void NoticeWindow::Close() {
    if (hwnd_ != nullptr) {
        HWND window = hwnd_;
        hwnd_ = nullptr;
        KillTimer(window, kCloseTimer);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    titleFont_.Reset();
    textFont_.Reset();
}

LRESULT NoticeWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kCloseTimer) {
                Close();
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            Close();
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == STN_CLICKED) {
                Close();
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
            SetBkColor(dc, GetSysColor(COLOR_INFOBK));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
        }
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace hm
