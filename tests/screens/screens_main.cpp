// Shows one window of the program on its own, for screenshots taken from outside: the window
// named on the command line is shown, then "ready" is written into the marker folder, and the
// program lets the window's messages run until the file "done" appears there (or a minute
// passes).
//   hm_screens.exe <marker folder> <window>
// Windows: splash, main-home, main-status, about, options-general, options-schedule,
// options-homepage, frmurl, frmcookie, notification.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "app/gui_about_dialog.h"
#include "app/gui_application.h"
#include "app/gui_options_dialog.h"
#include "keeplists/gui_cookie_dialog.h"
#include "keeplists/gui_url_dialog.h"
#include "app/gui_message_loop.h"
#include "config/inifun.h"
#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm {
namespace {

class NoLauncher : public Launcher {
public:
    void Open(const std::string&) override {}
    void Start(const std::string&) override {}
};

bool Exists(const std::string& path) {
    files::Info info;
    return files::QueryInfo(files::ToLongPath(path), info) == 0;
}

void PumpUntilDone(const std::string& markers) {
    files::WriteWholeFile(JoinPath(markers, "ready"), "ready");
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (!Exists(JoinPath(markers, "done")) && GetTickCount64() < deadline) {
        message_loop::PumpPending();
        Sleep(50);
    }
}

int Show(const std::string& markers, const std::string& window) {
    const std::string program = JoinPath(markers, "program");
    CreateDirectoryW(Widen(program).c_str(), nullptr);
    const std::string settings = JoinPath(program, "hushsd.dat");
    WriteIniValue(settings, "Options", "lastclean", "12/8/2026 9:41:07 AM");
    WriteIniValue(settings, "Options", "regnum", "143");
    WriteIniValue(settings, "Options", "filesize", "48803840");
    WriteIniValue(settings, "Options", "bosskey", "0");
    for (const char* key : {"Address", "Cookies", "cache", "History", "Download"}) {
        WriteIniValue(settings, "FIREFOX", key, "1");
    }
    for (const char* key : {"run", "search", "open", "clip", "recentlyused"}) {
        WriteIniValue(settings, "WINDOWS", key, "1");
    }
    NoLauncher launcher;
    AppServices services;
    services.launcher = &launcher;
    services.messageBox = [](HWND, const std::wstring&, const std::wstring&, UINT) { return IDOK; };
    services.endProcess = [] {};
    Application app(program, "", services);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (window == "splash") {
        if (!app.Start(instance)) {
            return 1;
        }
        PumpUntilDone(markers);
        return 0;
    }
    if (!app.Load(instance)) {
        return 1;
    }
    app.ShowMainWindow();
    if (window == "main-status") {
        app.OnCommand(IDC_COMMAND1);
        app.window().SelectImage(IDC_IMAGE3);
    } else if (window == "main-home") {
        app.window().SelectImage(IDC_IMAGE1);
    } else if (window == "about") {
        AboutDialog about([] {}, [] {});
        about.ShowModeless(app.window().hwnd());
        PumpUntilDone(markers);
        return 0;
    } else if (window.rfind("options-", 0) == 0) {
        Regfun registry(app.window());
        Frmoption options(program, registry, app.values(), [](bool) {});
        options.ShowModeless(app.window().hwnd());
        options.ShowPage(window == "options-general"    ? Frmoption::kGeneral
                         : window == "options-schedule" ? Frmoption::kSchedule
                                                        : Frmoption::kHomepage);
        PumpUntilDone(markers);
        return 0;
    } else if (window == "frmurl") {
        files::WriteWholeFile(JoinPath(program, "keepurl.dat"),
                              "http://news.example/\r\nhttp://mail.example/inbox\r\n");
        frmurl urls(program);
        urls.ShowModeless(app.window().hwnd());
        PumpUntilDone(markers);
        return 0;
    } else if (window == "frmcookie") {
        Regfun registry(app.window());
        frmcookie cookies(program, registry);
        cookies.ShowModeless(app.window().hwnd());
        PumpUntilDone(markers);
        return 0;
    } else if (window == "notification") {
        app.CleanNow(true);
        app.notifications().Pump();
    } else {
        return 2;
    }
    PumpUntilDone(markers);
    return 0;
}

}  // namespace
}  // namespace hm

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                           ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return hm::Show(hm::Narrow(argv[1]), hm::Narrow(argv[2]));
}
