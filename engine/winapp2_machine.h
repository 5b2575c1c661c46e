// The machine as community cleaning rules see it: what their variables stand for, the folders no
// rule may empty widely, and the files and folders a path with wildcards reaches.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

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
    std::vector<std::string> protected_;
};

// The path with long names for short ones, letters in lower case (as the system compares them),
// normalised; for comparing folders.
std::string Winapp2Canonical(std::string_view path);

struct Winapp2Reach {
    std::vector<std::string> paths;  // existing entries the path names, at most a few thousand
    std::string link;                // the first link met on a named part; never passed
};
// The existing files and folders a full, expanded path reaches, its wildcard parts matched
// against each folder's entries. Links are never passed: a link that a wildcard matches is
// skipped, one a named part names stops that path and is reported. foldersOnly: the last part
// names folders only.
Winapp2Reach ReachWinapp2Path(const std::string& path, bool foldersOnly);

// Whether the key is there, in either registry view of a 64-bit system.
bool Winapp2KeyExists(RootKey root, const std::string& subKey);

}  // namespace hm
