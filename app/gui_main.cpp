// The program's entry point: the shared values, the main window and its message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/gui_main_window.h"
#include "engine/shared_values.h"
#include "platform/regfun.h"
#include "platform/text.h"

namespace {

int Run(HINSTANCE instance, PWSTR commandLine, int showCommand) {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);

    hm::SharedValues values;
    values.StartupCommand = hm::Narrow(commandLine != nullptr ? commandLine : L"");
    hm::MainWindow window(values, hm::ProgramFolder());
    // Registry format messages go to the user through the main window's message boxes.
    hm::Regfun registry(window);
    hm::ComputeSharedValues(values, registry);
    if (!window.Create(instance)) {
        return 1;
    }
    ShowWindow(window.hwnd(), showCommand);
    UpdateWindow(window.hwnd());

    MSG message;
    int got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        if (!window.HandleDialogKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
    try {
        return Run(instance, commandLine, showCommand);
    } catch (...) {
        return 1;
    }
}
