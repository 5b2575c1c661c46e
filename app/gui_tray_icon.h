// The program's icon in the notification area, with the tip "Hushmark". Its mouse events reach
// the owner window as a private message whose lParam holds the mouse message.
#pragma once

#include <windows.h>

namespace hm {

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    bool Add(HWND owner, UINT callbackMessage, HICON icon);
    void Remove();
    bool added() const { return added_; }

private:
    HWND owner_ = nullptr;
    bool added_ = false;
};

}  // namespace hm
