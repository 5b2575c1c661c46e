// What a previewed pass has taken away so far, so that its later steps see the world as the real
// pass would see it at that point.
//
// File paths are compared exactly: the walk forms them from the names the file system lists,
// below starting folders spelled as they are stored, and two names that differ only in letter
// case can be two folders (on Linux, and on Windows folders with case sensitivity switched on).
// Registry keys, values and profile sections are compared without regard to case, as the system
// compares them.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/regfun.h"

namespace hm {

class PreviewLedger {
public:
    // Files and folders.
    bool IsGone(std::wstring_view path) const;
    bool IsEmptied(std::wstring_view folder) const;
    void MarkGone(std::wstring_view path);
    // The folder is made again, empty: what was in it is gone, the folder itself is there.
    void MarkEmptied(std::wstring_view folder);

    // Registry.
    bool IsKeyGone(RootKey root, std::string_view subKey) const;
    bool IsKeyRemade(RootKey root, std::string_view subKey) const;
    bool IsValueGone(RootKey root, std::string_view subKey, std::string_view value) const;
    void MarkKeyGone(RootKey root, std::string_view subKey);
    void MarkKeyRemade(RootKey root, std::string_view subKey);
    void MarkValueGone(RootKey root, std::string_view subKey, std::string_view value);
    void MarkValueWritten(RootKey root, std::string_view subKey, std::string_view value);

    // Profile-file sections.
    bool IsSectionGone(std::wstring_view file, std::string_view section) const;
    void MarkSectionGone(std::wstring_view file, std::string_view section);

private:
    // The path or one of the folders (keys) above it is in `gone`, or one above it in `emptied`.
    static bool Covered(const std::wstring& key, const std::unordered_set<std::wstring>& gone,
                        const std::unordered_set<std::wstring>& emptied);

    std::unordered_set<std::wstring> goneFiles_;
    std::unordered_set<std::wstring> emptiedFolders_;
    std::unordered_set<std::wstring> goneKeys_;
    std::unordered_set<std::wstring> remadeKeys_;
    std::unordered_set<std::wstring> goneValues_;
    std::unordered_set<std::wstring> writtenValues_;
    std::unordered_set<std::wstring> goneSections_;
};

}  // namespace hm
