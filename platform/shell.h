// Thin adapter over the shell services the cleaning items use: starting programs, the
// clipboard, the recycle bins and the recent-documents list. Every call reports the Win32
// error code it ended with (0 for success).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/handles.h"

namespace hm::shell {

inline constexpr int kShowHidden = 0;     // SW_HIDE
inline constexpr int kShowMinimized = 2;  // SW_SHOWMINIMIZED

// Starts the command line (its first word names the program, as for the Run box); process
// receives the new process when the caller wants to watch it.
std::uint32_t StartProgram(const std::string& commandLine, int show, ScopedHandle& process);
// Whether the program the command line names can be found where starting it would look.
std::uint32_t FindProgram(const std::string& commandLine);
// Waits up to the given time; true once the process has ended.
bool WaitForEnd(const ScopedHandle& process, unsigned milliseconds);

// Sends the keystrokes to the process's window once it is the active window, waiting for each
// to be taken. Waits up to the given time for that; false (nothing sent) when no window of the
// process became active, so that no keystroke ever reaches another program. whileWaiting lets
// the caller's window events run.
bool SendKeysToProcessWindow(const ScopedHandle& process, const std::vector<unsigned short>& keys,
                             unsigned timeoutMilliseconds, const std::function<void()>& whileWaiting);

std::uint32_t EmptyTheClipboard();
// Empties the recycle bins of all drives without asking.
std::uint32_t EmptyRecycleBins();
// Asks the shell to forget its recently used documents.
std::uint32_t ClearRecentDocuments();

}  // namespace hm::shell
