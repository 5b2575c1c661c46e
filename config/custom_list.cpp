#include "config/custom_list.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/files.h"
#include "platform/handles.h"
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
    const std::wstring target = IsAbsolutePath(file) ? files::ToLongPath(file) : std::wstring();
    if (target.empty()) {
        return false;
    }
    // Truncating the list and then writing it would lose it to a crash or a full disk half way
    // through. The new list is written beside it, in the same folder so that it is on the same
    // volume, and takes its place in one step; until then the old one stays whole.
    // A list the user made read-only stays as it is, as it would were it rewritten in place.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return false;
    }
    const std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const std::string bytes = ToAnsi(FormatCustomList(items));
    bool written = false;
    {
        const ScopedHandle out(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        written = out.valid();
        std::size_t done = 0;
        while (written && done < bytes.size()) {
            DWORD put = 0;
            written = WriteFile(out.get(), bytes.data() + done,
                                static_cast<DWORD>(bytes.size() - done), &put, nullptr) &&
                      put > 0;
            done += put;
        }
        written = written && FlushFileBuffers(out.get());
    }
    if (written && MoveFileExW(temporary.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileW(temporary.c_str());
    return false;
}

}  // namespace hm
