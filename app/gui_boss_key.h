// The boss key: Windows key + Z hides every folder and Internet Explorer window, Windows key +
// Shift + Z brings them back as they were. The hot keys belong to the main window, whose window
// procedure is subclassed while the boss key is on and restored when it goes off.
#pragma once

#include <windows.h>

#include <vector>

namespace hm {

class BossKey {
public:
    static constexpr int kHideId = 95;
    static constexpr int kShowId = 111;
    static constexpr UINT kKeyZ = 90;
    static constexpr UINT kWinModifier = 8;        // MOD_WIN
    static constexpr UINT kWinShiftModifier = 12;  // MOD_WIN | MOD_SHIFT

    BossKey() = default;
    ~BossKey() { Disable(); }
    BossKey(const BossKey&) = delete;
    BossKey& operator=(const BossKey&) = delete;

    // Registers both hot keys on the window and subclasses it; a second call changes nothing.
    void Enable(HWND window);
    // Unregisters the hot keys and puts the saved window procedure back.
    void Disable();
    bool enabled() const { return window_ != nullptr; }

    // The windows hidden by the last HideBrowserWindows, in the order they were found.
    struct Hidden {
        HWND window;
        WINDOWPLACEMENT placement;
    };
    const std::vector<Hidden>& hidden() const { return hidden_; }

    void HideBrowserWindows();
    void ShowBrowserWindows();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static BOOL CALLBACK CollectWindow(HWND window, LPARAM self);

    HWND window_ = nullptr;
    WNDPROC previous_ = nullptr;
    std::vector<Hidden> hidden_;
};

}  // namespace hm
