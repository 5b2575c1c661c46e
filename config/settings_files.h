// What the custom items list of the clean-items dialog shows of a file or folder on disk.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace hm {

struct CustomItemFacts {
    bool exists = false;  // as a file or as a folder
    bool isFolder = false;
    // The file's size, or the total size of every file below the folder; none when unreadable.
    std::optional<std::uint64_t> size;
    // The last-modified date and time as the system's default date text; empty when unreadable.
    std::string modified;
};

// Only a full path names an item: a relative one would depend on the current folder.
CustomItemFacts LookAtCustomItem(const std::string& path);

}  // namespace hm
