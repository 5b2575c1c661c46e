// The rules of the general routines, free of any system call so that they can be checked on
// their own: the profile-folder expansion, the naming of the Office generation, and the
// splitting of a multi-file selection.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/office_probe.h"

namespace hm {

// The text after the first "%USERPROFILE%" appended to the profile folder (whatever came
// before the token is dropped); text without the token comes back unchanged.
std::string ExpandUserProfile(std::string_view text, std::string_view userProfile);

// "Office97", "Office2000", "Office2002", "Office2003", "Office2007", "Office2010", "NoOffice"
// when the object could not be created, or the empty text for a generation not in the list.
// The version is tested by substring in that order, so "12.0.8" still reads as Office97.
std::string OfficeGenerationOf(const OfficeProbeResult& probe);

// The open-file dialog's answer split into its parts.
struct FileSelection {
    int count = 0;
    std::string folder;              // always ends with "\"
    std::vector<std::string> names;  // count names, in the dialog's order
};

// dialogText is what the dialog returned; currentFolder is the process's current folder after
// the dialog, which the dialog leaves at the chosen folder. The dialog's text starts with that
// folder (as many characters as it has), followed either by one name or by NUL-separated names.
FileSelection ParseFileSelection(std::string_view dialogText, std::string_view currentFolder);

}  // namespace hm
