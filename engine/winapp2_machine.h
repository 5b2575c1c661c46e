// The machine as community cleaning rules see it: what their variables stand for, the folders no
// rule may empty widely, and the files and folders a path with wildcards reaches.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/regfun.h"

namespace hm {

class Winapp2Machine {
public:
    // The variables from the shell's known folders and this process's environment.
    Winapp2Machine();

    // Makes a variable stand for other folders (the tests aim the rules at throwaway folders).
    // Folders a protected variable stood for before stay protected, and the new ones are too.
    void SetVariable(const std::string& name, std::vector<std::string> folders);
    // A folder that no rule may empty or remove widely, besides those of the variables (the
    // program folder, for one).
    void Protect(const std::string& folder);

    // What %name% stands for (the name in lower case); empty when nothing.
    std::vector<std::string> Variable(const std::string& lowerName) const;
    // Lower case, long names, no trailing backslash.
    const std::vector<std::string>& ProtectedFolders() const { return protected_; }

private:
    void ProtectFolders(const std::string& lowerName, const std::vector<std::string>& folders);

    std::map<std::string, std::vector<std::string>> overrides_;
    // What the system said a variable stands for: asking it again costs more than a rule.
    mutable std::map<std::string, std::vector<std::string>> asked_;
    std::vector<std::string> protected_;
};

// The path with long names for short ones, letters in lower case (as the system compares them),
// normalised; for comparing folders.
std::string Winapp2Canonical(std::string_view path);

// Answers about files, folders and registry keys, kept: a listing of many rules asks about the
// same folders and keys again and again while nothing changes them, and most rules name entries
// of the same few folders and keys. A folder's entries and a key's sub-keys are read once; a
// pass, which changes them, asks afresh.
class Winapp2Lookups {
public:
    // As files::QueryInfo for the full path (no "\\?\" prefix).
    std::uint32_t QueryInfo(const std::string& path, files::Info& info);
    // As Winapp2KeyExists.
    bool KeyExists(RootKey root, const std::string& subKey);

private:
    struct Listing {
        bool read = false;  // false: the folder could not be read, ask for each entry
        std::unordered_map<std::string, files::Info> entries;  // by lower-case name
    };
    const Listing& ListingOf(const std::string& folder);
    bool KeyInView(RootKey root, const std::string& subKey, std::uint32_t view);

    std::unordered_map<std::string, Listing> listings_;
    // By view, root and lower-case key path: the lower-case names of the sub-keys, or nothing
    // when they could not be read.
    std::map<std::string, std::optional<std::vector<std::string>>> subKeys_;
    std::unordered_map<std::string, std::pair<std::uint32_t, files::Info>> answers_;
};

struct Winapp2Reach {
    std::vector<std::string> paths;  // existing entries the path names, at most a few thousand
    std::string link;                // the first link met on a named part; never passed
};
// The existing files and folders a full, expanded path reaches, its wildcard parts matched
// against each folder's entries. Links are never passed: a link that a wildcard matches is
// skipped, one a named part names stops that path and is reported. foldersOnly: the last part
// names folders only.
// lookups, when given, answers the questions about named parts.
Winapp2Reach ReachWinapp2Path(const std::string& path, bool foldersOnly,
                              Winapp2Lookups* lookups = nullptr);

// Whether the key is there, in either registry view of a 64-bit system.
bool Winapp2KeyExists(RootKey root, const std::string& subKey);

}  // namespace hm
