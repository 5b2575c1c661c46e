#include "engine/normal.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/office_probe.h"
#include "platform/text.h"

namespace hm {

std::string EnvironmentValue(const std::string& name) {
    const std::wstring wideName = Widen(name);
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(),
                                                     static_cast<DWORD>(value.size()));
        if (length < value.size()) {
            value.resize(length);
            break;
        }
        value.resize(length);
    }
    return Narrow(value);
}

std::string ExpandUserProfile(const std::string& text) {
    return ExpandUserProfile(text, EnvironmentValue("USERPROFILE"));
}

std::string GetOfficeVersion(OfficeProbe& probe) {
    return OfficeGenerationOf(probe.Probe());
}

void OpenDocument(const std::string& target) {
    ShellExecuteW(nullptr, nullptr, Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

FileSelection ParseFileSelection(const std::string& dialogText) {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(needed, L'\0');
    const DWORD length = GetCurrentDirectoryW(needed, folder.data());
    folder.resize(length < needed ? length : 0);
    return ParseFileSelection(dialogText, Narrow(folder));
}

}  // namespace hm
