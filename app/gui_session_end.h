// "Windows Shutdown": a cleaning pass when Windows ends the session. The main window hands the
// two end-of-session messages here. With the option on, the query is answered only after a pass
// has run, and meanwhile Windows shows why it waits ("Erasing traces...") instead of ending the
// program for not answering; then the session may end.
//
// A pass already running (one the user started, still letting window messages run) is not
// started again: the query is answered "not yet", with the same reason shown, and the reason is
// taken back when that pass ends (PassEnded), so the user can end the session then.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace hm {

inline constexpr const wchar_t* kSessionEndReason = L"Erasing traces...";

// True when the settings file asks for a pass at the end of the session ("Options" /
// "WindowsShutdown" is "1").
bool CleansAtSessionEnd(const std::string& settingsFile);

class SessionEnd {
public:
    struct Hooks {
        std::function<bool()> enabled;      // the option, read when the session ends
        std::function<bool()> passRunning;  // a pass is under way
        std::function<void()> runPass;      // runs one background pass to its end
        // The system's ShutdownBlockReasonCreate and ShutdownBlockReasonDestroy when empty.
        std::function<bool(HWND, const std::wstring&)> showReason;
        std::function<bool(HWND)> dropReason;
    };

    explicit SessionEnd(Hooks hooks);

    // WM_QUERYENDSESSION and WM_ENDSESSION sent to the window; true when handled here, with the
    // window procedure's answer in result. Other messages, and both messages while the option is
    // off, are left to the default handling.
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Called whenever a pass has ended.
    void PassEnded(HWND window);

    bool ReasonShown() const { return reasonShown_; }

private:
    void ShowReason(HWND window);
    void DropReason(HWND window);

    Hooks hooks_;
    bool reasonShown_ = false;
    bool waitingForPass_ = false;  // the reason stays up until the running pass ends
    bool inOwnPass_ = false;
    bool answered_ = false;  // this session end has had its pass
};

}  // namespace hm
