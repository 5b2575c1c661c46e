#include "search/extention_handller.h"

#include <windows.h>
#include <shellapi.h>

#include <atomic>

#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/text.h"
#include "search/extension_rules.h"

namespace hm::ExtentionHandller {
namespace {

// Far more than any list a person types; a bigger file is not an extension list.
constexpr std::uint64_t kLargestList = 4u << 20;

std::string ListPath(const std::string& programFolder) {
    return JoinPath(programFolder, search::kExtensionListName);
}

// 0 when read; the file system's error otherwise (kErrorFileNotFound for a missing list).
std::uint32_t ReadList(const std::string& programFolder, std::string& text) {
    std::string bytes;
    const std::uint32_t error = files::ReadWholeFile(ListPath(programFolder), kLargestList, bytes);
    if (error == 0) {
        text = FromAnsi(bytes);
    }
    return error;
}

// The new list goes into a file of its own beside Ext.txt and then takes its place, so that an
// interrupted write never leaves a half list, and no scratch file of an earlier run can become
// part of the new one.
void ReplaceList(const std::string& programFolder, const std::string& text) {
    static std::atomic<unsigned> serial{0};
    const std::string target = ListPath(programFolder);
    const std::string scratch = target + "." + std::to_string(GetCurrentProcessId()) + "-" +
                                std::to_string(GetTickCount()) + "-" + std::to_string(serial++) +
                                ".new";
    if (files::WriteWholeFile(scratch, ToAnsi(text)) != 0) {
        files::RemoveFile(files::ToLongPath(scratch));
        return;
    }
    if (!MoveFileExW(files::ToLongPath(scratch).c_str(), files::ToLongPath(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        files::RemoveFile(files::ToLongPath(scratch));
    }
}

}  // namespace

bool IsValidExtension(std::string_view text) {
    return search::IsValidExtension(text);
}

std::string ReadExtensionPatterns(const std::string& programFolder) {
    std::string text;
    return ReadList(programFolder, text) == 0 ? search::PatternTextOf(text) : std::string();
}

std::vector<std::string> ReadExtensionList(const std::string& programFolder) {
    std::string text;
    return ReadList(programFolder, text) == 0 ? search::ValidExtensionLines(text)
                                              : std::vector<std::string>();
}

void AppendExtension(const std::string& programFolder, std::string_view text) {
    // A list that exists but cannot be read (in use, too large) must not be replaced by the new
    // line alone.
    std::string list;
    const std::uint32_t error = ReadList(programFolder, list);
    if (error == 0 || error == files::kErrorFileNotFound) {
        ReplaceList(programFolder, search::WithExtensionAppended(list, text));
    }
}

void WriteDefaultExtensions(const std::string& programFolder) {
    ReplaceList(programFolder, search::DefaultExtensionsText());
}

void RemoveExtension(const std::string& programFolder, std::string_view selected) {
    std::string list;
    if (ReadList(programFolder, list) == 0) {
        ReplaceList(programFolder, search::WithoutExtension(list, selected));
    }
}

void RecycleFile(const std::string& path) {
    // The shell takes neither the "\\?\" form nor a relative path, which it would resolve
    // against whatever the current folder happens to be.
    if (!IsAbsolutePath(path)) {
        return;
    }
    const std::wstring from = Widen(path) + L'\0';  // the list ends with a second NUL
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    // Silent, no confirmation, to the Recycle Bin; and no error box, since nothing is reported.
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI;
    SHFileOperationW(&operation);
}

}  // namespace hm::ExtentionHandller
