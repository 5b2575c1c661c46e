// Text rules of the two keep lists (typed addresses in "keepurl.dat", cookie files in
// "keepcook.dat"), free of any system call so that the dialogs, the file routines and the pass
// share one definition of each.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hm {

inline constexpr const char* kUrlKeepListName = "keepurl.dat";
inline constexpr const char* kCookieKeepListName = "keepcook.dat";

// The text without its trailing blanks (spaces only: a tab is part of the entry).
std::string_view RightTrim(std::string_view text);

// The lines of a keep-list file. A line ends at CR LF; a lone LF or CR (a list typed in another
// editor) ends it too. A last line without an end still counts; an end at the very end of the
// text starts no further line. Empty lines are entries like any other. Lines are not trimmed.
std::vector<std::string> SplitKeepListLines(std::string_view text);

// The same lines, each right-trimmed, as the dialogs show them.
std::vector<std::string> RightTrimmedLines(std::string_view text);

// One entry as a line of the file: right-trimmed, ended by CR LF.
std::string FormatKeepListLine(std::string_view entry);
// A whole list, one line per entry in list order; the empty list is the empty text.
std::string FormatKeepList(std::span<const std::string> entries);

// Text to append after the existing bytes so that the next line starts on a line of its own:
// CR LF when the file's last line has no end, else nothing.
std::string_view SeparatorBeforeAppend(std::string_view existingTail);

// A file in the cookie folder is a cookie when its name holds ".txt" anywhere, in these very
// letters (".TXT" alone does not count).
bool IsCookieFileName(std::string_view name);

// The pass spares a cookie file when its full path equals one line of the keep list character
// for character, case included. An empty list spares nothing.
bool IsKeptCookie(std::string_view fullPath, std::span<const std::string> keptLines);

// The entries left when those at the given indices are removed, in their order. Indices outside
// the list are ignored.
std::vector<std::string> WithoutIndices(std::span<const std::string> entries,
                                        std::span<const int> removed);

// Pixels added to each entry's measured text width for a list box's horizontal scroll extent.
inline constexpr int kListTextPadding = 8;
// The horizontal extent a list box needs: its widest entry's text width plus the padding, or 0
// for an empty list.
int ListTextWidthFromWidths(std::span<const int> textWidths);

// File text for a read-only multi-line edit box: every line end (CR LF, LF or CR) becomes CR LF,
// which is the only one the box breaks lines at, and NUL characters, which would end the box's
// text early, become blanks.
std::string TextForEditBox(std::string_view text);

}  // namespace hm
