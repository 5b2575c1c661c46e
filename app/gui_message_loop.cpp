#include "app/gui_message_loop.h"

#include <algorithm>
#include <vector>

namespace hm::message_loop {
namespace {

// A long walk can post many messages; this bounds one call of the pump.
constexpr int kMaxPumpedMessages = 256;

std::vector<HWND>& DialogWindows() {
    static std::vector<HWND> windows;
    return windows;
}

void Dispatch(MSG& message) {
    if (!RouteToDialogs(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

void AddDialogWindow(HWND window) {
    auto& windows = DialogWindows();
    if (window != nullptr && std::find(windows.begin(), windows.end(), window) == windows.end()) {
        windows.push_back(window);
    }
}

void RemoveDialogWindow(HWND window) {
    auto& windows = DialogWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

bool RouteToDialogs(MSG& message) {
    for (HWND window : DialogWindows()) {
        if (IsWindow(window) && (message.hwnd == window || IsChild(window, message.hwnd)) &&
            IsDialogMessageW(window, &message)) {
            return true;
        }
    }
    return false;
}

int Run() {
    MSG message;
    int got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        Dispatch(message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}

bool PumpPending() {
    MSG message;
    for (int count = 0; count < kMaxPumpedMessages; ++count) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            return true;
        }
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        Dispatch(message);
    }
    return true;
}

}  // namespace hm::message_loop
