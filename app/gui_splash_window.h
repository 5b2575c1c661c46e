// The splash Frmsplash: shown while the main window loads; after two seconds it hands over.
#pragma once

#include <functional>

#include "app/gui_controls.h"
#include "app/gui_dialog.h"

namespace hm {

class SplashWindow : public Dialog {
public:
    static constexpr UINT_PTR kTimer1 = 1;
    static constexpr UINT kTimer1Ms = 2000;

    // onLoad runs while the splash is on screen (the main window's load); onTimer when the
    // two seconds are over, after which the splash closes itself.
    SplashWindow(std::function<void()> onLoad, std::function<void()> onTimer);

    // Runs the timer's work at once (for the tests and for a splash that is closed early).
    void FireTimer();

protected:
    bool OnInit() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    std::function<void()> onLoad_;
    std::function<void()> onTimer_;
    ScopedFont titleFont_;
};

}  // namespace hm
