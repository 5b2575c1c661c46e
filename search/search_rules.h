// The name rules of the search-and-erase window: how a pattern text splits into patterns, which
// file names a pattern finds, which paths are never listed, and how entries and the summary
// read. No system calls here, so the window, the command line and the fuzzer share one
// definition of each. Text is UTF-8; lengths are counted in UTF-16 units, as the file system
// counts a name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hm::search {

// One piece of the pattern text between ";" with one leading and one trailing star taken off.
// A star anywhere else is a literal character, and a piece with no star at either end names
// one file exactly.
struct NamePattern {
    std::string text;        // as typed, without the two end stars
    std::string upper;       // UpperCase(text)
    std::size_t length = 0;  // UTF-16 units of text
    bool leadingStar = false;
    bool trailingStar = false;
    bool IsExactName() const { return !leadingStar && !trailingStar; }
};

NamePattern ParsePattern(std::string_view piece);

// The text split at every ";"; an empty piece between two ";" is an empty pattern, which finds
// nothing.
std::vector<NamePattern> ParsePatterns(std::string_view patternText);

// Upper case as the file system compares names: ASCII, Latin-1, Latin Extended-A, Greek and
// Cyrillic letters; every other character stays as it is. Invalid UTF-8 bytes stay as they are.
std::string UpperCase(std::string_view utf8);

std::size_t Utf16Length(std::string_view utf8);

// A wildcard pattern finds a name that is longer than the pattern and, compared in upper case,
// contains it (stars at both ends), ends with it (leading star) or begins with it (trailing star).
// An exact-name pattern finds nothing here: it is looked up once per folder (FolderMatcher).
bool WildcardFinds(const NamePattern& pattern, std::string_view upperName, std::size_t nameLength);

// An exact-name pattern names a file of the folder only when it is a plain name: no folder
// separator, drive colon or wildcard, and not "." or "..", so that it can never reach outside the
// folder being searched.
bool IsPlainFileName(std::string_view name);

// Paths that are never listed: the Recycle Bin's own "Recycled" folders (these letters exactly)
// and the Windows 9x swap file "WIN386.SWP" in any case.
bool IsExcludedPath(std::string_view fullPath);

// The path with a "\" at its end.
std::string AddBackslash(std::string_view path);

// One list entry for a file found by a wildcard pattern.
std::string WildcardEntry(std::string_view path, std::uint64_t size, std::string_view dateText);

// total bytes / 1000 as decimal text: "1.5", "0.001", "12".
std::string KilobyteText(std::uint64_t bytes);

// What one search found, pattern by pattern, and the summary the status line shows after it.
class PatternSet {
public:
    explicit PatternSet(std::string_view patternText);

    const std::vector<NamePattern>& patterns() const { return patterns_; }
    const std::vector<std::size_t>& counts() const { return counts_; }

    // One entry to list, in list order: a file of the folder found by a wildcard pattern, or the
    // file an exact-name pattern names (its first sighting in the search).
    struct Hit {
        std::size_t pattern = 0;
        std::size_t file = 0;  // index into the folder's names
        bool exactName = false;
    };

    // Tests the files of one folder (folder ends with "\") in order. A file is listed once, for
    // the first pattern that finds it; an exact-name pattern is reported once per search, at the
    // first folder holding that file outside the excluded paths. stopRequested is asked after
    // each file that no pattern found; once it says yes the scan ends and returns false.
    bool ScanFolder(std::string_view folder, std::span<const std::string> names,
                    const std::function<void(const Hit&)>& onHit,
                    const std::function<bool()>& stopRequested);

    // The status line after a search: the number of entries, "  Files Found  ", then per pattern
    // four blanks, the pattern without its end stars, " - " and its count; on a second line
    // "Total size: " and the kilobytes (KilobyteText) with "kb".
    std::string Summary(std::size_t entries, std::uint64_t totalBytes) const;

private:
    std::vector<NamePattern> patterns_;
    std::vector<std::size_t> counts_;
    std::vector<bool> exactFound_;
};

}  // namespace hm::search
