// Feeds arbitrary bytes to the readers of the browsers' own files, profiles.ini, Local State and
// Bookmarks:
// whatever the file says, a Firefox profile folder is an absolute local path or lies below the
// Firefox folder, never climbs out of it, and the Chromium profiles are plain sub-folders.
// Build with clang's libFuzzer (scripts/fuzz); a broken invariant aborts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/chromium_profiles_rules.h"
#include "engine/firefox_profiles_rules.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool HasDotDotPart(std::string_view path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        if (path.substr(start, end - start) == "..") {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string firefox = "C:\\Users\\Ann\\AppData\\Roaming\\Mozilla\\Firefox";
    for (const hm::firefox::Profile& profile :
         hm::firefox::ReadProfilesIni(text, firefox).profiles) {
        const std::string& folder = profile.folder;
        Require(folder.size() > 3 && folder[1] == ':' && folder[2] == '\\');
        Require(folder.find('/') == std::string::npos && !HasDotDotPart(folder));
        Require(folder.find(':', 2) == std::string::npos);
        if (!profile.relativePath.empty()) {
            Require(folder == firefox + "\\" + profile.relativePath);
        }
    }
    std::vector<hm::chromium::FolderEntry> entries = {{"Default", true, false, true},
                                                      {"..", true, false, true}};
    for (const hm::chromium::Profile& profile : hm::chromium::FindProfiles(true, entries, text)) {
        Require(profile.folderName.empty() || profile.folderName == "Default");
    }
    // A bookmarks file of any depth or shape is read without running out of stack.
    for (const std::string& url : hm::chromium::BookmarkedUrls(text)) {
        Require(text.find(url.substr(0, 1)) != std::string_view::npos || url.empty());
    }
    return 0;
}
