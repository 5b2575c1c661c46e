#include "config/custom_list.h"

#include <cstdint>

#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm {
namespace {

// Far beyond any list a user builds by hand; a larger file is not one of ours.
constexpr std::uint64_t kLargestListFile = 16ll * 1024 * 1024;

}  // namespace

std::string CustomListPath(const std::string& programFolder) {
    return JoinPath(programFolder, "cusd.dat");
}

bool ReadCustomListFile(const std::string& file, std::vector<CustomLine>& lines) {
    lines.clear();
    std::string bytes;
    if (!IsAbsolutePath(file) || files::ReadWholeFile(file, kLargestListFile, bytes) != 0) {
        return false;
    }
    lines = ParseCustomList(FromAnsi(bytes));
    return true;
}

std::vector<CustomLine> UsableCustomItems(const std::vector<CustomLine>& lines) {
    std::vector<CustomLine> usable;
    for (const CustomLine& line : lines) {
        if (!IsCustomFile(line) && !IsCustomFolder(line)) {
            continue;
        }
        // A relative path would be resolved against whatever the current folder happens to be;
        // the list only ever holds full paths picked in the dialog. A NUL would end the path
        // early at the API and name a different, shorter path.
        if (!IsAbsolutePath(line.path)) {
            continue;
        }
        files::Info info;
        if (files::QueryInfo(files::ToLongPath(line.path), info) != 0) {
            continue;
        }
        usable.push_back(line);
    }
    return usable;
}

bool WriteCustomListFile(const std::string& file, const std::vector<CustomLine>& items) {
    return IsAbsolutePath(file) && files::WriteWholeFile(file, ToAnsi(FormatCustomList(items))) == 0;
}

}  // namespace hm
