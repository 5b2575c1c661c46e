#include "platform/drives.h"

#include <windows.h>

#include <string>

namespace hm::files {

bool IsOnNetworkDrive(std::string_view path) {
    const bool driveLetter =
        path.size() >= 3 && path[1] == ':' && path[2] == '\\' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (!driveLetter) {
        return true;
    }
    const wchar_t root[] = {static_cast<wchar_t>(path[0]), L':', L'\\', 0};
    const UINT type = GetDriveTypeW(root);
    return type != DRIVE_FIXED && type != DRIVE_REMOVABLE && type != DRIVE_RAMDISK &&
           type != DRIVE_CDROM;
}

}  // namespace hm::files
