#include "app/gui_launcher.h"

#include <windows.h>

#include "engine/normal.h"
#include "platform/shell.h"

namespace hm {

void ShellLauncher::Open(const std::string& target) {
    OpenDocument(target);
}

void ShellLauncher::Start(const std::string& commandLine) {
    ScopedHandle process;
    shell::StartProgram(commandLine, SW_SHOWNORMAL, process);
}

}  // namespace hm
