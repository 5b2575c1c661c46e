// Mobrin.exe, the registry cleaner that Hushmark starts from its folder: one window, shown
// modally until it is closed. Backups go into the program folder's "Backups".
#include <windows.h>
#include <commctrl.h>

#include "engine/shared_values.h"
#include "regclean/cleaner.h"
#include "regclean/gui_cleaner_dialog.h"

namespace {

int Run() {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    hm::regclean::CleanerSettings settings;
    settings.scope = hm::regclean::DefaultScope();
    settings.backupsFolder = hm::regclean::BackupsFolder(hm::ProgramFolder());
    hm::regclean::RegistryCleanerDialog window(std::move(settings));
    return window.ShowModal(nullptr) == -1 ? 1 : 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        return Run();
    } catch (...) {
        return 1;
    }
}
