#include "platform/shell.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "platform/text.h"

namespace hm::shell {
namespace {

std::uint32_t LastError() {
    return static_cast<std::uint32_t>(GetLastError());
}

// The program part of a command line: a quoted first word, or the text up to the first blank.
std::wstring FirstWord(const std::wstring& commandLine) {
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        return commandLine.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    }
    return commandLine.substr(0, commandLine.find(L' '));
}

}  // namespace

std::uint32_t StartProgram(const std::string& commandLine, int show, ScopedHandle& process) {
    if (commandLine.find('\0') != std::string::npos || commandLine.empty()) {
        return ERROR_INVALID_PARAMETER;
    }
    std::wstring text = Widen(commandLine);
    std::vector<wchar_t> buffer(text.begin(), text.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION started{};
    const DWORD flags = show == kShowHidden ? CREATE_NO_WINDOW : 0;
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                        &startup, &started)) {
        return LastError();
    }
    CloseHandle(started.hThread);
    process = ScopedHandle(started.hProcess);
    return 0;
}

std::uint32_t FindProgram(const std::string& commandLine) {
    if (commandLine.find('\0') != std::string::npos || commandLine.empty()) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::wstring program = FirstWord(Widen(commandLine));
    wchar_t found[MAX_PATH];
    if (program.empty() ||
        SearchPathW(nullptr, program.c_str(), L".exe", MAX_PATH, found, nullptr) == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    return 0;
}

bool WaitForEnd(const ScopedHandle& process, unsigned milliseconds) {
    return !process.valid() || WaitForSingleObject(process.get(), milliseconds) != WAIT_TIMEOUT;
}

bool SendKeysToProcessWindow(const ScopedHandle& process, const std::vector<unsigned short>& keys,
                             unsigned timeoutMilliseconds, const std::function<void()>& whileWaiting) {
    if (!process.valid()) {
        return false;
    }
    const DWORD processId = GetProcessId(process.get());
    const auto activeIsOurs = [&] {
        DWORD owner = 0;
        HWND active = GetForegroundWindow();
        GetWindowThreadProcessId(active, &owner);
        return active != nullptr && owner == processId;
    };
    const ULONGLONG deadline = GetTickCount64() + timeoutMilliseconds;
    while (!activeIsOurs()) {
        if (GetTickCount64() >= deadline || WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) {
            return false;
        }
        if (whileWaiting) {
            whileWaiting();
        }
        Sleep(50);
    }
    for (const unsigned short key : keys) {
        // The window may have changed since the last key: never type into another program.
        if (!activeIsOurs()) {
            return false;
        }
        INPUT strokes[2] = {};
        strokes[0].type = INPUT_KEYBOARD;
        strokes[0].ki.wVk = key;
        strokes[1] = strokes[0];
        strokes[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, strokes, sizeof(INPUT));
        WaitForInputIdle(process.get(), 2000);
    }
    return true;
}

std::uint32_t EmptyTheClipboard() {
    if (!OpenClipboard(nullptr)) {
        return LastError();
    }
    const std::uint32_t error = EmptyClipboard() ? 0 : LastError();
    CloseClipboard();
    return error;
}

std::uint32_t EmptyRecycleBins() {
    const HRESULT result =
        SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI |
                                                 SHERB_NOSOUND);
    // An empty bin answers with a failure on some systems; there is nothing left in it either way.
    if (SUCCEEDED(result) || result == E_UNEXPECTED) {
        return 0;
    }
    return static_cast<std::uint32_t>(result);
}

std::uint32_t ClearRecentDocuments() {
    // The call answers nothing, and the thread's last error afterwards is whatever the shell's
    // inner calls left there: it tells nothing about the list.
    SHAddToRecentDocs(SHARD_PATHW, nullptr);
    return 0;
}

}  // namespace hm::shell
