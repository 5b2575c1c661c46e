// Helpers shared by the search tests: the sandbox's trash folder as Windows sees it, and a
// window of the program held open for a screenshot.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/text.h"

namespace hm::test {

// The files folder of the sandbox user's trash, where the shell's Recycle Bin puts files under
// Wine, reached through Wine's own conversion of the Unix path. Empty outside Wine.
inline std::string TrashFilesFolder() {
    wchar_t dataHome[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"XDG_DATA_HOME", dataHome, 1024);
    using ToDos = WCHAR*(CDECL*)(const char*);
    const auto convert = reinterpret_cast<ToDos>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (length == 0 || length >= 1024 || convert == nullptr) {
        return {};
    }
    WCHAR* dos = convert((Narrow(dataHome) + "/Trash/files").c_str());
    if (dos == nullptr) {
        return {};
    }
    std::string folder = Narrow(dos);
    HeapFree(GetProcessHeap(), 0, dos);
    return folder;
}

// With HM_SHOW_SECONDS set, keeps the windows up that long so that a screenshot can be taken.
inline void HoldForScreenshot() {
    char seconds[8] = "0";
    GetEnvironmentVariableA("HM_SHOW_SECONDS", seconds, sizeof(seconds));
    const ULONGLONG end = GetTickCount64() + 1000ull * static_cast<unsigned>(atoi(seconds));
    for (MSG message; GetTickCount64() < end; Sleep(20)) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
}

}  // namespace hm::test
