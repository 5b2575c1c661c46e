// A private work folder below the user's temp folder, for copies the program makes to look at
// or try something without touching the original. The folder and the copies made through it
// (with any log files SQLite left beside them) go when the object does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hm::files {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // 0 when the folder was made; else the system's error.
    std::uint32_t error() const { return error_; }
    const std::string& path() const { return path_; }

    // Copies a file into the folder under the given name; the copy goes with the folder.
    std::uint32_t CopyIn(const std::string& from, const std::string& name);

private:
    std::string path_;
    std::vector<std::string> names_;
    std::uint32_t error_ = 0;
};

}  // namespace hm::files
