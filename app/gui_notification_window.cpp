#include "app/gui_notification_window.h"

#include <mmsystem.h>

#include <algorithm>
#include <utility>

#include "app/gui_message_loop.h"
#include "platform/text.h"

namespace hm {
namespace {

// The design, in pixels at 96 DPI; scaled to the window's DPI when it loads.
constexpr int kPadding = 10;
constexpr int kIconSize = 32;
constexpr int kLineGap = 4;
constexpr int kBottomPadding = 12;
// Beyond the description's right end; the window's width fits the description.
constexpr int kRightMargin = 10;

int Scale(int pixelsAt96, int dpi) {
    return MulDiv(pixelsAt96, dpi, 96);
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : 96;
}

// A per-monitor aware process gets the DPI of the monitor the window is on; older systems know
// only the one DPI of the screen.
int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    return ScreenDpi();
}

// The message font the system gives at its own DPI, brought to the window's DPI.
ScopedFont MessageFontAt(int dpi, bool bold) {
    LOGFONTW face = {};
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        face = metrics.lfMessageFont;
    } else {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face);
    }
    face.lfHeight = MulDiv(face.lfHeight, dpi, ScreenDpi());
    if (bold) {
        face.lfWeight = FW_BOLD;
    }
    return ScopedFont(CreateFontIndirectW(&face));
}

// Width of one line of text, and the height of a line, in the font.
SIZE MeasureLine(HWND window, HFONT font, const std::string& text) {
    SIZE size = {0, 0};
    HDC dc = GetDC(window);
    if (dc == nullptr) {
        return size;
    }
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    const std::wstring wide = Widen(text);
    RECT box = {0, 0, 0, 0};
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &box,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    size.cx = box.right - box.left;
    size.cy = metrics.tmHeight;
    return size;
}

}  // namespace

bool PlayWaveFile(const std::string& path, const SoundPlayer& play) {
    if (path.empty()) {
        return false;
    }
    const std::wstring file = Widen(path);
    const DWORD flags = SND_ASYNC | SND_NODEFAULT | SND_FILENAME;
    const BOOL played =
        play ? play(file.c_str(), nullptr, flags) : PlaySoundW(file.c_str(), nullptr, flags);
    return played != FALSE;
}

void MakeTopmost(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

frmNotification::frmNotification(HINSTANCE instance, SoundPlayer play)
    : instance_(instance), play_(std::move(play)) {}

frmNotification::~frmNotification() {
    // Nobody listens any more: the owner is letting go of this object.
    clicked_ = nullptr;
    finished_ = nullptr;
    if (hwnd_ != nullptr) {
        KillTimer(hwnd_, kTmrPopupController);
        DestroyWindow(hwnd_);
    }
    for (HICON icon : {picture_, designIcon_}) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
}

bool frmNotification::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, kNotificationWindowClass, &existing)) {
        return true;
    }
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &ForwardingWindowProc<frmNotification>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
    windowClass.lpszClassName = kNotificationWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

bool frmNotification::Load() {
    if (hwnd_ != nullptr) {
        return true;
    }
    if (!RegisterWindowClass(instance_)) {
        return false;
    }
    // No owner: the main window hides itself after a tray pass, and the pop-up must stay. A tool
    // window keeps it off the taskbar; WM_NCCREATE stores the window in hwnd_.
    if (CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kNotificationWindowClass, L"",
                        WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, nullptr, nullptr, instance_,
                        this) == nullptr) {
        hwnd_ = nullptr;
        return false;
    }
    MakeTopmost(hwnd_);
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int dpi = WindowDpi(hwnd_);
    const int fullHeight = LayOut(dpi);
    motion_.emplace(dpi,
                    PopupRect{work.left, work.top, work.right - work.left, work.bottom - work.top},
                    fullHeight);
    return true;
}

int frmNotification::LayOut(int dpi) {
    titleFont_ = MessageFontAt(dpi, true);
    descriptionFont_ = MessageFontAt(dpi, false);
    const int padding = Scale(kPadding, dpi);
    const int iconSize = Scale(kIconSize, dpi);
    const int textLeft = padding + iconSize + padding;
    const int titleHeight = MeasureLine(hwnd_, titleFont_.get(), "").cy;
    const int lineHeight = MeasureLine(hwnd_, descriptionFont_.get(), "").cy;
    titleBox_ = {textLeft, padding, 0, titleHeight};
    descriptionBox_ = {textLeft, padding + titleHeight + Scale(kLineGap, dpi), 0, lineHeight};
    rightMargin_ = Scale(kRightMargin, dpi);
    borderWidth_ = std::max(1, dpi / 96);

    if (designIcon_ == nullptr) {
        designIcon_ = static_cast<HICON>(
            LoadImageW(nullptr, IDI_INFORMATION, IMAGE_ICON, iconSize, iconSize, 0));
    }
    // SS_NOTIFY on the description only: a click there is the pop-up's one action. The other
    // labels let clicks through to the window.
    AddControl(hwnd_, L"STATIC", "Title", SS_NOPREFIX | SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS, 0,
               titleBox_, kLblTitle, titleFont_.get());
    AddControl(hwnd_, L"STATIC", "Description",
               SS_NOPREFIX | SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_NOTIFY, 0, descriptionBox_,
               kLblDescription, descriptionFont_.get());
    AddControl(hwnd_, L"STATIC", "", SS_OWNERDRAW, 0, {padding, padding, iconSize, iconSize},
               kImgNotificationIcon, nullptr);

    const int textBottom = descriptionBox_.y + descriptionBox_.height;
    return std::max(padding + iconSize, textBottom) + Scale(kBottomPadding, dpi);
}

void frmNotification::ApplyRequest() {
    SetText(hwnd_, request_.Title);
    SetText(Control(kLblTitle), request_.Title);
    SetText(Control(kLblDescription), request_.Description);
    // A copy: the caller's icon need not outlive the request, and a later request without one
    // keeps the picture on show.
    if (request_.Icon != nullptr) {
        if (HICON copy = CopyIcon(static_cast<HICON>(request_.Icon))) {
            if (picture_ != nullptr) {
                DestroyIcon(picture_);
            }
            picture_ = copy;
        }
        InvalidateRect(Control(kImgNotificationIcon), nullptr, TRUE);
    }

    // The window fits the description; the title, usually shorter, is not left clipped either.
    const int titleEnd = titleBox_.x + MeasureLine(hwnd_, titleFont_.get(), request_.Title).cx;
    const int descriptionEnd =
        descriptionBox_.x + MeasureLine(hwnd_, descriptionFont_.get(), request_.Description).cx;
    motion_->SetWidth(std::max(titleEnd, descriptionEnd) + rightMargin_);
    const int width = motion_->width();
    const int labelWidth = std::max(width - descriptionBox_.x - rightMargin_, 0);
    titleBox_.width = labelWidth;
    descriptionBox_.width = labelWidth;
    for (const auto& [id, box] :
         {std::pair{kLblTitle, titleBox_}, std::pair{kLblDescription, descriptionBox_}}) {
        SetWindowPos(Control(id), nullptr, box.x, box.y, box.width, box.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    shpBorder_ = {0, 0, width, motion_->fullHeight()};
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void frmNotification::MoveToMotion() {
    const PopupRect bounds = motion_->Bounds();
    SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE);
}

bool frmNotification::ShowNotification(const cNotificationRequest& request) {
    UseGuard guard(depth_);
    if (!Load()) {
        return false;
    }
    request_ = request;
    const std::string sound = request_.SoundFileLocation;
    ApplyRequest();
    motion_->Start();
    MoveToMotion();
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    message_loop::PumpPending();
    if (hwnd_ == nullptr) {
        return true;  // closed while the messages ran; Finished has told the owner
    }
    motion_->Regrow();
    SetTimerInterval(PopupMotion::kStepMs);
    EnableTimer();
    PlayWaveFile(sound, play_);
    return true;
}

void frmNotification::UpdateNotification(const cNotificationRequest& request) {
    UseGuard guard(depth_);
    if (hwnd_ == nullptr || !motion_) {
        return;
    }
    request_ = request;
    ApplyRequest();
    // The new width moves the left edge; top and height stay where the motion has them.
    MoveToMotion();
    motion_->Regrow();
    EnableTimer();
}

void frmNotification::tmrPopupController_Timer() {
    UseGuard guard(depth_);
    if (hwnd_ == nullptr || !motion_) {
        return;
    }
    if (!motion_->Tick()) {
        Close();
        return;
    }
    if (motion_->intervalMs() != timerInterval_) {
        SetTimerInterval(motion_->intervalMs());
    }
    MoveToMotion();
}

void frmNotification::Close() {
    UseGuard guard(depth_);
    if (hwnd_ == nullptr) {
        return;
    }
    KillTimer(hwnd_, kTmrPopupController);
    timerEnabled_ = false;
    DestroyWindow(hwnd_);
}

void frmNotification::SetTimerInterval(UINT interval) {
    timerInterval_ = interval;
    if (timerEnabled_ && hwnd_ != nullptr) {
        SetTimer(hwnd_, kTmrPopupController, timerInterval_, nullptr);
    }
}

void frmNotification::EnableTimer() {
    // An enabled timer keeps running as it was: enabling is not a restart.
    if (!timerEnabled_ && hwnd_ != nullptr &&
        SetTimer(hwnd_, kTmrPopupController, timerInterval_, nullptr) != 0) {
        timerEnabled_ = true;
    }
}

HICON frmNotification::ShownIcon() const {
    return picture_ != nullptr ? picture_ : designIcon_;
}

void frmNotification::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    if (dc == nullptr) {
        return;
    }
    // shpBorder spans the full height, so its bottom line shows once the window has grown.
    HBRUSH frame = GetSysColorBrush(COLOR_WINDOWFRAME);
    RECT edge = shpBorder_;
    for (int line = 0; line < borderWidth_; ++line) {
        FrameRect(dc, &edge, frame);
        InflateRect(&edge, -1, -1);
    }
    EndPaint(hwnd_, &paint);
}

void frmNotification::DrawIcon(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_INFOBK));
    if (HICON icon = ShownIcon()) {
        DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, icon,
                   item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top, 0,
                   nullptr, DI_NORMAL);
    }
}

LRESULT frmNotification::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    UseGuard guard(depth_);
    switch (message) {
        case WM_TIMER:
            if (wParam == kTmrPopupController) {
                tmrPopupController_Timer();
                return 0;
            }
            break;
        case WM_COMMAND:
            if (LOWORD(wParam) == kLblDescription && HIWORD(wParam) == STN_CLICKED &&
                request_.EnableClickEvent && clicked_) {
                // Copies: the handler may show a message box, and the pop-up may close or
                // take another request while it is up.
                const auto clicked = clicked_;
                const std::string key = request_.Key;
                clicked(key);
                return 0;
            }
            break;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
            SetBkColor(dc, GetSysColor(COLOR_INFOBK));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
        }
        case WM_DRAWITEM:
            if (wParam == kImgNotificationIcon) {
                DrawIcon(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            }
            break;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DESTROY: {
            KillTimer(hwnd_, kTmrPopupController);
            timerEnabled_ = false;
            const auto finished = finished_;
            if (finished) {
                finished();
            }
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace hm
