// Small helpers the windows share: an owned font, child-control creation and UTF-8 window text.
#pragma once

#include <windows.h>

#include <string>

namespace hm {

// Owns a font created for this program's windows; deletes it when it goes.
class ScopedFont {
public:
    ScopedFont() = default;
    explicit ScopedFont(HFONT font) : font_(font) {}
    ~ScopedFont() { Reset(); }
    ScopedFont(ScopedFont&& other) noexcept : font_(other.font_) { other.font_ = nullptr; }
    ScopedFont& operator=(ScopedFont&& other) noexcept;
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;

    HFONT get() const { return font_; }
    void Reset();

private:
    HFONT font_ = nullptr;
};

// The system's message font (the one dialogs use), optionally bold, scaled in height, underlined.
ScopedFont MakeMessageFont(bool bold = false, double heightScale = 1.0, bool underline = false);

// Pixel rectangle of a child control in its parent's client area.
struct ControlBox {
    int x;
    int y;
    int width;
    int height;
};

// Creates a visible child control with the given font. Returns null when the class is missing
// (for example when the common controls were not initialised).
HWND AddControl(HWND parent, const wchar_t* className, const std::string& text, DWORD style,
                DWORD exStyle, const ControlBox& box, int id, HFONT font);

std::string GetText(HWND window);
void SetText(HWND window, const std::string& text);

// The window procedure of a class whose objects each own one window. The object passed as the
// creation parameter receives every message through its HandleMessage, its hwnd_ follows the
// window's life, and no exception crosses into the system's message dispatch.
template <class Owner>
LRESULT CALLBACK ForwardingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // Destroyed from outside too (for example at the end of the session): forget the handle.
        self->hwnd_ = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

}  // namespace hm
