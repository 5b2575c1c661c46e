// A small topmost window at the bottom right of the work area that shows a title and one line of
// text without taking the focus, and closes itself after five seconds or when clicked.
//
// Placeholder: it stands in for the pop-up notifications (their queue, slide-in animation and
// sound) until those exist. A message box would be the wrong stand-in, because a pass that
// nobody started by hand must not wait for a click.
#pragma once

#include <windows.h>

#include <string>

#include "app/gui_controls.h"

namespace hm {

inline constexpr const wchar_t* kNoticeWindowClass = L"HushmarkNotice";

class NoticeWindow {
public:
    enum : int { kTitleId = 201, kTextId = 202 };
    static constexpr UINT kDisplayMs = 5000;

    NoticeWindow() = default;
    ~NoticeWindow() { Close(); }
    NoticeWindow(const NoticeWindow&) = delete;
    NoticeWindow& operator=(const NoticeWindow&) = delete;

    // Shows the notice, replacing one still on screen. False when the window cannot be made.
    bool Show(HINSTANCE instance, const std::string& title, const std::string& text);
    void Close();
    HWND hwnd() const { return hwnd_; }

private:
    static bool RegisterWindowClass(HINSTANCE instance);
    template <class Owner>
    friend LRESULT CALLBACK ForwardingWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    ScopedFont titleFont_;
    ScopedFont textFont_;
};

}  // namespace hm
