#include "platform/scratch.h"

#include <windows.h>

#include <atomic>

#include "platform/files.h"
#include "platform/text.h"

namespace hm::files {
namespace {

std::atomic<unsigned> gNextFolder{0};

// What SQLite may leave beside a database copied in and opened there.
constexpr const char* kCompanions[] = {"", "-wal", "-shm", "-journal"};

}  // namespace

ScratchFolder::ScratchFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) {
        error_ = GetLastError() != 0 ? GetLastError() : ERROR_BUFFER_OVERFLOW;
        return;
    }
    std::string base = Narrow(temp);
    if (!base.empty() && base.back() != '\\') {
        base += '\\';
    }
    // A name no other run or object uses; an existing folder is never taken over.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = base + "hushmark-" + std::to_string(GetCurrentProcessId()) +
                                      "-" + std::to_string(gNextFolder++);
        const std::wstring wide = ToLongPath(candidate);
        if (!wide.empty() && CreateDirectoryW(wide.c_str(), nullptr)) {
            path_ = candidate;
            error_ = 0;
            return;
        }
        error_ = GetLastError();
        if (error_ != ERROR_ALREADY_EXISTS) {
            return;
        }
    }
}

ScratchFolder::~ScratchFolder() {
    if (path_.empty()) {
        return;
    }
    for (const std::string& name : names_) {
        for (const char* suffix : kCompanions) {
            RemoveFile(ToLongPath(path_ + "\\" + name + suffix));
        }
    }
    RemoveFolder(ToLongPath(path_));
}

std::uint32_t ScratchFolder::CopyIn(const std::string& from, const std::string& name) {
    if (path_.empty()) {
        return error_ != 0 ? error_ : ERROR_PATH_NOT_FOUND;
    }
    if (name.empty() || name.find_first_of("\\/:") != std::string::npos) {
        return kErrorInvalidName;
    }
    const std::wstring source = ToLongPath(from);
    const std::wstring target = ToLongPath(path_ + "\\" + name);
    if (source.empty() || target.empty()) {
        return kErrorInvalidName;
    }
    names_.push_back(name);
    return CopyFileW(source.c_str(), target.c_str(), TRUE) ? 0 : GetLastError();
}

}  // namespace hm::files
