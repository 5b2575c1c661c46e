#include "app/gui_tray_icon.h"

#include <shellapi.h>

#include <cwchar>

namespace hm {
namespace {

constexpr UINT kIconId = 1;

}  // namespace

bool TrayIcon::Add(HWND owner, UINT callbackMessage, HICON icon) {
    Remove();
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = kIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    wcsncpy(data.szTip, L"Hushmark", sizeof(data.szTip) / sizeof(data.szTip[0]) - 1);
    added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    owner_ = added_ ? owner : nullptr;
    return added_;
}

void TrayIcon::Remove() {
    if (!added_) {
        return;
    }
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = owner_;
    data.uID = kIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    added_ = false;
    owner_ = nullptr;
}

}  // namespace hm
