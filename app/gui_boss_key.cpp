#include "app/gui_boss_key.h"

#include <cwchar>

namespace hm {
namespace {

// The window property that leads the subclass procedure back to its object.
constexpr const wchar_t* kProperty = L"HushmarkBossKey";

}  // namespace

void BossKey::Enable(HWND window) {
    if (window_ != nullptr || window == nullptr) {
        return;
    }
    RegisterHotKey(window, kHideId, kWinModifier, kKeyZ);
    RegisterHotKey(window, kShowId, kWinShiftModifier, kKeyZ);
    SetPropW(window, kProperty, this);
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BossKey::Procedure)));
    window_ = window;
}

void BossKey::Disable() {
    if (window_ == nullptr) {
        return;
    }
    UnregisterHotKey(window_, kHideId);
    UnregisterHotKey(window_, kShowId);
    if (IsWindow(window_) && previous_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        RemovePropW(window_, kProperty);
    }
    window_ = nullptr;
    previous_ = nullptr;
}

// Handles the hot-key message and passes every message, that one included, on.
LRESULT CALLBACK BossKey::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<BossKey*>(GetPropW(window, kProperty));
    if (self == nullptr || self->previous_ == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    const WNDPROC previous = self->previous_;
    if (message == WM_HOTKEY) {
        const UINT key = HIWORD(lParam);
        const UINT modifiers = LOWORD(lParam);
        if (key == kKeyZ && modifiers == kWinModifier && static_cast<int>(wParam) == kHideId) {
            self->HideBrowserWindows();
        } else if (key == kKeyZ && modifiers == kWinShiftModifier &&
                   static_cast<int>(wParam) == kShowId) {
            self->ShowBrowserWindows();
        }
    }
    if (message == WM_NCDESTROY) {
        // The window goes first: the saved procedure must still see this message.
        self->Disable();
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

BOOL CALLBACK BossKey::CollectWindow(HWND window, LPARAM self) {
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (wcscmp(className, L"CabinetWClass") == 0 || wcscmp(className, L"IEFrame") == 0) {
        Hidden hidden{window, {}};
        hidden.placement.length = sizeof(WINDOWPLACEMENT);
        if (GetWindowPlacement(window, &hidden.placement)) {
            reinterpret_cast<BossKey*>(self)->hidden_.push_back(hidden);
            WINDOWPLACEMENT hide = hidden.placement;
            hide.showCmd = SW_HIDE;
            SetWindowPlacement(window, &hide);
        }
    }
    return TRUE;
}

void BossKey::HideBrowserWindows() {
    hidden_.clear();
    EnumWindows(&BossKey::CollectWindow, reinterpret_cast<LPARAM>(this));
}

// The list stays, so a second press restores the same windows again.
void BossKey::ShowBrowserWindows() {
    for (auto entry = hidden_.rbegin(); entry != hidden_.rend(); ++entry) {
        if (IsWindow(entry->window)) {
            SetWindowPlacement(entry->window, &entry->placement);
        }
    }
}

}  // namespace hm
