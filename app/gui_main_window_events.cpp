// The main window's message handling: commands, drawing of the image buttons, the tray icon's
// messages, hot keys, timers, DPI changes, and closing (which only hides the window).
#include "app/gui_main_window.h"

#include <commctrl.h>

#include "platform/text.h"

namespace hm {
namespace {

constexpr COLORREF kBarTop = RGB(39, 76, 128);
constexpr COLORREF kBarBottom = RGB(20, 40, 72);
constexpr COLORREF kBarText = RGB(255, 255, 255);
constexpr COLORREF kBorder = RGB(255, 214, 102);
constexpr COLORREF kLinkColour = RGB(0, 84, 166);

void FillGradient(HDC dc, const RECT& box, COLORREF top, COLORREF bottom) {
    TRIVERTEX vertices[2] = {};
    vertices[0].x = box.left;
    vertices[0].y = box.top;
    vertices[0].Red = static_cast<COLOR16>(GetRValue(top) << 8);
    vertices[0].Green = static_cast<COLOR16>(GetGValue(top) << 8);
    vertices[0].Blue = static_cast<COLOR16>(GetBValue(top) << 8);
    vertices[1].x = box.right;
    vertices[1].y = box.bottom;
    vertices[1].Red = static_cast<COLOR16>(GetRValue(bottom) << 8);
    vertices[1].Green = static_cast<COLOR16>(GetGValue(bottom) << 8);
    vertices[1].Blue = static_cast<COLOR16>(GetBValue(bottom) << 8);
    GRADIENT_RECT rect = {0, 1};
    GradientFill(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

}  // namespace

// The image buttons and the bar beneath them report mouse moves for the hover borders.
LRESULT CALLBACK MainWindow::ImageProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<MainWindow*>(data);
    if (message == WM_MOUSEMOVE) {
        const int id = GetDlgCtrlID(control);
        if (id == IDC_PICTURE1) {
            self->ClearSelections();
        } else {
            self->SelectImage(id);
        }
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

void MainWindow::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT box = item.rcItem;
    if (item.CtlID == IDC_PICTURE1) {
        FillGradient(dc, box, kBarTop, kBarBottom);
        return;
    }
    const int index = [&] {
        for (size_t i = 0; i < kImageIds.size(); ++i) {
            if (kImageIds[i] == static_cast<int>(item.CtlID)) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }();
    if (index < 0) {
        return;
    }
    // The button's own strip of the bar's gradient, so the bar reads as one picture.
    RECT bar = {};
    GetClientRect(Control(IDC_PICTURE1), &bar);
    RECT inBar = box;
    MapWindowPoints(item.hwndItem, Control(IDC_PICTURE1), reinterpret_cast<POINT*>(&inBar), 2);
    const double height = bar.bottom > 0 ? bar.bottom : 1;
    const auto mix = [&](double at) {
        const auto channel = [&](int a, int b) { return static_cast<BYTE>(a + (b - a) * at); };
        return RGB(channel(GetRValue(kBarTop), GetRValue(kBarBottom)),
                   channel(GetGValue(kBarTop), GetGValue(kBarBottom)),
                   channel(GetBValue(kBarTop), GetBValue(kBarBottom)));
    };
    FillGradient(dc, box, mix(inBar.top / height), mix(inBar.bottom / height));

    const int iconSize = Scale(32);
    const int iconX = box.left + (box.right - box.left - iconSize) / 2;
    const int iconY = box.top + Scale(4);
    if (icons_[static_cast<size_t>(index)] != nullptr) {
        DrawIconEx(dc, iconX, iconY, icons_[static_cast<size_t>(index)], iconSize, iconSize, 0,
                   nullptr, DI_NORMAL);
    }
    RECT caption = box;
    caption.top = iconY + iconSize + Scale(2);
    const std::wstring text = Widen(GetText(item.hwndItem));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kBarText);
    const HGDIOBJ oldFont = SelectObject(dc, font_.get());
    DrawTextW(dc, text.c_str(), -1, &caption, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    if (borders_[static_cast<size_t>(index)]) {
        HPEN pen = CreatePen(PS_SOLID, Scale(1) > 1 ? Scale(1) : 1, kBorder);
        const HGDIOBJ oldPen = SelectObject(dc, pen);
        const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, box.left, box.top, box.right, box.bottom);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = box;
        InflateRect(&focus, -Scale(3), -Scale(3));
        DrawFocusRect(dc, &focus);
    }
}

LRESULT MainWindow::HandleListNotify(const NMHDR& header) {
    switch (header.code) {
        case LVN_ITEMCHANGED:
            UpdateDetailsButton();
            break;
        case NM_DBLCLK: {
            // Only a double click on the row itself, not on the space below the rows.
            const int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
            if (!busy_ && row >= 0 && row == SelectedAnalysisRow()) {
                host_.OnCommand(IDC_DETAILS);
            }
            break;
        }
        case NM_RETURN:
            if (!busy_ && SelectedAnalysisRow() >= 0) {
                host_.OnCommand(IDC_DETAILS);
            }
            break;
        default:
            break;
    }
    return 0;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            // Menus and accelerators send code 0 and 1; buttons BN_CLICKED (0); the clickable
            // statics STN_CLICKED (0).
            if (code == 0 || code == 1) {
                host_.OnCommand(id);
            }
            return 0;
        }
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            if (header.idFrom == IDC_LISTVIEW1) {
                return HandleListNotify(header);
            }
            break;
        }
        case WM_DRAWITEM:
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC: {
            HWND control = reinterpret_cast<HWND>(lParam);
            if (GetDlgCtrlID(control) == IDC_LABEL51) {
                SetTextColor(reinterpret_cast<HDC>(wParam), kLinkColour);
                SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        }
        case WM_SETCURSOR:
            if (busy_) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            if (reinterpret_cast<HWND>(wParam) == Control(IDC_LABEL51) ||
                reinterpret_cast<HWND>(wParam) == Control(IDC_PICTURE2)) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_TIMER:
            host_.OnTimer(wParam);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                host_.OnActivated();
            }
            break;
        case WM_HOTKEY:
            host_.OnHotKey(static_cast<int>(wParam), LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_QUERYENDSESSION:
        case WM_ENDSESSION: {
            LRESULT result = 0;
            if (host_.OnSessionEnd(message, wParam, lParam, result)) {
                return result;
            }
            break;
        }
        case kTrayMessage:
            host_.OnTrayEvent(static_cast<UINT>(LOWORD(lParam)));
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            Layout();
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_CLOSE:
            // The program lives on in the notification area; only Exit ends it.
            ShowWindow(hwnd_, SW_MINIMIZE);
            ShowWindow(hwnd_, SW_HIDE);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace hm
