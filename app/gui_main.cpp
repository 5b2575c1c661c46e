// The program's entry point: the command line, the application object and the message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/gui_application.h"
#include "app/gui_message_loop.h"
#include "engine/shared_values.h"
#include "platform/text.h"

namespace {

int Run(HINSTANCE instance, PWSTR commandLine) {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES |
                     ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    hm::Application application(hm::ProgramFolder(),
                                hm::Narrow(commandLine != nullptr ? commandLine : L""));
    if (!application.Start(instance)) {
        return 1;
    }
    return hm::message_loop::Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    try {
        return Run(instance, commandLine);
    } catch (...) {
        return 1;
    }
}
