#include "app/gui_controls.h"

#include "platform/text.h"

namespace hm {

ScopedFont& ScopedFont::operator=(ScopedFont&& other) noexcept {
    if (this != &other) {
        Reset();
        font_ = other.font_;
        other.font_ = nullptr;
    }
    return *this;
}

void ScopedFont::Reset() {
    if (font_ != nullptr) {
        DeleteObject(font_);
        font_ = nullptr;
    }
}

ScopedFont MakeMessageFont(bool bold, double heightScale, bool underline) {
    LOGFONTW face = {};
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        face = metrics.lfMessageFont;
    } else {
        // Older systems know a shorter structure; the stock GUI font is close enough there.
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face);
    }
    face.lfHeight = static_cast<LONG>(face.lfHeight * heightScale);
    if (bold) {
        face.lfWeight = FW_BOLD;
    }
    face.lfUnderline = underline ? TRUE : FALSE;
    return ScopedFont(CreateFontIndirectW(&face));
}

HWND AddControl(HWND parent, const wchar_t* className, const std::string& text, DWORD style,
                DWORD exStyle, const ControlBox& box, int id, HFONT font) {
    HWND control = CreateWindowExW(
        exStyle, className, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, box.x, box.y,
        box.width, box.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (control != nullptr && font != nullptr) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return control;
}

std::string GetText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return Narrow(text);
}

void SetText(HWND window, const std::string& text) {
    SetWindowTextW(window, Widen(text).c_str());
}

}  // namespace hm
