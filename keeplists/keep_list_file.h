// The keep-list files on disk: plain text in the system's ANSI code page, one entry per line,
// each line ended by CR LF. Paths and entries are UTF-8 here. Every routine opens, uses and
// closes its file within the call.
//
// Routines that change a file return the Win32 error code they ended with (0 for success).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hm {

// The lists are typed and picked by hand; anything larger is not one of ours and reads as empty.
inline constexpr std::uint64_t kLargestKeepListBytes = 16ull * 1024 * 1024;

// program folder & "\keepurl.dat" and & "\keepcook.dat".
std::string UrlKeepListPath(std::string_view programFolder);
std::string CookieKeepListPath(std::string_view programFolder);

// The file's lines exactly as stored (the cookie sweep compares them untrimmed). A missing,
// unreadable or oversized file is an empty list.
std::vector<std::string> ReadKeepListLines(const std::string& file);
// The same lines right-trimmed, as the dialogs list them and as the typed-address rewrite
// writes them back.
std::vector<std::string> ReadKeepListEntries(const std::string& file);

// Adds one entry, right-trimmed, as the last line; creates the file when it is missing. A last
// line typed without its line end gets one first, so the new entry never joins it.
std::uint32_t AppendKeepListEntry(const std::string& file, std::string_view entry);

// Replaces the whole list (the empty list leaves a file of zero bytes). The new text goes to
// KeepListTemporaryPath(file) first and then takes the list's place in one move, so a crash or a
// failed write leaves the previous list whole; a temporary file left over by such a crash is
// overwritten by the next rewrite and never read.
std::uint32_t RewriteKeepList(const std::string& file, std::span<const std::string> entries);
std::string KeepListTemporaryPath(const std::string& file);

// The full paths (folder & "\" & name) of the cookie files directly in the folder, ordered by
// name without regard to case. Sub-folders are not searched. Empty when the folder is not an
// absolute path of an existing folder (a failed lookup answers a relative text such as "Error").
std::vector<std::string> ListCookieFiles(const std::string& folder);

}  // namespace hm
