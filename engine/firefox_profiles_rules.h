// Firefox's profiles.ini read as Firefox writes it, with no system call: which profile folders
// exist and which of them an installation starts by default.
//
// A profile is named by a [ProfileN] section: Path= with IsRelative=1 lies below the Firefox
// folder (the folder holding profiles.ini); with IsRelative=0 it is an absolute path anywhere,
// as a portable or moved profile is. [InstallXXXX] sections (one per installation) name their
// default profile by the same Path text. Only what is safe to clean is kept: a relative path that
// stays below the Firefox folder, an absolute path on a local drive; never a network or device
// path, never a name Windows would read as another (trailing dots or blanks, streams, "..").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hm::firefox {

struct Profile {
    std::string section;  // "Profile0", as written
    std::string name;     // Name=, possibly empty
    // The profile folder: absolute, with backslashes, no trailing backslash.
    std::string folder;
    // Below the Firefox folder ("Profiles\abc.default-release") for a relative profile; empty for
    // an absolute one.
    std::string relativePath;
    // Default=1 in its section, or the default of an [Install...] section.
    bool isDefault = false;
};

struct Refusal {
    std::string section;
    std::string path;  // Path= as written
    std::string reason;
};

struct ProfilesIni {
    std::vector<Profile> profiles;  // in the order of their section numbers, each folder once
    std::vector<Refusal> refused;
};

// firefoxFolder is the absolute folder holding profiles.ini (below the roaming application-data
// folder); when it is not absolute, no relative profile is kept.
ProfilesIni ReadProfilesIni(std::string_view text, std::string_view firefoxFolder);

// Where Firefox keeps a profile's cache: the same relative path below the local Firefox folder
// ("...\AppData\Local\Mozilla\Firefox"); an absolute profile keeps its cache inside itself.
std::string CacheFolderOf(const Profile& profile, std::string_view localFirefoxFolder);

}  // namespace hm::firefox
