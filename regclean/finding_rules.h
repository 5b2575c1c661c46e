// What a scan reports and what fixing a finding changes, as plain data; the few rules about them
// that need no registry: category names, the command line's one-line form, the rewritten MRU
// order of an "Open with" list, and the names of backup files.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace hm::regclean {

enum class Category { SharedDll, AppPath, Run, MuiCache, OpenWith, Uninstall, FileType };

inline constexpr std::array<Category, 7> kCategories = {
    Category::SharedDll, Category::AppPath,   Category::Run,     Category::MuiCache,
    Category::OpenWith,  Category::Uninstall, Category::FileType};

// "shared-dll", "app-path", ...: the command line's first column.
std::string_view CategoryId(Category category);
// "Shared DLLs", "App Paths", ...: the window's first column.
std::string_view CategoryTitle(Category category);
// Every category but the uninstall entries, which name programs the user may still want to
// reinstall over, starts ticked.
bool TickedByDefault(Category category);

// One registry change of a fix. Every change removes something, or (DropMruLetter) rewrites the
// "MRUList" value of the key without one letter, so that the list no longer names the value
// removed beside it.
struct Change {
    enum class Kind { DeleteValue, DeleteKey, DropMruLetter };
    Kind kind = Kind::DeleteValue;
    std::string key;    // full path, "HKEY_CURRENT_USER\..."
    std::string value;  // DeleteValue: the name; DropMruLetter: the letter
    bool operator==(const Change&) const = default;
};

struct Finding {
    Category category = Category::Run;
    std::string key;       // full path of the key holding the entry (or the key that is the entry)
    std::string value;     // the value's name; empty when the whole key is the entry
    std::string pointsAt;  // the file or program it names
    std::string reason;    // why it is judged broken
    std::vector<Change> changes;
    bool operator==(const Finding&) const = default;
};

// category id, key, value, points-at, TAB-separated; control characters shown as blanks.
std::string FindingLine(const Finding& finding);

// The text of an MRU order without the letter; the same bytes when the letter is absent.
// Works on the raw UTF-16 bytes so that everything else about the value stays as it was.
std::string MruWithout(std::string_view data, char letter);

// "Registry backup 2026-12-08 09-41-07.reg", then " (2)" and up for later tries in one second.
std::string BackupFileName(int year, int month, int day, int hour, int minute, int second,
                           int attempt);

}  // namespace hm::regclean
