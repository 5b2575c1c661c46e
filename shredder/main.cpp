// Tessaro.exe, the file shredder beside Hushmark. Paths on the command line (as "Send To" or a
// drop on the program's icon passes them) are added to the list; nothing is shredded before the
// user confirms.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/gui_message_loop.h"
#include "platform/text.h"
#include "shredder/gui_shredder_window.h"

namespace {

int Run() {
    hm::ShredderServices services;
    services.quitOnClose = true;
    hm::ShredderWindow window(services);
    if (!window.ShowModeless(nullptr)) {
        return 1;
    }
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> paths;
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        paths.push_back(hm::Narrow(arguments[i]));
    }
    LocalFree(arguments);
    if (!paths.empty()) {
        window.AddPaths(paths);
    }
    return hm::message_loop::Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The folder picker's resizable dialog needs COM on this thread.
    const HRESULT ole = OleInitialize(nullptr);
    int code = 1;
    try {
        code = Run();
    } catch (...) {
        code = 1;
    }
    if (SUCCEEDED(ole)) {
        OleUninitialize();
    }
    return code;
}
