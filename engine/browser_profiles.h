// The profiles of today's browsers as they are on this disk: profiles.ini and the data folders
// read through the file adapter, the choice made by the pure rules beside them. A profile whose
// folder is missing or is a link (junction, symbolic link) is left out.
#pragma once

#include <string>
#include <vector>

#include "engine/browsers.h"

namespace hm::browsers {

struct FoundProfile {
    std::string name;    // as the browser shows it
    std::string folder;  // the profile folder
    // Where the browser keeps this profile's cache; the profile folder itself when it keeps it
    // inside.
    std::string cacheFolder;
};

// roaming and local are the user's application-data folders (...\AppData\Roaming and \Local).
std::vector<FoundProfile> FindFirefoxProfiles(const std::string& roaming, const std::string& local);
std::vector<FoundProfile> FindChromiumProfiles(const ChromiumBrowser& browser,
                                               const std::string& roaming,
                                               const std::string& local);

}  // namespace hm::browsers
