#include "app/gui_session_end.h"

#include <utility>

#include "config/inifun.h"

namespace hm {

bool CleansAtSessionEnd(const std::string& settingsFile) {
    return ReadIniValue(settingsFile, "Options", "WindowsShutdown") == "1";
}

SessionEnd::SessionEnd(Hooks hooks) : hooks_(std::move(hooks)) {
    if (!hooks_.showReason) {
        hooks_.showReason = [](HWND window, const std::wstring& reason) {
            return ShutdownBlockReasonCreate(window, reason.c_str()) != FALSE;
        };
    }
    if (!hooks_.dropReason) {
        hooks_.dropReason = [](HWND window) { return ShutdownBlockReasonDestroy(window) != FALSE; };
    }
}

void SessionEnd::ShowReason(HWND window) {
    if (!reasonShown_) {
        // Where the system keeps no reasons, the pass still runs; Windows then only waits less.
        hooks_.showReason(window, kSessionEndReason);
        reasonShown_ = true;
    }
}

void SessionEnd::DropReason(HWND window) {
    if (reasonShown_) {
        hooks_.dropReason(window);
        reasonShown_ = false;
    }
    waitingForPass_ = false;
}

bool SessionEnd::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) {
    if (message == WM_QUERYENDSESSION) {
        // The restart manager asks programs to close for an update; the session goes on.
        if ((lParam & ENDSESSION_CLOSEAPP) != 0 || !hooks_.enabled || !hooks_.enabled()) {
            return false;
        }
        if (answered_) {
            result = TRUE;
            return true;
        }
        if (inOwnPass_ || (hooks_.passRunning && hooks_.passRunning())) {
            // The pass under way runs below this message and can only end after the answer.
            ShowReason(window);
            waitingForPass_ = !inOwnPass_;
            result = FALSE;
            return true;
        }
        ShowReason(window);
        inOwnPass_ = true;
        try {
            if (hooks_.runPass) {
                hooks_.runPass();
            }
        } catch (...) {
        }
        inOwnPass_ = false;
        DropReason(window);
        answered_ = true;
        result = TRUE;
        return true;
    }
    if (message == WM_ENDSESSION) {
        if (!reasonShown_ && !answered_) {
            return false;
        }
        DropReason(window);
        // The session goes on (the user, or another program, said no): the next end of the
        // session gets a pass of its own.
        if (wParam == FALSE) {
            answered_ = false;
        }
        result = 0;
        return true;
    }
    return false;
}

void SessionEnd::PassEnded(HWND window) {
    if (waitingForPass_) {
        DropReason(window);
    }
}

}  // namespace hm
