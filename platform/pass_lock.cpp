#include "platform/pass_lock.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>

#include "platform/files.h"
#include "platform/text.h"

namespace hm {

std::wstring PassLockName(const std::string& programFolder) {
    std::wstring folder = files::ToLongPath(programFolder);
    if (folder.empty()) {
        folder = Widen(programFolder);
    }
    if (!folder.empty()) {
        CharUpperBuffW(folder.data(), static_cast<DWORD>(folder.size()));
    }
    // Kernel object names may not hold backslashes, and a path can be longer than a name may
    // be: the folder is named by a 64-bit FNV-1a hash of its upper-cased full path.
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t c : folder) {
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    }
    wchar_t name[64];
    std::swprintf(name, 64, L"Global\\Hushmark.Pass.%016llx",
                  static_cast<unsigned long long>(hash));
    return name;
}

bool PassLock::Acquire(const std::string& programFolder, unsigned waitMilliseconds) {
    Release();
    ScopedHandle mutex(CreateMutexW(nullptr, FALSE, PassLockName(programFolder).c_str()));
    if (!mutex.valid()) {
        // The lock exists but belongs to another user's pass: as busy as a pass of our own.
        return false;
    }
    const DWORD waited = WaitForSingleObject(mutex.get(), waitMilliseconds);
    // An abandoned lock was held by a pass that ended without letting go; it is ours now.
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        return false;
    }
    mutex_ = std::move(mutex);
    held_ = true;
    return true;
}

void PassLock::Release() {
    if (held_) {
        ReleaseMutex(mutex_.get());
        held_ = false;
    }
    mutex_.Reset();
}

}  // namespace hm
