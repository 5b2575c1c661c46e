// Today's browsers, as data: where each keeps its profiles and what its main program is called.
// Paths are below the user's application-data folders and hold no leading backslash.
#pragma once

#include <span>

namespace hm::browsers {

enum class Root {
    LocalAppData,    // ...\AppData\Local
    RoamingAppData,  // ...\AppData\Roaming
};

struct ChromiumBrowser {
    const char* key;  // the browser's own short name, for settings and the command line
    const char* name;
    Root root;
    // The data folder: "User Data", whose sub-folders are the profiles, or for Opera the one
    // profile folder itself.
    const char* dataFolder;
    // Opera keeps its cache apart, under the same path below the local folder; the others keep
    // it inside each profile (null).
    const char* localCacheFolder;
    const char* executable;  // the file name of its main program
    // A part of the main program's full path that tells this browser from another whose program
    // has the same file name (Chrome and Chromium both run chrome.exe), matched ignoring case;
    // it starts and ends with a backslash.
    const char* installMarker;
};

// Chrome, Edge, Brave, Vivaldi, Chromium, Opera and Opera GX, in that order.
std::span<const ChromiumBrowser> ChromiumBrowsers();

struct FirefoxLocations {
    const char* profilesFolder;  // below the roaming folder; holds profiles.ini
    const char* cacheFolder;     // below the local folder; relative profiles' caches
    const char* executable;
    const char* installMarker;  // as ChromiumBrowser's
};
const FirefoxLocations& Firefox();

}  // namespace hm::browsers
