#include "keeplists/keep_lists.h"

#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm {
namespace {

// A keep list is typed in by hand; a larger file is not one of ours.
constexpr std::uint64_t kLargestKeepList = 16ull * 1024 * 1024;

std::vector<std::string> ReadLines(const std::string& file) {
    std::string bytes;
    if (files::ReadWholeFile(file, kLargestKeepList, bytes) != 0) {
        return {};
    }
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(FromAnsi(line));
        start = end + 1;
    }
    return lines;
}

}  // namespace

std::vector<std::string> KeepListFiles::KeptAddresses() {
    return ReadLines(JoinPath(programFolder_, "keepurl.dat"));
}

std::vector<std::string> KeepListFiles::KeptCookies() {
    return ReadLines(JoinPath(programFolder_, "keepcook.dat"));
}

}  // namespace hm
