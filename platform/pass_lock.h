// One cleaning pass at a time per program folder, across processes: the window, the command
// line, a scheduled or start-up pass. Two passes at once would each rewrite the settings file
// they share and could leave it scrambled.
#pragma once

#include <string>

#include "platform/handles.h"

namespace hm {

class PassLock {
public:
    PassLock() = default;
    PassLock(const PassLock&) = delete;
    PassLock& operator=(const PassLock&) = delete;
    ~PassLock() { Release(); }

    // Waits up to the given time for the folder's lock; true once this process holds it.
    bool Acquire(const std::string& programFolder, unsigned waitMilliseconds);
    void Release();
    bool held() const { return held_; }

private:
    ScopedHandle mutex_;
    bool held_ = false;
};

// The name of the lock for a program folder: two spellings of one folder give one name.
std::wstring PassLockName(const std::string& programFolder);

}  // namespace hm
