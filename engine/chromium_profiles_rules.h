// Which folders of a Chromium-family browser are profiles, with no system call: the caller lists
// the browser's data folder ("User Data" for most, "Opera Stable" for Opera), and these rules pick
// the profiles and their names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hm::chromium {

// One entry of the data folder, as the caller found it on the disk.
struct FolderEntry {
    std::string name;
    bool isFolder = false;
    bool isLink = false;          // a junction or symbolic link: its contents belong elsewhere
    bool hasPreferences = false;  // a "Preferences" file directly inside it
};

struct Profile {
    // Below the data folder ("Default", "Profile 1"); empty for the data folder itself, where
    // Opera keeps its one profile.
    std::string folderName;
    // The name the user gave it in the browser (Local State), else the folder's name (empty for
    // the data folder itself).
    std::string displayName;
};

// A name the enumeration could give for a sub-folder of its own (not ".", "..", nor a path).
bool IsPlainFolderName(const std::string& name);

// A profile is a folder holding a "Preferences" file: the data folder itself when it holds one,
// and each of its sub-folders that does and is not a link. Names come from Local State's
// profile.info_cache (text that is not JSON, or lacks them, leaves the folder names). Order: the
// data folder, "Default", "Profile N" by N, then the others by name.
std::vector<Profile> FindProfiles(bool dataFolderHasPreferences,
                                  const std::vector<FolderEntry>& entries,
                                  std::string_view localStateJson);

// The addresses of every bookmark in a profile's "Bookmarks" file (JSON: "roots" holding folders
// of nodes, each of type "url" with its "url", or "folder" with "children"), in file order. Text
// that is not JSON, or deeper than any real bookmark tree, gives what was read before it.
std::vector<std::string> BookmarkedUrls(std::string_view bookmarksJson);

}  // namespace hm::chromium
