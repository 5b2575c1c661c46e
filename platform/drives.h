// What kind of drive a path lies on.
#pragma once

#include <string_view>

namespace hm::files {

// True when the path names a network share or lies on a drive letter mapped to one, or when the
// kind of its drive cannot be told; false for local disks and removable drives.
bool IsOnNetworkDrive(std::string_view path);

}  // namespace hm::files
