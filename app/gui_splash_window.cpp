#include "app/gui_splash_window.h"

#include <utility>

#include "app/gui_controls.h"
#include "app/main_ids.h"

#include "app/image_ids.h"

namespace hm {

SplashWindow::SplashWindow(std::function<void()> onLoad, std::function<void()> onTimer)
    : Dialog(IDD_FRMSPLASH), onLoad_(std::move(onLoad)), onTimer_(std::move(onTimer)) {}

bool SplashWindow::OnInit() {
    SetWindowTextW(hwnd(), L"Hushmark");
    // The product name in a large bold face of the dialog's own font, so it scales with it.
    LOGFONTW face = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)), sizeof(face),
               &face);
    face.lfHeight *= 2;
    face.lfWeight = FW_BOLD;
    titleFont_ = ScopedFont(CreateFontIndirectW(&face));
    SendMessageW(Item(IDC_SPLASHTITLE), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()),
                 FALSE);
    HICON icon = nullptr;
    icon = LoadIconW(Module(), MAKEINTRESOURCEW(IDI_HUSHMARK));
    if (icon == nullptr) {
        icon = LoadIconW(nullptr, IDI_APPLICATION);
    }
    SendMessageW(Item(IDC_SPLASHICON), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    if (onLoad_) {
        onLoad_();
    }
    SetTimer(hwnd(), kTimer1, kTimer1Ms, nullptr);
    return true;
}

bool SplashWindow::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_TIMER && wParam == kTimer1) {
        FireTimer();
        result = 0;
        return true;
    }
    return false;
}

void SplashWindow::FireTimer() {
    if (hwnd() == nullptr) {
        return;
    }
    KillTimer(hwnd(), kTimer1);
    if (onTimer_) {
        onTimer_();
    }
    Close(IDOK);
}

}  // namespace hm
