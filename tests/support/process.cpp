#include "support/process.h"

#include <windows.h>

#include <thread>

#include "platform/registry.h"
#include "platform/text.h"

namespace hm::test {
namespace {

std::string Drain(HANDLE pipe) {
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    return text;
}

std::string WithoutCarriageReturns(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

std::wstring Quote(const std::string& arg) { return L"\"" + Widen(arg) + L"\""; }

void SnapshotInto(HKEY parent, const std::wstring& name, const std::wstring& path,
                  std::string& out) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    out += "[" + Narrow(path) + "]\n";
    std::vector<wchar_t> valueName(16384);
    std::vector<BYTE> data(1 << 20);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(valueName.size());
        DWORD type = 0;
        DWORD dataLength = static_cast<DWORD>(data.size());
        const LONG status = RegEnumValueW(key, i, valueName.data(), &nameLength, nullptr, &type,
                                          data.data(), &dataLength);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status != ERROR_SUCCESS) {
            out += "?value\n";
            continue;
        }
        out += Narrow(std::wstring(valueName.data(), nameLength)) + "=" + std::to_string(type) +
               ":" + std::string(reinterpret_cast<const char*>(data.data()), dataLength) + "\n";
    }
    for (DWORD i = 0;; ++i) {
        wchar_t subName[256];
        DWORD subLength = 256;
        if (RegEnumKeyExW(key, i, subName, &subLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        const std::wstring sub(subName, subLength);
        SnapshotInto(key, sub, path + L"\\" + sub, out);
    }
    RegCloseKey(key);
}

}  // namespace

ProcessResult RunProgram(const std::string& exe, const std::vector<std::string>& args) {
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    CreatePipe(&errRead, &errWrite, &inherit, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    std::wstring commandLine = Quote(exe);
    for (const std::string& arg : args) {
        commandLine += L" " + Quote(arg);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (started) {
        std::string err;
        std::thread errReader([&] { err = Drain(errRead); });
        result.out = WithoutCarriageReturns(Drain(outRead));
        errReader.join();
        result.err = WithoutCarriageReturns(err);
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.exitCode = code;
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    return result;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string RegistrySnapshot(const std::string& subKey) {
    std::string out;
    SnapshotInto(HKEY_CURRENT_USER, Widen(subKey), Widen(subKey), out);
    return out;
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    return CopyFileW(Widen(from).c_str(), Widen(to).c_str(), FALSE) != 0;
}

}  // namespace hm::test
