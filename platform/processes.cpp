#include "platform/processes.h"

#include <windows.h>

#include <tlhelp32.h>

#include "platform/handles.h"
#include "platform/text.h"

// Measured under Wine 8 with a 32-bit and a 64-bit program:
// - The snapshot's file name is the name as the file is spelt on the disk ("FireFox.EXE"), while
//   the full path keeps the folders as the starting program spelt them in its command line
//   ("C:\program files\mozilla firefox\FireFox.EXE"): paths must be compared ignoring case.
// - A program started from outside every drive reports "\\?\unix\..." as its path (seen from
//   the 32-bit one).
// - A process that has ended is gone from the snapshot at once, even while another process still
//   holds a handle to it.
// - Wine's own services (services.exe, winedevice.exe, ...) all open with the limited right.
//   Windows refuses it for the idle and system processes and, to a program without
//   administrator rights, for some of other users' processes: those keep only their file name.

namespace hm {
namespace {

// The full path of a process's program; empty when it may not be opened or asked.
std::string ImagePathOf(DWORD processId) {
    ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process.valid()) {
        return {};
    }
    // Long paths go past MAX_PATH; the call says so rather than cutting the path short.
    for (const DWORD capacity : {DWORD{MAX_PATH}, DWORD{32768}}) {
        std::wstring path(capacity, L'\0');
        DWORD length = capacity;
        if (QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) {
            path.resize(length);
            return Narrow(path);
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            break;
        }
    }
    return {};
}

}  // namespace

std::vector<ProcessImage> RunningProcesses() {
    std::vector<ProcessImage> processes;
    ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid()) {
        return processes;
    }
    const DWORD self = GetCurrentProcessId();
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == self) {
            continue;
        }
        processes.push_back({Narrow(entry.szExeFile), ImagePathOf(entry.th32ProcessID)});
    }
    return processes;
}

}  // namespace hm
