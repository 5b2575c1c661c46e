// frmNotification: the pop-up that slides up at the bottom right of the work area, shows a title,
// a one-line description and a picture, plays a sound, waits five seconds and slides away. It
// never takes the focus: it may appear while the user types into another program.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "app/gui_controls.h"
#include "app/notification_rules.h"

namespace hm {

inline constexpr const wchar_t* kNotificationWindowClass = L"HushmarkNotification";

// Same arguments and result as PlaySoundW; the tests put a recorder in its place.
using SoundPlayer = std::function<BOOL(const wchar_t* sound, HMODULE module, DWORD flags)>;

// The notification system's own routines, which the window uses too.
// Plays a wave file asynchronously, never the default sound in its place; nothing for an empty
// path. False when nothing plays.
bool PlayWaveFile(const std::string& path, const SoundPlayer& play);
// Keeps the window above all others without moving, sizing or activating it.
void MakeTopmost(HWND window);

class frmNotification {
public:
    enum : int { kLblTitle = 301, kLblDescription = 302, kImgNotificationIcon = 303 };
    static constexpr UINT_PTR kTmrPopupController = 1;

    // play: the sound call; empty means PlaySoundW.
    explicit frmNotification(HINSTANCE instance, SoundPlayer play = {});
    ~frmNotification();
    frmNotification(const frmNotification&) = delete;
    frmNotification& operator=(const frmNotification&) = delete;

    // Events. Clicked: a click on the description when the request allows it. Finished: the
    // window is gone; the handler may drop its reference but must not delete this object while
    // InUse() (it may be called from inside the window's own message handling).
    void SetClickedHandler(std::function<void(const std::string& key)> handler) {
        clicked_ = std::move(handler);
    }
    void SetFinishedHandler(std::function<void()> handler) { finished_ = std::move(handler); }

    // Shows the window for the request and starts sliding in. False when the window cannot be
    // made; no Finished follows then.
    bool ShowNotification(const cNotificationRequest& request);
    // Puts a new request into the window on screen and makes it grow again from where it
    // stands.
    void UpdateNotification(const cNotificationRequest& request);
    const cNotificationRequest& NotificationRequest() const { return request_; }

    // One tick of tmrPopupController; the timer calls it, and the tests to drive time.
    void tmrPopupController_Timer();
    // Asks the window to close (the timer stops first, then Finished).
    void Close();

    HWND hwnd() const { return hwnd_; }
    HWND Control(int id) const { return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr; }
    PopupMotion::Phase Phase() const {
        return motion_ ? motion_->phase() : PopupMotion::Phase::Growing;
    }
    bool TimerEnabled() const { return timerEnabled_; }
    UINT TimerInterval() const { return timerInterval_; }
    // Pixels, at the window's DPI (0 before the window loads).
    int FullHeight() const { return motion_ ? motion_->fullHeight() : 0; }
    int Dpi() const { return motion_ ? motion_->dpi() : 0; }
    // The request's icon (a copy) or, until a request brings one, the window's own.
    HICON ShownIcon() const;
    // True while a call into this object (a message, a public method) is running.
    bool InUse() const { return depth_ > 0; }

private:
    // Counts the calls into the object that are running, so that nobody deletes it under them.
    class UseGuard {
    public:
        explicit UseGuard(int& depth) : depth_(depth) { ++depth_; }
        ~UseGuard() { --depth_; }
        UseGuard(const UseGuard&) = delete;
        UseGuard& operator=(const UseGuard&) = delete;

    private:
        int& depth_;
    };

    static bool RegisterWindowClass(HINSTANCE instance);
    template <class Owner>
    friend LRESULT CALLBACK ForwardingWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Load();
    // Makes the fonts and controls; returns the full height.
    int LayOut(int dpi);
    void ApplyRequest();
    void MoveToMotion();
    void SetTimerInterval(UINT interval);
    void EnableTimer();
    void Paint();
    void DrawIcon(const DRAWITEMSTRUCT& item) const;

    HINSTANCE instance_;
    SoundPlayer play_;
    HWND hwnd_ = nullptr;
    cNotificationRequest request_;
    std::optional<PopupMotion> motion_;
    // Laid out at the window's DPI when it loads; the widths follow each request.
    ControlBox titleBox_ = {};
    ControlBox descriptionBox_ = {};
    int rightMargin_ = 0;
    RECT shpBorder_ = {};
    int borderWidth_ = 1;
    bool timerEnabled_ = false;
    UINT timerInterval_ = PopupMotion::kStepMs;
    ScopedFont titleFont_;
    ScopedFont descriptionFont_;
    HICON designIcon_ = nullptr;
    HICON picture_ = nullptr;  // the last request's own icon, copied
    int depth_ = 0;
    std::function<void(const std::string&)> clicked_;
    std::function<void()> finished_;
};

}  // namespace hm
