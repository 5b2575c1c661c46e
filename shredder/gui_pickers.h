// The system's pickers for what to shred. A picked shortcut is the shortcut itself, never the
// file it points to, and nothing picked is added to the recent-files lists.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace hm {

// Full paths of the files picked; none when the user cancels.
std::vector<std::string> PickFiles(HWND owner);

// The folder picked; nothing when the user cancels.
std::optional<std::string> PickFolder(HWND owner);

}  // namespace hm
