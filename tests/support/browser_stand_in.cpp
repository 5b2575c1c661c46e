#include "support/browser_stand_in.h"

#include "platform/path_rules.h"
#include "platform/text.h"
#include "support/sandbox.h"

namespace hm::test {
namespace {

void Close(HANDLE& handle) {
    if (handle != nullptr) {
        CloseHandle(handle);
        handle = nullptr;
    }
}

}  // namespace

PlacedProgram::PlacedProgram(const std::string& folder, const std::string& name)
    : path_(JoinPath(folder, name)) {
    for (std::string_view above = folder;
         IsAbsolutePath(above) && !FolderExists(std::string(above)); above = ParentOf(above)) {
        madeFolder_ = std::string(above);
    }
    MakeFolders(folder);
    copied_ = CopyFileW(Widen(JoinPath(ExecutableFolder(), "hm_db_holder.exe")).c_str(),
                        Widen(path_).c_str(), FALSE) != 0;
}

PlacedProgram::~PlacedProgram() {
    DeleteFileW(Widen(path_).c_str());
    if (!madeFolder_.empty()) {
        RemoveTree(madeFolder_);
    }
}

Holder::Holder(const std::string& program, const std::string& database) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE inputRead = nullptr;
    HANDLE outputWrite = nullptr;
    if (!CreatePipe(&inputRead, &input_, &inherit, 0)) {
        return;
    }
    if (!CreatePipe(&output_, &outputWrite, &inherit, 0)) {
        CloseHandle(inputRead);
        return;
    }
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    std::wstring commandLine = L"\"" + Widen(program) + L"\" \"" + Widen(database) + L"\" 60";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = outputWrite;
    startup.hStdError = outputWrite;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                       nullptr, nullptr, &startup, &started)) {
        process_ = started.hProcess;
        CloseHandle(started.hThread);
    }
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    // It prints "ready" once it holds the lock, or an error and ends.
    char buffer[256];
    DWORD got = 0;
    while (process_ != nullptr && said_.find('\n') == std::string::npos &&
           ReadFile(output_, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        said_.append(buffer, got);
    }
}

bool Holder::End() {
    bool wentByItself = true;
    Close(input_);
    if (process_ != nullptr) {
        wentByItself = WaitForSingleObject(process_, 10000) == WAIT_OBJECT_0;
        if (!wentByItself) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 10000);
        }
    }
    Close(process_);
    Close(output_);
    return wentByItself;
}

}  // namespace hm::test
