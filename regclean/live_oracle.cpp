#include "regclean/live_oracle.h"

#include <windows.h>

#include <cctype>

#include "platform/files.h"
#include "platform/text.h"

namespace hm::regclean {
namespace {

bool ReadVariable(const std::wstring& name, std::string& value) {
    const DWORD needed = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (needed == 0) {
        return false;
    }
    std::wstring buffer(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(name.c_str(), buffer.data(), needed);
    if (length == 0 || length >= needed) {
        return false;
    }
    buffer.resize(length);
    value = Narrow(buffer);
    return true;
}

}  // namespace

PathState LivePathOracle::Probe(const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') {
        return PathState::Unknown;
    }
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    auto known = fixedDrives_.find(drive);
    if (known == fixedDrives_.end()) {
        const wchar_t root[] = {static_cast<wchar_t>(drive), L':', L'\\', L'\0'};
        known = fixedDrives_.emplace(drive, GetDriveTypeW(root) == DRIVE_FIXED).first;
    }
    if (!known->second) {
        return PathState::Unknown;
    }
    const std::wstring longPath = files::ToLongPath(path);
    if (longPath.empty()) {
        return PathState::Unknown;
    }
    files::Info info;
    switch (files::QueryInfo(longPath, info)) {
        case 0:
            return PathState::Exists;
        case files::kErrorFileNotFound:
        case files::kErrorPathNotFound:
            return PathState::Missing;
        default:
            return PathState::Unknown;
    }
}

std::vector<std::string> LivePathOracle::Variable(std::string_view name) {
    std::vector<std::string> values;
    std::string value;
    const std::wstring wide = Widen(name);
    if (wide.empty()) {
        return values;
    }
    if (ReadVariable(wide, value)) {
        values.push_back(value);
    }
    // A 32-bit process sees the 32-bit program folders here; the entry may mean the 64-bit ones.
    const wchar_t* native = lstrcmpiW(wide.c_str(), L"ProgramFiles") == 0 ? L"ProgramW6432"
                            : lstrcmpiW(wide.c_str(), L"CommonProgramFiles") == 0
                                ? L"CommonProgramW6432"
                                : nullptr;
    if (native != nullptr && ReadVariable(native, value) &&
        (values.empty() || values[0] != value)) {
        values.push_back(value);
    }
    return values;
}

SystemFolders LivePathOracle::Folders() {
    if (folders_) {
        return *folders_;
    }
    SystemFolders folders;
    wchar_t windows[MAX_PATH + 1] = {};
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH) {
        folders.windows = Narrow(std::wstring(windows, length));
    }
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    folders.wow64Process = wow64 != FALSE;
    folders.windows64 = folders.wow64Process || sizeof(void*) == 8;
    folders_ = folders;
    return folders;
}

bool RunningAsAdministrator() {
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators)) {
        return false;
    }
    BOOL member = FALSE;
    const bool ok = CheckTokenMembership(nullptr, administrators, &member) != FALSE;
    FreeSid(administrators);
    return ok && member != FALSE;
}

}  // namespace hm::regclean
