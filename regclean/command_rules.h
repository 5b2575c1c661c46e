// What a command line or path in the registry names, read the way Windows reads it: quoted and
// unquoted program paths with arguments, rundll32 and msiexec command lines. The candidates are
// every file the text could mean; judge_rules.h decides whether they exist.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hm::regclean {

// What kind of thing a command line names; it decides the reason shown.
enum class TargetKind { Program, RundllLibrary, MsiPackage, File, Folder };

struct Target {
    bool judgeable = false;  // false: the line names nothing whose absence this program can prove
    TargetKind kind = TargetKind::Program;
    std::string shown;                    // what the entry points at, for people
    std::vector<std::string> candidates;  // the thing exists when any of these does
};

// The program an already expanded command line starts; for rundll32 the library it is given,
// for msiexec the package file (a product code names no file: not judgeable).
Target CommandTarget(std::string_view line);
// A plain path without arguments, perhaps in quotes.
Target PathTarget(std::string_view path, TargetKind kind = TargetKind::File);

// Removes leading and trailing blanks and tabs.
std::string_view TrimSpace(std::string_view text);
// ASCII-only case-insensitive comparison of two texts.
bool SameText(std::string_view a, std::string_view b);
bool StartsWithText(std::string_view text, std::string_view prefix);
bool EndsWithText(std::string_view text, std::string_view suffix);

}  // namespace hm::regclean
